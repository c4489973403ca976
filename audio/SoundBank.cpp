// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "audio/SoundBank.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace {

// A falling phrase for the end of a game, G4 E4 C4 G3; a rising one for a new record, C5 E5 G5 C6.
constexpr std::array<double, 4> Falling = {392.00, 329.63, 261.63, 196.00};
constexpr std::array<double, 4> Rising = {523.25, 659.26, 783.99, 1046.50};

// Semitones above the lowest tock: tocks sound in tune with each other.
double Semitones(double frequency)
{
    return 12.0 * std::log2(frequency / Synth::MinTockHz);
}

} // namespace

SoundBank::SoundBank(int sampleRate)
    : rate(sampleRate)
    , tap(Synth::Tap(sampleRate))
    , shadowTone(Synth::ShadowTone(sampleRate))
    , thud(Synth::Thud(sampleRate))
    , gameOver(Synth::Phrase(Falling, sampleRate))
    , newRecord(Synth::Phrase(Rising, sampleRate))
    , click(Synth::Click(sampleRate))
{
    const auto steps = static_cast<int>(std::floor(Semitones(Synth::MaxTockHz)));
    for (int step = 0; step <= steps; ++step)
        tocks.push_back(Synth::Tock(Synth::MinTockHz * std::exp2(step / 12.0), sampleRate));
}

const Synth::Samples& SoundBank::For(GameEvent event, int value) const
{
    switch (event) {
    case GameEvent::Release: {
        const auto step = static_cast<std::size_t>(std::lround(Semitones(Synth::TockFrequency(value))));
        return tocks[std::min(step, tocks.size() - 1)];
    }
    case GameEvent::LowestPoint: return tap;
    case GameEvent::ShadowAppears: return shadowTone;
    case GameEvent::Swallow:
    case GameEvent::WeightLost: return thud;
    case GameEvent::GameOver: return gameOver;
    case GameEvent::NewRecord: return newRecord;
    case GameEvent::ButtonClick: break;
    }
    return click;
}
