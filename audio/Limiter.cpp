// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "audio/Limiter.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float ReleaseSeconds = 0.1f;

} // namespace

Limiter::Limiter(int sampleRate)
    : releaseStep(1.0f / (ReleaseSeconds * static_cast<float>(sampleRate)))
{
}

float Limiter::Process(float sample) noexcept
{
    const float level = std::fabs(sample);
    const float needed = level > Ceiling ? Ceiling / level : 1.0f;
    gain = std::min(needed, gain + (1.0f - gain) * releaseStep);
    return std::clamp(sample * gain, -Ceiling, Ceiling);
}
