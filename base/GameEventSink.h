// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>

// The moments of a game that a player can hear.
enum class GameEvent : std::uint8_t {
    // A weight starts to swing; the value is its rope length in pixels.
    Release,
    // A swing passes the lowest point of its arc.
    LowestPoint,
    ShadowAppears,
    // A shadow puts a weight out.
    Swallow,
    GameOver,
    NewRecord,
    ButtonClick,
};

// Where the game hands its events over. Notify may be called from any thread; it returns at
// once and never waits on a lock, so that the game loop never waits for the sound.
class GameEventSink {
public:
    virtual ~GameEventSink() = default;
    virtual void Notify(GameEvent event, int value) noexcept = 0;
};
