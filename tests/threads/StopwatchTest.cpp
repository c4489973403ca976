// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "base/SecondsText.h"
#include "threads/Stopwatch.h"

#include <cstdint>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace {

struct FakeClock {
    std::int64_t now = 0;
    int reads = 0;

    Stopwatch::Clock Source()
    {
        return [this] {
            ++reads;
            return now;
        };
    }
};

} // namespace

TEST(Stopwatch, ReadsNoClockBeforeStart)
{
    FakeClock clock;
    clock.now = 5000;
    Stopwatch stopwatch(clock.Source());

    EXPECT_EQ(stopwatch.GetElapsedMs(), 0u);
    EXPECT_EQ(stopwatch.GetSeconds(), 0.0);
    EXPECT_EQ(clock.reads, 0);
}

TEST(Stopwatch, CountsMillisecondsSinceStart)
{
    FakeClock clock;
    clock.now = 1000;
    Stopwatch stopwatch(clock.Source());
    stopwatch.Start();

    EXPECT_EQ(stopwatch.GetElapsedMs(), 0u);
    clock.now = 1250;
    EXPECT_EQ(stopwatch.GetElapsedMs(), 250u);
    clock.now = 13345;
    EXPECT_EQ(stopwatch.GetElapsedMs(), 12345u);
    EXPECT_DOUBLE_EQ(stopwatch.GetSeconds(), 12.345);
    EXPECT_EQ(FormatSeconds(stopwatch.GetSeconds()), "12.3");
}

TEST(Stopwatch, StartAgainCountsFromZero)
{
    FakeClock clock;
    Stopwatch stopwatch(clock.Source());
    stopwatch.Start();
    clock.now = 9000;
    EXPECT_EQ(stopwatch.GetElapsedMs(), 9000u);

    stopwatch.Start();
    EXPECT_EQ(stopwatch.GetElapsedMs(), 0u);
    clock.now = 9100;
    EXPECT_EQ(stopwatch.GetElapsedMs(), 100u);
}

TEST(Stopwatch, TimeBetweenPauseAndResumeIsNotCounted)
{
    FakeClock clock;
    clock.now = 1000;
    Stopwatch stopwatch(clock.Source());
    stopwatch.Start();
    clock.now = 2230;
    stopwatch.Pause();
    EXPECT_TRUE(stopwatch.IsPaused());

    clock.now = 500000;
    EXPECT_EQ(stopwatch.GetElapsedMs(), 1230u);
    EXPECT_EQ(FormatSeconds(stopwatch.GetSeconds()), "1.2");
    stopwatch.Resume();
    EXPECT_FALSE(stopwatch.IsPaused());
    EXPECT_EQ(stopwatch.GetElapsedMs(), 1230u) << "play goes on from the reading of the pause";
    clock.now = 500100;
    EXPECT_EQ(stopwatch.GetElapsedMs(), 1330u);

    // A second pause counts the same way.
    stopwatch.Pause();
    clock.now = 600000;
    stopwatch.Resume();
    clock.now = 600070;
    EXPECT_EQ(stopwatch.GetElapsedMs(), 1400u);
}

TEST(Stopwatch, PauseResumeAndStopOutOfTurnChangeNothing)
{
    // Each step is an operation, or '+' for 100 ms passing.
    const struct {
        const char* steps;
        std::uint32_t expectedMs;
        bool paused;
    } cases[] = {
        {"p+r+", 0, false}, // before Start
        {"s+r+", 200, false}, // Resume while counting
        {"s+p+p+", 100, true}, // a second, later Pause
        {"s+x+r+", 100, false}, // Resume after Stop
        {"s+p+xr+", 100, false}, {"s+ps+", 100, false}, // Start while paused counts from zero
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.steps);
        FakeClock clock;
        Stopwatch stopwatch(clock.Source());
        for (const char* step = c.steps; *step; ++step) {
            switch (*step) {
            case 's': stopwatch.Start(); break;
            case 'p': stopwatch.Pause(); break;
            case 'r': stopwatch.Resume(); break;
            case 'x': stopwatch.Stop(); break;
            default: clock.now += 100;
            }
        }
        EXPECT_EQ(stopwatch.GetElapsedMs(), c.expectedMs);
        EXPECT_EQ(stopwatch.IsPaused(), c.paused);
    }
}

TEST(FormatSeconds, RoundsToOneDecimalLikePrintf)
{
    for (int ms = 0; ms <= 200000; ++ms) {
        const double seconds = ms * 0.001;
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.1f", seconds);
        ASSERT_EQ(FormatSeconds(seconds), expected) << ms << " ms";
    }
}

TEST(FormatSeconds, KeepsTheWholeSecondsOfALongGame)
{
    // The time a 32-bit millisecond count reaches before it wraps.
    EXPECT_EQ(FormatSeconds(4294967.295), "4294967.3");
}
