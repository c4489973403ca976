// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "app/PlayInput.h"
#include "base/GameEventSink.h"
#include "base/Geometry.h"
#include "render/Screen.h"

#include <QCoreApplication>
#include <QString>

#include <optional>

// The words a screen reader hears of the game, in the language the application uses: what
// happens, where the crosshair is, what the field and the title show.
class ReaderWords {
    Q_DECLARE_TR_FUNCTIONS(ReaderWords)

public:
    struct FieldState {
        // The play scene's status text: the time.
        QString time;
        int swinging = 0;
        int carried = 0;
        int shadows = 0;
        // Pixels between the nearest shadow's edge and a weight; none without both.
        std::optional<int> nearestShadow;
    };

    static QString Field(const FieldState& state);
    // A cell of the field cut in three by three: "左上", "中央", "右下"...
    static QString PlaceOnField(Point point, const Rect& area);
    // What a key of the gesture did, with the crosshair there; rope is the rope's length in
    // pixels, used while a weight is carried and when it is let go.
    static QString Step(PlayInput::KeyStep step, Point aim, const Rect& area, int rope);
    // Weights swallowed or lost off the field, with the weights left swinging.
    static QString WeightsGone(GameEvent event, int left);
    // The title's line for the game just over, with its place in the records or -1.
    static QString GameOver(const QString& line, int place);
    static QString Pause(bool paused);
    static QString Sound(bool on);
    // The title's status line: the best time, none while it is 0, then the last game's line.
    static QString TitleStatus(double bestTime, const QString& shownBest, const QString& lastGame);
    // How to play, keys first, short enough to hear at once.
    static QString SpokenHint();
    // How to leave the records view.
    static QString RecordsBack();
    // A row of the records, marked when it is the last game recorded in this run.
    static QString RowSentence(int place, const RecordRow& row, bool marked);
};
