// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/Geometry.h"
#include "base/Replay.h"

#include <memory>
#include <string>

// What the game loop needs of the screen it plays on: the world's per-game operations, the
// status line and the playing flag. The window's screen implements it; tests supply their own.
class GameSurface {
public:
    virtual ~GameSurface() = default;

    virtual void ResetGame() = 0;
    virtual void Tick() = 0;
    // Whether the game has begun: its play time counts from the first pass that says so.
    virtual bool HasBegun() = 0;
    virtual bool IsGameOver() = 0;
    virtual bool IsFinished() = 0;
    // The score of the game so far: the weights hung in it.
    virtual int GetScore() = 0;
    // Both may be called from the game thread while the window's thread paints.
    virtual void SetStatusText(std::string text) = 0;
    virtual void SetPlaying(bool playing) = 0;
    virtual Rect GetAreaRect() const = 0;
    // Both on the game thread, between two passes. A surface whose world records nothing keeps
    // these defaults: no pause to note, no replay to take.
    virtual void NotePause(bool) {}
    // The record of the game that just ended; the time and score are the thread's to fill in.
    virtual std::unique_ptr<Replay> TakeReplay() { return nullptr; }
};
