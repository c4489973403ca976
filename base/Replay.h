// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <vector>

// One input that changed the world, and the pass it took effect on: an input stamped p reached
// the world after p passes of its game and before pass p + 1.
struct ReplayInput {
    enum class Kind : std::uint8_t {
        // The anchor of a new swing fixed at (x, y).
        Anchor,
        // The weight carried to (x, y).
        Drag,
        // The weight let go at (x, y).
        Release,
        // The weight carried put out without a swing.
        Drop,
        Pause,
        Resume,
    };

    int pass = 0;
    Kind kind = Kind::Anchor;
    int x = 0;
    int y = 0;

    friend bool operator==(const ReplayInput&, const ReplayInput&) = default;
};

// A game as it was played: what it started from, every input in the order it reached the
// world, and what came of them, by which a replay tells whether it plays out the same.
struct Replay {
    // No game records more; a longer one is not kept.
    static constexpr std::size_t MaxInputs = 1'000'000;
    // Inputs lie within this many pixels of the field's origin, whatever the screen.
    static constexpr int MaxCoordinate = 1 << 15;
    // About 28 hours of passes, beyond the longest time the table keeps.
    static constexpr int MaxPass = 10'000'000;

    std::uint32_t seed = 0;
    // ShadowRule::Version of the game that recorded it.
    int ruleVersion = 0;
    std::vector<ReplayInput> inputs;
    // The pass of every weight swallowed, in order; a pass twice for two weights.
    std::vector<int> swallowPasses;
    // The game ended after this many passes.
    int endPass = 0;
    // The record's own time in seconds and score, as the table keeps them.
    double seconds = 0.0;
    int score = 0;

    friend bool operator==(const Replay&, const Replay&) = default;
};
