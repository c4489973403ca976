// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/SoundSwitch.h"

#include "app/MainDialog.h"
#include "app/ReaderWords.h"
#include "app/ScoreBoard.h"
#include "app/WindowAccessible.h"
#include "audio/Mixer.h"
#include "base/GameEventFanOut.h"
#include "render/GameScreen.h"

SoundSwitch::SoundSwitch(MainDialog& dialog, ScoreBoard& board, GameScreen& screen, GameEventFanOut& events)
    : dialog(dialog)
    , board(board)
    , screen(screen)
    , events(events)
    , on(board.IsSoundOn())
{
    noticeTimer.setSingleShot(true);
    noticeTimer.setInterval(NoticeMs);
    QObject::connect(&noticeTimer, &QTimer::timeout, &dialog, [this] {
        this->screen.SetSoundNotice(std::nullopt);
        this->dialog.Invalidate();
    });
}

void SoundSwitch::SetMixer(Mixer* newMixer)
{
    events.Remove(mixer);
    mixer = newMixer;
    events.Add(mixer);
    if (mixer)
        mixer->SetMuted(!on);
}

void SoundSwitch::Play(GameEvent event)
{
    if (mixer)
        mixer->Notify(event, 0);
}

void SoundSwitch::Switch()
{
    on = !on;
    if (mixer)
        mixer->SetMuted(!on);
    board.SaveSound(on);
    screen.SetSoundNotice(on);
    noticeTimer.start();
    dialog.Invalidate();
    WindowAccessible::Announce(dialog, ReaderWords::Sound(on));
}
