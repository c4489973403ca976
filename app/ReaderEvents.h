// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/GameEventSink.h"

class MainDialog;

// The moments of the game that a screen reader is told of (weights swallowed or lost, the
// game's end), taken from the same events the sound hears and handed to the window's thread
// by a queued call, in the order they came. The others are dropped at once.
class ReaderEvents : public GameEventSink {
public:
    explicit ReaderEvents(MainDialog& dialog);

    // Posts to the window's event queue, as a repaint request does.
    void Notify(GameEvent event, int value) noexcept override;

private:
    MainDialog& dialog;
};
