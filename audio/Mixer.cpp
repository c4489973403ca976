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
    if (IsMuted()) {
        voices.fill(Voice{});
        std::fill(out.begin(), out.end(), std::int16_t{0});
        return;
    }
    for (std::int16_t& sample : out)
        sample = static_cast<std::int16_t>(std::lround(limiter.Process(NextSum()) * FullScale));
}

void Mixer::Skip(std::size_t count) noexcept
{
    StartQueued();
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
