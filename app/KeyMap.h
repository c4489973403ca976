// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <optional>

class QKeyEvent;

// The main window's keys: one table from a key, its modifiers and whether it repeats, in the
// view on show, to what the window does. A new key is a row of the table in KeyMap.cpp.
class KeyMap {
public:
    enum class View { Title = 1, Records = 2, Play = 4 };
    enum class Command {
        // Taken, and nothing done: a held key that acts once a press, or a key of another view.
        None,
        About,
        Pause,
        Sound,
        ToggleRecords,
        LeaveRecords,
        FocusPrevious,
        FocusNext,
        PressFocused,
        // The crosshair of the play scene, a step that Shift makes fine.
        AimLeft,
        AimRight,
        AimUp,
        AimDown,
        // Fixes the anchor, or releases the weight the keys carry.
        SwingEnter,
        // Drops the weight the keys carry, if any.
        DropDrag,
        // The same, or, when the keys carry none, what the window's close request does.
        DropDragOrBack,
        // What the window's close request does: stop a game or leave the records.
        Back,
    };

    // Nothing for a key the window leaves alone.
    static std::optional<Command> Find(const QKeyEvent& event, View view);
};
