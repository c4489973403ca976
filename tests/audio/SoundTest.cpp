// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "audio/EventQueue.h"
#include "audio/Limiter.h"
#include "audio/Mixer.h"
#include "audio/SampleCount.h"
#include "audio/SoundBank.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <numbers>
#include <thread>
#include <vector>

namespace {

constexpr int Rate = 48000;

float Peak(const Synth::Samples& samples)
{
    float peak = 0.0f;
    for (const float sample : samples)
        peak = std::max(peak, std::fabs(sample));
    return peak;
}

// Upward crossings of zero: once per period of the sound's pitch.
int Crossings(const Synth::Samples& samples)
{
    int count = 0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        count += samples[i - 1] < 0.0f && samples[i] >= 0.0f ? 1 : 0;
    return count;
}

// Upward crossings per second over [from, to) seconds of the sound.
double CrossingRate(const Synth::Samples& samples, double from, double to)
{
    const auto begin = samples.begin() + static_cast<std::ptrdiff_t>(from * Rate);
    // A sound's length in samples is rounded down: a span to its very end stops there.
    const auto end =
        samples.begin()
        + static_cast<std::ptrdiff_t>(std::min(static_cast<std::size_t>(to * Rate), samples.size()));
    return Crossings(Synth::Samples(begin, end)) / (to - from);
}

int LoudestSample(const std::vector<std::int16_t>& out)
{
    int loudest = 0;
    for (const std::int16_t sample : out)
        loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
    return loudest;
}

} // namespace

TEST(Synth, EverySoundIsShortAudibleAndBelowFullScale)
{
    const SoundBank bank(Rate);
    struct Case {
        GameEvent event;
        int value;
        double minSeconds;
        double maxSeconds;
    };
    const Case cases[] = {
        {GameEvent::Release, 1, 0.05, 0.15},     {GameEvent::Release, 100, 0.05, 0.15},
        {GameEvent::Release, 5000, 0.05, 0.15},  {GameEvent::LowestPoint, 0, 0.005, 0.04},
        {GameEvent::ShadowAppears, 0, 0.3, 1.0}, {GameEvent::Swallow, 0, 0.1, 0.4},
        {GameEvent::WeightLost, 2, 0.1, 0.4},    {GameEvent::GameOver, 0, 0.5, 1.5},
        {GameEvent::NewRecord, 0, 0.5, 1.5},     {GameEvent::ButtonClick, 0, 0.005, 0.03},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.event));
        const Synth::Samples& sound = bank.For(c.event, c.value);
        const double seconds = static_cast<double>(sound.size()) / Rate;
        EXPECT_GE(seconds, c.minSeconds);
        EXPECT_LE(seconds, c.maxSeconds);
        EXPECT_GT(Peak(sound), 0.05f);
        EXPECT_LT(Peak(sound), 0.6f);
        // Cut off mid-wave, a sound would click.
        EXPECT_LT(std::fabs(sound.front()), 0.01f);
        EXPECT_LT(std::fabs(sound.back()), 0.01f);
    }
}

TEST(Synth, TockPitchFollowsOneOverTheRootOfTheRope)
{
    const SoundBank bank(Rate);
    // A rope four times as long knocks an octave lower.
    const int ropes[][2] = {{25, 100}, {100, 400}};
    for (const auto& pair : ropes) {
        const int shortRope = Crossings(bank.For(GameEvent::Release, pair[0]));
        const int longRope = Crossings(bank.For(GameEvent::Release, pair[1]));
        EXPECT_NEAR(static_cast<double>(shortRope) / longRope, 2.0, 0.1) << pair[0] << " / " << pair[1];
    }
    // 600 Hz for a 100 pixel rope, counted over the tock's 90 ms.
    EXPECT_NEAR(Crossings(bank.For(GameEvent::Release, 100)), 600 * 0.09, 3);
    // The shortest and longest ropes stay within the pleasant range.
    EXPECT_LE(Crossings(bank.For(GameEvent::Release, 1)), Synth::MaxTockHz * 0.09 + 2);
    EXPECT_GE(Crossings(bank.For(GameEvent::Release, 100000)), Synth::MinTockHz * 0.09 - 2);
}

TEST(Synth, GameOverFallsAndANewRecordRises)
{
    const SoundBank bank(Rate);
    // The first note alone against the last one, which rings on after the others.
    const Synth::Samples& gameOver = bank.For(GameEvent::GameOver, 0);
    const Synth::Samples& newRecord = bank.For(GameEvent::NewRecord, 0);
    EXPECT_LT(CrossingRate(gameOver, 0.6, 0.9), 0.7 * CrossingRate(gameOver, 0.0, 0.14));
    EXPECT_GT(CrossingRate(newRecord, 0.6, 0.9), 1.4 * CrossingRate(newRecord, 0.0, 0.14));
}

TEST(Limiter, ALoudToneIsTurnedDownWholeNotClippedFlat)
{
    // A 440 Hz tone at twice the ceiling, after its first peak: turned down, only the few samples
    // at the top of each peak reach the ceiling; clipped, two thirds of the wave would lie on it.
    Limiter limiter(Rate);
    int atCeiling = 0;
    int counted = 0;
    for (int i = 0; i < Rate / 10; ++i) {
        const float in =
            2.0f * Limiter::Ceiling * static_cast<float>(std::sin(2.0 * std::numbers::pi * 440.0 * i / Rate));
        const float out = limiter.Process(in);
        EXPECT_LE(std::fabs(out), Limiter::Ceiling);
        if (i < Rate / 440)
            continue;
        ++counted;
        atCeiling += std::fabs(out) >= 0.9999f * Limiter::Ceiling ? 1 : 0;
    }
    EXPECT_LT(atCeiling, counted / 8);
}

TEST(SampleCount, CountsWholeSamplesOfAnySpanARunCanLast)
{
    using namespace std::chrono_literals;
    const struct {
        std::chrono::nanoseconds span;
        std::int64_t samples;
    } cases[] = {
        {0ns, 0},
        {20'833ns, 0},
        {20'834ns, 1},
        {20ms, 960},
        {1s, 48'000},
        {std::chrono::hours(60), std::int64_t{60} * 3600 * 48'000},
        {std::chrono::hours(24 * 365 * 100), std::int64_t{24} * 365 * 100 * 3600 * 48'000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SampleCount(c.span, Rate), c.samples) << c.span.count() << " ns";
}

TEST(Mixer, ManyLoudSoundsAtOnceAreLimitedBelowFullScale)
{
    const SoundBank bank(Rate);
    Mixer mixer(bank);
    mixer.SetListening(true);
    for (std::size_t i = 0; i < Mixer::VoiceCount; ++i) {
        mixer.Notify(GameEvent::Swallow, 0);
        mixer.Notify(GameEvent::Release, 400);
    }
    std::vector<std::int16_t> out(Rate / 4);
    mixer.Render(out);
    EXPECT_LE(LoudestSample(out), static_cast<int>(Limiter::Ceiling * 32767.0f) + 1);
    EXPECT_GT(LoudestSample(out), 20000);
}

TEST(Mixer, MutedOrUnheardItHandsOnlySilence)
{
    const SoundBank bank(Rate);
    std::vector<std::int16_t> out(Rate / 10);

    // Events while no device listens are dropped, not kept to burst out once one does.
    Mixer unheard(bank);
    for (int i = 0; i < 1000; ++i)
        unheard.Notify(GameEvent::Release, 100);
    unheard.SetListening(true);
    unheard.Render(out);
    EXPECT_EQ(LoudestSample(out), 0);

    // Samples the device did not take pass unheard: the sound does not come late.
    unheard.Notify(GameEvent::GameOver, 0);
    unheard.Skip(Rate * 2);
    unheard.Render(out);
    EXPECT_EQ(LoudestSample(out), 0);

    // Muting silences the sounds already playing once they have faded out.
    Mixer muted(bank);
    muted.SetListening(true);
    muted.Notify(GameEvent::ShadowAppears, 0);
    std::vector<std::int16_t> first(Rate / 10);
    muted.Render(first);
    EXPECT_GT(LoudestSample(first), 0);
    muted.SetMuted(true);
    muted.Notify(GameEvent::Release, 100);
    std::vector<std::int16_t> fade(static_cast<std::size_t>(Mixer::FadeSeconds * Rate));
    muted.Render(fade);
    muted.Render(out);
    EXPECT_EQ(LoudestSample(out), 0);
    // Sound on again, what was cut off stays so.
    muted.SetMuted(false);
    muted.Render(out);
    EXPECT_EQ(LoudestSample(out), 0);
}

TEST(Mixer, MuteFadesOutWithinMillisecondsWithoutAJump)
{
    const SoundBank bank(Rate);
    Mixer mixer(bank);
    mixer.SetListening(true);
    mixer.Notify(GameEvent::ShadowAppears, 0);
    std::vector<std::int16_t> swell(Rate * 3 / 10);
    mixer.Render(swell);
    // On to a loud sample, where a cut would jump the most.
    std::vector<std::int16_t> last(1);
    for (int i = 0; i < Rate / 50 && std::abs(last[0]) < 4000; ++i)
        mixer.Render(last);
    ASSERT_GE(std::abs(last[0]), 4000);

    mixer.SetMuted(true);
    std::vector<std::int16_t> out(Rate / 50);
    mixer.Render(out);
    int largestStep = std::abs(out[0] - last[0]);
    for (std::size_t i = 1; i < out.size(); ++i)
        largestStep = std::max(largestStep, std::abs(out[i] - out[i - 1]));
    // The tone alone moves by about 200 a sample.
    EXPECT_LT(largestStep, 1000);
    // Silent 10 ms after M.
    const std::vector<std::int16_t> after(out.begin() + Rate / 100, out.end());
    EXPECT_EQ(LoudestSample(after), 0);
}

TEST(EventQueue, KeepsTheOrderDropsWhatComesWhenFullAndWrapsPastItsCapacity)
{
    struct Case {
        const char* what;
        std::size_t pushes;
        std::size_t pops;
        int rounds;
    };
    const Case cases[] = {
        {"one in, one out, many times round", 1, 1, 5 * static_cast<int>(EventQueue::Capacity)},
        {"more than fit, then all out", EventQueue::Capacity + 10, EventQueue::Capacity + 10, 3},
        {"filling up slowly, then full", 3, 2, 2 * static_cast<int>(EventQueue::Capacity)},
        {"emptied when nothing was pushed", 0, 5, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EventQueue queue;
        // What the queue must hold: the values pushed and not dropped, oldest first.
        std::deque<int> held;
        int next = 0;
        for (int round = 0; round < c.rounds; ++round) {
            for (std::size_t i = 0; i < c.pushes; ++i, ++next) {
                const bool room = held.size() < EventQueue::Capacity;
                ASSERT_EQ(queue.Push({GameEvent::Release, next}), room) << "push " << next;
                if (room)
                    held.push_back(next);
            }
            for (std::size_t i = 0; i < c.pops; ++i) {
                const std::optional<EventQueue::Entry> entry = queue.Pop();
                ASSERT_EQ(entry.has_value(), !held.empty()) << "round " << round;
                if (!entry)
                    break;
                EXPECT_EQ(entry->value, held.front());
                held.pop_front();
            }
        }
    }
}

TEST(EventQueue, FourThreadsPushingReachTheConsumerOnceEachAndInTheirOrder)
{
    constexpr int Producers = 4;
    constexpr int Each = 20000;
    EventQueue queue;
    std::atomic<int> finished{0};
    // Set by the consumer when nothing has come for long: a queue that stays full ends the test.
    std::atomic<bool> stop{false};
    std::vector<std::thread> producers;
    for (int p = 0; p < Producers; ++p) {
        producers.emplace_back([&, p] {
            for (int i = 0; i < Each && !stop.load(std::memory_order_relaxed); ++i) {
                while (!queue.Push({static_cast<GameEvent>(p), i}) && !stop.load(std::memory_order_relaxed))
                    std::this_thread::yield();
            }
            finished.fetch_add(1, std::memory_order_release);
        });
    }
    std::array<int, Producers> received{};
    int outOfOrder = 0;
    auto lastArrival = std::chrono::steady_clock::now();
    for (;;) {
        const bool allPushed = finished.load(std::memory_order_acquire) == Producers;
        const std::optional<EventQueue::Entry> entry = queue.Pop();
        if (entry) {
            lastArrival = std::chrono::steady_clock::now();
            const auto producer = static_cast<std::size_t>(entry->event);
            if (producer < received.size() && entry->value == received[producer])
                ++received[producer];
            else
                ++outOfOrder;
        } else if (allPushed) {
            break;
        } else if (std::chrono::steady_clock::now() - lastArrival > std::chrono::seconds(10)) {
            stop = true;
        } else {
            std::this_thread::yield();
        }
    }
    for (std::thread& producer : producers)
        producer.join();
    EXPECT_EQ(outOfOrder, 0);
    EXPECT_EQ(received, (std::array<int, Producers>{Each, Each, Each, Each}));
}
