// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "audio/Synth.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace {

constexpr double TwoPi = 2.0 * std::numbers::pi;
// Pitch = TockScale / sqrt(rope): a 100 pixel rope knocks at 600 Hz.
constexpr double TockScale = 6000.0;
// Every sound ramps in and out over this long, so that no edge clicks.
constexpr double EdgeSeconds = 0.002;

// A sound of the given length made sample by sample from the time in seconds.
template <typename Wave>
Synth::Samples Make(double seconds, int sampleRate, Wave wave)
{
    const auto count = static_cast<std::size_t>(seconds * sampleRate);
    Synth::Samples samples(count);
    const double edge = EdgeSeconds * sampleRate;
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double fromEnd = static_cast<double>(count - i);
        const double ramp = std::min({1.0, static_cast<double>(i) / edge, fromEnd / edge});
        samples[i] = static_cast<float>(ramp * wave(t));
    }
    return samples;
}

} // namespace

double Synth::TockFrequency(int ropeLength)
{
    const double length = std::max(ropeLength, 1);
    return std::clamp(TockScale / std::sqrt(length), MinTockHz, MaxTockHz);
}

Synth::Samples Synth::Tock(double frequency, int sampleRate)
{
    // A wood block: its fundamental and a quickly dying inharmonic mode above it.
    return Make(0.09, sampleRate, [frequency](double t) {
        const double body = std::exp(-t / 0.018) * std::sin(TwoPi * frequency * t);
        const double knock = 0.3 * std::exp(-t / 0.006) * std::sin(TwoPi * 2.76 * frequency * t);
        return 0.42 * (body + knock);
    });
}

Synth::Samples Synth::Tap(int sampleRate)
{
    return Make(0.02, sampleRate,
                [](double t) { return 0.12 * std::exp(-t / 0.003) * std::sin(TwoPi * 2000.0 * t); });
}

Synth::Samples Synth::ShadowTone(int sampleRate)
{
    constexpr double Seconds = 0.7;
    return Make(Seconds, sampleRate, [](double t) {
        const double swell = std::sin(std::numbers::pi * t / Seconds);
        const double tone = std::sin(TwoPi * 110.0 * t) + 0.3 * std::sin(TwoPi * 165.0 * t);
        return 0.22 * swell * swell * tone;
    });
}

Synth::Samples Synth::Thud(int sampleRate)
{
    // The pitch falls from 90 to 45 Hz; the phase is its integral.
    return Make(0.22, sampleRate, [](double t) {
        constexpr double Fall = 0.08;
        const double phase = TwoPi * (45.0 * t + 45.0 * Fall * (1.0 - std::exp(-t / Fall)));
        return 0.55 * std::exp(-t / 0.05) * std::sin(phase);
    });
}

Synth::Samples Synth::Phrase(std::span<const double> frequencies, int sampleRate)
{
    constexpr double NoteSeconds = 0.15;
    constexpr double LastSeconds = 0.45;
    const double seconds = NoteSeconds * static_cast<double>(frequencies.size() - 1) + LastSeconds;
    return Make(seconds, sampleRate, [frequencies](double t) {
        // The notes ring on under the next ones, as a mallet's do.
        double sum = 0.0;
        for (std::size_t n = 0; n < frequencies.size(); ++n) {
            const double local = t - NoteSeconds * static_cast<double>(n);
            if (local < 0.0)
                break;
            const double attack = std::min(1.0, local / 0.005);
            const double wave = std::sin(TwoPi * frequencies[n] * local)
                                + 0.2 * std::sin(TwoPi * 2.0 * frequencies[n] * local);
            sum += attack * std::exp(-local / 0.12) * wave;
        }
        return 0.2 * sum;
    });
}

Synth::Samples Synth::Click(int sampleRate)
{
    return Make(0.012, sampleRate,
                [](double t) { return 0.2 * std::exp(-t / 0.0015) * std::sin(TwoPi * 3000.0 * t); });
}
