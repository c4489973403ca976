// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <span>
#include <vector>

// The program's sounds, each a pure function of its parameters: mono samples in [-1, 1] at the
// given rate, every one well below full scale, starting and ending at silence.
class Synth {
public:
    using Samples = std::vector<float>;

    // The tock's pitch follows the rope as a pendulum's does, proportional to 1 / sqrt(length),
    // held within a range that stays pleasant for very short and very long ropes.
    static constexpr double MinTockHz = 250.0;
    static constexpr double MaxTockHz = 1400.0;
    static double TockFrequency(int ropeLength);

    // A short wooden knock at the given pitch.
    static Samples Tock(double frequency, int sampleRate);
    // A quiet, very short tap.
    static Samples Tap(int sampleRate);
    // A low soft tone that swells and fades.
    static Samples ShadowTone(int sampleRate);
    // A muffled low thud, falling in pitch.
    static Samples Thud(int sampleRate);
    // Soft mallet notes one after the other, the last held longer.
    static Samples Phrase(std::span<const double> frequencies, int sampleRate);
    // A light click.
    static Samples Click(int sampleRate);
};
