// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/Geometry.h"

#include <map>

class QWidget;

// The window's layout as child controls that are never shown, each by its id: their rectangles
// place the drawn parts, and the game thread enables and disables them as the screens change.
class HiddenControls {
public:
    // The controls are the window's children, and go with it.
    explicit HiddenControls(QWidget& window);

    // rect in client coordinates; a control is made disabled, as the title shows it.
    void Add(int controlId, const Rect& rect, bool enabled = false);
    // Empty when there is no such control.
    Rect RectOf(int controlId) const;
    // Thread-safe: queued to the control. False when there is no such control.
    bool Enable(int controlId, bool enable);

private:
    QWidget& window;
    std::map<int, QWidget*> controls;
};
