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
    // Shadows put out weights, carried or swinging, in one pass; the value is how many
    // released weights are left swinging.
    Swallow,
    // Weights that swung off the field for good are put out in one pass; the value as for Swallow.
    WeightLost,
    // The game is over; the value is its place in the records, or -1 for none.
    GameOver,
    // The same for a game that took the best place (0).
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
