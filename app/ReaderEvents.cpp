// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/ReaderEvents.h"

#include "app/MainDialog.h"
#include "app/WindowAccessible.h"

#include <QMetaObject>

ReaderEvents::ReaderEvents(MainDialog& dialog)
    : dialog(dialog)
{
}

void ReaderEvents::Notify(GameEvent event, int value) noexcept
{
    switch (event) {
    case GameEvent::Swallow:
    case GameEvent::WeightLost:
    case GameEvent::GameOver:
    case GameEvent::NewRecord: break;
    default: return;
    }
    MainDialog* window = &dialog;
    QMetaObject::invokeMethod(
        window, [window, event, value] { WindowAccessible::Heard(*window, event, value); },
        Qt::QueuedConnection);
}
