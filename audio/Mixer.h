// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "audio/EventQueue.h"
#include "audio/Limiter.h"
#include "audio/SoundBank.h"
#include "base/GameEventSink.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>

// Turns game events into one stream of samples: each event starts its sound from the bank, the
// sounds playing are summed and limited. Events come from any thread; Render runs on the one
// thread that feeds the sound device.
class Mixer : public GameEventSink {
public:
    // Sounds at once; a new one takes the place of the one that has played longest.
    static constexpr std::size_t VoiceCount = 16;
    // How long muting takes to silence what plays: a sound cut mid-wave clicks.
    static constexpr float FadeSeconds = 0.004f;

    // The bank must outlive the mixer.
    explicit Mixer(const SoundBank& sounds);

    // Dropped while muted, while nothing listens, or when events come faster than Render takes them.
    void Notify(GameEvent event, int value) noexcept override;
    // Muted, Render fades the sounds playing out within FadeSeconds and drops them; unmuted,
    // it fades back in as fast.
    void SetMuted(bool value) noexcept { muted.store(value, std::memory_order_relaxed); }
    bool IsMuted() const noexcept { return muted.load(std::memory_order_relaxed); }
    // Whether a sound device takes what Render gives; set by the device's side.
    void SetListening(bool value) noexcept { listening.store(value, std::memory_order_relaxed); }
    bool IsListening() const noexcept { return listening.load(std::memory_order_relaxed); }

    // Fills out with the next samples (mono, 16 bits, the bank's rate).
    void Render(std::span<std::int16_t> out) noexcept;
    // Lets count samples pass unheard, as a device that took none of them would: the sounds
    // move on, so that none comes late.
    void Skip(std::size_t count) noexcept;

private:
    struct Voice {
        const Synth::Samples* samples = nullptr;
        std::size_t position = 0;
    };

    // Starts the sound of every event queued; while muted, drops them.
    void StartQueued() noexcept;
    void Start(const EventQueue::Entry& entry) noexcept;
    float NextSum() noexcept;

    const SoundBank& bank;
    EventQueue events;
    std::array<Voice, VoiceCount> voices{};
    Limiter limiter;
    // The gain of the whole mix, 0 to 1, moving by fadeStep a sample towards where muted says.
    float level = 1.0f;
    float fadeStep;
    std::atomic<bool> muted{false};
    std::atomic<bool> listening{false};
};
