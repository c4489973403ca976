// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "model/ReplayPlayer.h"

class MainDialog;
class PlayInput;
class SoundSwitch;

// The records in place of the title and the replays watched from them: the records as they
// are on disk now, the row that Up and Down pick, which a screen reader reads, and a row's
// replay played in the field until it ends, or Escape or the close request brings the records
// back. Its texts are the window's, and keep the window's name for the translations.
class RecordsView {
public:
    // All on the window's thread; the others outlive the view.
    RecordsView(MainDialog& dialog, PlayInput& input, SoundSwitch& sound);

    // The records in place of the title, records of other copies included.
    void Show();
    // The title again, from the records.
    void Leave();
    // Up and Down in the records.
    void Select(int step);
    // Plays the replay of the record at place in the field, from the records; nothing when
    // the row has none.
    void Watch(int place);
    // The records again, from a replay.
    void StopReplay();
    // The replay's pace doubled (step 1) or halved (step -1); a reader hears a change.
    void ChangePace(int step);

private:
    void OnReplayEnded(ReplayPlayer::State state);

    MainDialog& dialog;
    PlayInput& input;
    SoundSwitch& sound;
};
