// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/Replay.h"

#include <cstdint>
#include <memory>

// Writes down one game as it is played: its inputs, each stamped with the passes done when it
// reached the world, and the passes its weights were swallowed on. Not locked: the world calls
// it under the lock that keeps its inputs between two passes.
class ReplayRecorder {
public:
    // Starts the record of a new game; while off, nothing is kept but the count of passes.
    void Begin(std::uint32_t seed, int ruleVersion, bool on);
    void Note(ReplayInput::Kind kind, int x, int y);
    // After every pass, with the weights swallowed so far in the game. Inline: the game thread
    // calls it on every pass, and it costs a pass an increment and a comparison.
    void PassDone(int swallowedSoFar)
    {
        ++passes;
        if (swallowedSoFar != swallowed)
            NoteSwallows(swallowedSoFar);
    }
    int GetPassCount() const { return passes; }
    // The record, ended at the passes done; what comes later goes unrecorded until the next
    // Begin. Null when off, taken already, or past one of the bounds of a replay.
    std::unique_ptr<Replay> Take();

private:
    void NoteSwallows(int swallowedSoFar);
    // Gives up a game that went past a bound: better no replay than one that cannot be read.
    void Abandon();

    std::unique_ptr<Replay> replay;
    int passes = 0;
    int swallowed = 0;
};
