// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

// Keeps a sum of sounds below full scale: the gain drops at once to what a loud sample needs
// and comes back to 1 over about a tenth of a second.
class Limiter {
public:
    // The loudest sample let through, about -1 dB of full scale.
    static constexpr float Ceiling = 0.89f;

    explicit Limiter(int sampleRate);

    // |result| <= Ceiling for every input.
    float Process(float sample) noexcept;

private:
    float releaseStep;
    float gain = 1.0f;
};
