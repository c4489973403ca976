// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/GameEventSink.h"

#include <QTimer>

class GameEventFanOut;
class GameScreen;
class MainDialog;
class Mixer;
class ScoreBoard;

// The window's sound: the game's mixer, muted as the table's choice says, and M, which
// switches all sound off or on, keeps the choice at once and shows and says so for a moment.
// Without a mixer the game is silent, and M still switches and keeps the choice.
class SoundSwitch {
public:
    static constexpr int NoticeMs = 1000;

    // All on the window's thread; the others outlive the switch.
    SoundSwitch(MainDialog& dialog, ScoreBoard& board, GameScreen& screen, GameEventFanOut& events);

    // Only while no game runs: the mixer hears the game's events from now on, in place of the last.
    void SetMixer(Mixer* mixer);
    bool IsOn() const { return on; }
    // A sound of the window's own, when there is a mixer.
    void Play(GameEvent event);
    // M, on every screen.
    void Switch();

private:
    MainDialog& dialog;
    ScoreBoard& board;
    GameScreen& screen;
    GameEventFanOut& events;
    Mixer* mixer = nullptr;
    bool on = true;
    // Puts the notice away a second after M.
    QTimer noticeTimer;
};
