// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "threads/GameThread.h"

#include "threads/GameSurface.h"
#include "threads/OwnerWindow.h"

#include <algorithm>
#include <thread>
#include <utility>

GameThread::GameThread() = default;

GameThread::~GameThread()
{
    StopAndJoin();
}

void GameThread::SetScreen(GameSurface* surface)
{
    screen = surface;
}

void GameThread::SetPlayTimeText(PlayTimeText text)
{
    playTimeText = std::move(text);
}

void GameThread::SetClock(Stopwatch::Clock newClock)
{
    clock = std::move(newClock);
}

void GameThread::SetEndDisplay(std::chrono::milliseconds duration)
{
    endDisplay = duration;
}

void GameThread::Run()
{
    if (!screen)
        return;
    screen->ResetGame();
    SetMessageText("");
    RepaintOwner(false);

    // The play time counts from the game's beginning, not from the start: a player may take as
    // long as they like over the hint.
    stopwatch = Stopwatch(clock);
    shownSeconds = 0.0;
    // Passes keep to the wall clock: a pass that comes late is made up by the next ones, so that
    // the shadows' schedule and the grace, counted in passes, keep pace with the time shown.
    auto due = std::chrono::steady_clock::now();
    for (;;) {
        screen->Tick();
        if (screen->IsGameOver() || screen->IsFinished())
            break;
        if (!stopwatch.IsCounting() && screen->HasBegun())
            stopwatch.Start();
        shownSeconds = stopwatch.GetSeconds();
        screen->SetStatusText(playTimeText(shownSeconds));
        RepaintOwner(false);
        due += PassInterval;
        const auto now = std::chrono::steady_clock::now();
        // After a pause, or a stall longer than a few passes, the rate starts again from now
        // rather than rushing through what was missed.
        if (now - due > MaxCatchUp)
            due = now;
        std::this_thread::sleep_until(due);
        CheckPoint();
    }
    stopwatch.Stop();
    // The time the player saw last: the pass that ended the game shows no time of its own, and
    // after a pause it is the reading the pause froze.
    GameResult result{screen->IsGameOver(), ShownSeconds(shownSeconds), screen->GetScore(), nullptr};
    if (std::unique_ptr<Replay> replay = screen->TakeReplay()) {
        replay->seconds = result.seconds;
        replay->score = result.score;
        result.replay = std::move(replay);
    }
    if (OwnerWindow* window = GetOwner())
        window->GameEnded(result);
    ShowEndOfGame(*screen);
}

void GameThread::OnPause()
{
    // The last time text may be up to a pass old; the pause shows the reading it froze, and play
    // goes on from that same reading. After the game has ended the time is left alone.
    stopwatch.Pause();
    screen->NotePause(true);
    if (stopwatch.IsPaused()) {
        shownSeconds = stopwatch.GetSeconds();
        screen->SetStatusText(playTimeText(shownSeconds));
    }
    messageBeforePause = GetMessageText();
    SetMessageText(PauseText);
    RepaintOwner(false);
}

void GameThread::OnResume()
{
    SetMessageText(std::move(messageBeforePause));
    messageBeforePause.clear();
    stopwatch.Resume();
    screen->NotePause(false);
    RepaintOwner(false);
}

void GameThread::ShowEndOfGame(GameSurface& surface)
{
    if (OwnerWindow* window = GetOwner())
        window->RequestRepaint(surface.GetAreaRect(), true);
    SetMessageText(surface.IsGameOver() ? "GameOver!!" : "Finish!!");
    RepaintOwner(true);

    // The display can be cut short: a stop request ends the thread here as it does during play,
    // leaving the playing flag and the status text to whoever asked for the stop (the window
    // joins this thread before it sets the flag for a new game).
    const auto deadline = std::chrono::steady_clock::now() + endDisplay;
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            PassInterval, deadline - std::chrono::steady_clock::now()));
        CheckPoint();
    }

    surface.SetPlaying(false);
    surface.SetStatusText("");
    RepaintOwner(true);
    if (OwnerWindow* window = GetOwner())
        window->ReturnedToTitle();
}

void GameThread::RepaintOwner(bool erase)
{
    if (OwnerWindow* window = GetOwner())
        window->RequestRepaint(erase);
}
