// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "audio/Limiter.h"
#include "audio/Mixer.h"
#include "audio/SoundBank.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
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

    // Muting silences at once, the sounds already playing included.
    Mixer muted(bank);
    muted.SetListening(true);
    muted.Notify(GameEvent::ShadowAppears, 0);
    std::vector<std::int16_t> first(Rate / 10);
    muted.Render(first);
    EXPECT_GT(LoudestSample(first), 0);
    muted.SetMuted(true);
    muted.Notify(GameEvent::Release, 100);
    muted.Render(out);
    EXPECT_EQ(LoudestSample(out), 0);
}
