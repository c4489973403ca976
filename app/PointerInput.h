// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/Geometry.h"

#include <optional>

class MainDialog;
class PlayInput;
class QEnterEvent;
class QMouseEvent;
class RecordsView;

// The mouse in the window, by its left button: during play the swing gesture, never in a
// replayed world; on the title the hover and a release's press of a drawn button; on the
// records a release on a row with a replay watches it, and one anywhere else goes back.
class PointerInput {
public:
    // All on the window's thread; the others outlive the pointer.
    PointerInput(MainDialog& dialog, PlayInput& input, RecordsView& records);

    // The window's mouse events; Press and Release return false for a button they leave to
    // the window.
    void Move(const QMouseEvent& event);
    bool Press(const QMouseEvent& event);
    bool Release(const QMouseEvent& event);
    void Enter(const QEnterEvent& event);
    void Leave();
    // Outside play: the title's hover from where the pointer is now.
    void ShowHover();

private:
    // Where the pointer is now, and the handler's work when the button is the left one.
    bool LeftButton(const QMouseEvent& event, void (PointerInput::*handler)(Point));
    void OnMouseMove(Point point);
    void OnLButtonDown(Point point);
    void OnLButtonUp(Point point);

    MainDialog& dialog;
    PlayInput& input;
    RecordsView& records;
    // Where the window last saw the pointer; empty while it is outside. Some display servers
    // tell no global cursor position, so the hover on the title is recomputed from this.
    std::optional<Point> pointer;
};
