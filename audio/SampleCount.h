// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <chrono>
#include <cstdint>

// The whole samples that a span of time holds at sampleRate, for any span a steady clock gives:
// whole seconds and the rest are counted apart, so that no product leaves 64 bits.
constexpr std::int64_t SampleCount(std::chrono::nanoseconds span, int sampleRate)
{
    constexpr std::int64_t PerSecond = 1'000'000'000;
    const std::int64_t nanoseconds = span.count();
    return nanoseconds / PerSecond * sampleRate + nanoseconds % PerSecond * sampleRate / PerSecond;
}
