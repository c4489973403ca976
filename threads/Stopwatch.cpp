// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "threads/Stopwatch.h"

#include <chrono>
#include <utility>

std::int64_t Stopwatch::SteadyClockMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

Stopwatch::Stopwatch(Clock clock)
    : clock(std::move(clock))
{
}

void Stopwatch::Start()
{
    elapsed = 0;
    lastClock = clock();
    counting = true;
    paused = false;
}

void Stopwatch::Pause()
{
    if (!counting || paused)
        return;
    GetElapsedMs();
    paused = true;
}

void Stopwatch::Resume()
{
    if (!counting || !paused)
        return;
    lastClock = clock();
    paused = false;
}

void Stopwatch::Stop()
{
    if (!counting)
        return;
    GetElapsedMs();
    counting = false;
    paused = false;
}

std::uint32_t Stopwatch::GetElapsedMs()
{
    if (counting && !paused) {
        const std::int64_t now = clock();
        elapsed += static_cast<std::uint32_t>(now - lastClock);
        lastClock = now;
    }
    return elapsed;
}

double Stopwatch::GetSeconds()
{
    return static_cast<double>(GetElapsedMs()) * 0.001;
}
