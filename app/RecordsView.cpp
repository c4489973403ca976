// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/RecordsView.h"

#include "app/MainDialog.h"
#include "app/PlayInput.h"
#include "app/SoundSwitch.h"
#include "app/WindowAccessible.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <utility>

RecordsView::RecordsView(MainDialog& dialog, PlayInput& input, SoundSwitch& sound)
    : dialog(dialog)
    , input(input)
    , sound(sound)
{
}

void RecordsView::Show()
{
    // Records of other copies included, shown as soon as the file is read.
    dialog.GetScoreBoard().Refresh();
    dialog.GetGameScreen().ShowRecords(true);
    dialog.Invalidate();
    WindowAccessible::FocusMoved(dialog);
}

void RecordsView::Leave()
{
    dialog.GetGameScreen().ShowRecords(false);
    dialog.Invalidate();
    WindowAccessible::FocusMoved(dialog);
}

void RecordsView::Select(int step)
{
    dialog.GetGameScreen().SelectRecord(step);
    dialog.Invalidate();
    WindowAccessible::FocusMoved(dialog);
}

void RecordsView::Watch(int place)
{
    std::shared_ptr<const Replay> replay = dialog.GetScoreBoard().ReplayAt(place);
    GameScreen& screen = dialog.GetGameScreen();
    if (screen.IsPlaying() || !screen.IsShowingRecords())
        return;
    if (!replay) {
        WindowAccessible::Announce(
            dialog, QCoreApplication::translate("MainDialog", "この記録にはリプレイがありません"));
        return;
    }
    // The world is the replay's alone: the last game's thread may still be ending.
    dialog.GetGameThread().StopAndJoin();
    input.Forget();
    ReplayThread& replayThread = dialog.GetReplayThread();
    const bool playing =
        replayThread.Play(screen, std::move(replay), place, [this](ReplayPlayer::State state) {
            QMetaObject::invokeMethod(
                &dialog, [this, state] { OnReplayEnded(state); }, Qt::QueuedConnection);
        });
    dialog.Invalidate();
    WindowAccessible::FocusMoved(dialog);
    if (playing)
        WindowAccessible::Announce(dialog, replayThread.StartedText());
}

void RecordsView::StopReplay()
{
    dialog.GetReplayThread().Stop();
    dialog.Invalidate();
    WindowAccessible::FocusMoved(dialog);
}

void RecordsView::ChangePace(int step)
{
    ReplayThread& replayThread = dialog.GetReplayThread();
    const int before = replayThread.GetPace();
    const int pace = replayThread.ChangePace(step);
    if (pace != before)
        WindowAccessible::Announce(dialog, ReplayThread::PaceText(pace));
}

void RecordsView::OnReplayEnded(ReplayPlayer::State state)
{
    // Escape may have put the replay away before this arrived.
    const GameScreen& screen = dialog.GetGameScreen();
    if (!screen.IsPlaying() || !screen.IsReplaying())
        return;
    if (state == ReplayPlayer::State::Ended)
        sound.Play(GameEvent::GameOver);
    WindowAccessible::Announce(dialog, dialog.GetReplayThread().EndText(state));
}
