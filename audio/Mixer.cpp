// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "audio/Mixer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float FullScale = 32767.0f;

} // namespace

Mixer::Mixer(const SoundBank& sounds)
    : bank(sounds)
    , limiter(sounds.SampleRate())
    , fadeStep(1.0f / (FadeSeconds * static_cast<float>(sounds.SampleRate())))
{
}

void Mixer::Notify(GameEvent event, int value) noexcept
{
    if (IsMuted() || !listening.load(std::memory_order_relaxed))
        return;
    events.Push(EventQueue::Entry{event, value});
}

void Mixer::Render(std::span<std::int16_t> out) noexcept
{
    StartQueued();
    const bool mute = IsMuted();
    for (std::int16_t& sample : out) {
        level = mute ? std::max(0.0f, level - fadeStep) : std::min(1.0f, level + fadeStep);
        sample = level > 0.0f
                     ? static_cast<std::int16_t>(std::lround(limiter.Process(NextSum()) * level * FullScale))
                     : std::int16_t{0};
    }
    // Faded out: what played is over, not held to sound again when the sound comes back.
    if (level == 0.0f)
        voices.fill(Voice{});
}

void Mixer::Skip(std::size_t count) noexcept
{
    StartQueued();
    // Nothing was heard meanwhile, so the level may jump to where it goes.
    level = IsMuted() ? 0.0f : 1.0f;
    if (level == 0.0f)
        voices.fill(Voice{});
    for (Voice& voice : voices) {
        if (voice.samples && (voice.position += count) >= voice.samples->size())
            voice = Voice{};
    }
}

void Mixer::StartQueued() noexcept
{
    while (const auto entry = events.Pop()) {
        if (!IsMuted())
            Start(*entry);
    }
}

void Mixer::Start(const EventQueue::Entry& entry) noexcept
{
    const auto oldest = std::max_element(voices.begin(), voices.end(), [](const Voice& a, const Voice& b) {
        // An idle voice counts as the oldest of all.
        const auto age = [](const Voice& voice) { return voice.samples ? voice.position : SIZE_MAX; };
        return age(a) < age(b);
    });
    *oldest = Voice{&bank.For(entry.event, entry.value), 0};
}

float Mixer::NextSum() noexcept
{
    float sum = 0.0f;
    for (Voice& voice : voices) {
        if (!voice.samples)
            continue;
        sum += (*voice.samples)[voice.position];
        if (++voice.position >= voice.samples->size())
            voice = Voice{};
    }
    return sum;
}
