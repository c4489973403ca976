// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <functional>

// Measures play time in whole milliseconds from a monotonic clock. The clock is read only
// after Start, so a stopwatch that was never started reads 0 without touching it. Time spent
// between Pause and Resume is not counted; after Stop the reading stays as it was for good.
class Stopwatch {
public:
    // Milliseconds from an arbitrary origin; must never go backwards.
    using Clock = std::function<std::int64_t()>;

    static std::int64_t SteadyClockMs();

    explicit Stopwatch(Clock clock = SteadyClockMs);

    void Start();
    // Each does nothing unless the stopwatch is in the state it leaves: Pause needs a counting
    // stopwatch, Resume a paused one, and Stop a started one.
    void Pause();
    void Resume();
    void Stop();
    bool IsCounting() const { return counting; }
    bool IsPaused() const { return paused; }
    // Wraps after 2^32 ms (about 49 days), as a 32-bit tick count does.
    std::uint32_t GetElapsedMs();
    double GetSeconds();

    std::uint32_t elapsed = 0;
    std::int64_t lastClock = 0;
    bool counting = false;
    bool paused = false;

private:
    Clock clock;
};
