// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/PlaySession.h"

#include "app/MainDialog.h"
#include "app/PlayInput.h"
#include "app/ReaderWords.h"
#include "app/WindowAccessible.h"
#include "base/GameEventFanOut.h"

#include <cstdio>
#include <system_error>

PlaySession::PlaySession(MainDialog& dialog, PlayInput& input, GameEventFanOut& events)
    : dialog(dialog)
    , input(input)
    , events(events)
{
}

void PlaySession::Start()
{
    GameScreen& screen = dialog.GetGameScreen();
    GameThread& gameThread = dialog.GetGameThread();
    // Until it is joined, the last game's thread may still write a time text or clear the
    // playing flag: the new game is set up after that, and before its own thread exists.
    gameThread.StopAndJoin();
    dialog.GetReplayThread().StopAndJoin();
    screen.BeginGame();
    input.Forget();
    screen.SetPlaying(true);
    dialog.Invalidate();
    WindowAccessible::FocusMoved(dialog);
    WindowAccessible::Announce(dialog, ReaderWords::SpokenHint());
    try {
        gameThread.Start();
    } catch (const std::system_error& error) {
        std::fprintf(stderr, "tocklet: the game could not start: %s\n", error.what());
        screen.SetPlaying(false);
        dialog.Invalidate();
    }
}

void PlaySession::SwitchPause()
{
    // The game thread shows the pause and its end: it acts on the request at its next
    // check-point, and only from there on does the time hold.
    const GameScreen& screen = dialog.GetGameScreen();
    if (!screen.IsPlaying())
        return;
    WorkerThread& thread =
        screen.IsReplaying() ? static_cast<WorkerThread&>(dialog.GetReplayThread()) : dialog.GetGameThread();
    thread.SetPauseRequested(!thread.IsPauseRequested());
    WindowAccessible::Announce(dialog, ReaderWords::Pause(thread.IsPauseRequested()));
}

void PlaySession::Stop()
{
    dialog.GetGameScreen().SetPlaying(false);
    input.Forget();
    // Another copy of the program may have saved a record meanwhile.
    dialog.GetScoreBoard().Refresh();
    dialog.Invalidate();
    dialog.GetGameThread().RequestStop();
    WindowAccessible::FocusMoved(dialog);
}

void PlaySession::Ended(const GameResult& result)
{
    if (!result.gameOver)
        return;
    ScoreBoard& board = dialog.GetScoreBoard();
    const int place = board.Record(result.seconds, result.score, result.replay);
    board.ShowOn(dialog.GetGameScreen());
    dialog.Invalidate();
    // After the line is on the title, which the reader says; the sound hears it here too.
    events.Notify(place == 0 ? GameEvent::NewRecord : GameEvent::GameOver, place);
}
