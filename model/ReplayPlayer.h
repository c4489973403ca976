// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/Geometry.h"
#include "base/Replay.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

class World;

// Plays a recorded game again on a world, a pass at a time: before each pass it hands the world
// the inputs recorded for it, as the window once did, and after it compares what came of them
// with the record. It stops at the first pass that departs from the record and says why.
// Runs on whatever thread ticks the world (the game thread in the window); headless otherwise.
class ReplayPlayer {
public:
    enum class State {
        Playing,
        // The game ended on its recorded pass with its recorded score.
        Ended,
        // The game did not play out as recorded; GetDeparture says how.
        Departed,
    };

    // The world's rule is the one the replay is played under: its default numbers for a record
    // of the game.
    ReplayPlayer(World& world, std::shared_ptr<const Replay> replay);

    // Starts the recorded game on the world, from its seed; a replay of another rule's version
    // departs at once.
    State Start();
    // Plays one pass; nothing once ended or departed.
    State Step();

    State GetState() const { return state; }
    // The passes played so far.
    int GetPass() const { return pass; }
    // What the replay shows for time and score: those of the passes played, and once the game
    // has ended, the record's own as saved.
    double GetSeconds() const;
    int GetScore() const;
    // Whether the player of the record had paused the game at this point of it.
    bool IsPausedInRecord() const { return pausedInRecord; }
    // After a departure: one line saying on which pass and how the game went otherwise.
    const std::string& GetDeparture() const { return departure; }
    // Where the recorded player last pressed, dragged or let go, so that a replay can show the
    // weights being hung; none before the first anchor and after a weight put out without a swing.
    std::optional<Point> GetPointer() const { return pointer; }

private:
    void ApplyInputsDue();
    // Compares the pass just played with the record.
    void Check();
    void Depart(const std::string& how);

    World& world;
    std::shared_ptr<const Replay> replay;
    State state = State::Playing;
    int pass = 0;
    std::size_t nextInput = 0;
    std::size_t nextSwallow = 0;
    bool pausedInRecord = false;
    std::string departure;
    std::optional<Point> pointer;
};
