// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/Geometry.h"
#include "base/Replay.h"

#include <memory>

// How a game ended by the world's own rule, as the game thread tells its window.
struct GameResult {
    // GameOver!! when set, Finish!! otherwise.
    bool gameOver = false;
    // The play time the status text last showed, in tenths of a second, pauses excluded.
    double seconds = 0.0;
    int score = 0;
    // The game's record with this time and score; null when the surface records none.
    std::shared_ptr<const Replay> replay;
};

// What a worker may ask of the window that owns it. Every operation may be called from any
// thread; the window carries it out on its own thread.
class OwnerWindow {
public:
    virtual ~OwnerWindow() = default;

    // Repaints the whole client area, or the given rectangle of it; erase clears it first.
    virtual void RequestRepaint(bool erase) = 0;
    virtual void RequestRepaint(const Rect& rect, bool erase) = 0;
    // Enables or disables the control with this id; false when the window has no such control.
    virtual bool EnableControl(int controlId, bool enable) = 0;
    // A game ended by its own rule, not by a stop request: told once, as the end display begins.
    virtual void GameEnded(const GameResult& result) = 0;
    // The end display is over and the title shows again (the records, after a replay): told
    // once after GameEnded or a replay's end, and not when a stop request cut the display short.
    virtual void ReturnedToTitle() = 0;
};
