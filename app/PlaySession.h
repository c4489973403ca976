// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "threads/OwnerWindow.h"

class GameEventFanOut;
class MainDialog;
class PlayInput;

// A game in the window: started from the title once the last one's thread is joined, paused
// and resumed (a replay too), stopped by Escape, and at its end a lost game's time onto the
// title and into the table, which is saved at once.
class PlaySession {
public:
    // All on the window's thread; the others outlive the session.
    PlaySession(MainDialog& dialog, PlayInput& input, GameEventFanOut& events);

    // Without a thread for the game, the title stays, with one line on standard error.
    void Start();
    // P and Space: during play, pauses the game or the replay, or resumes it; on the title
    // screen, nothing.
    void SwitchPause();
    // The title again, the table as it is on disk now; the game's thread ends by itself.
    void Stop();
    // The game thread's report, on the window's thread.
    void Ended(const GameResult& result);

private:
    MainDialog& dialog;
    PlayInput& input;
    GameEventFanOut& events;
};
