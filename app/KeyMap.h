// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <optional>

class QKeyEvent;

// The main window's keys: one table from a key, its modifiers and whether it repeats, in the
// view on show, to what the window does. A new key is a row of the table in KeyMap.cpp.
class KeyMap {
public:
    enum class View { Title = 1, Records = 2, Play = 4, Replay = 8 };
    enum class Command {
        // Taken, and nothing done: a held key that acts once a press, or a key of another view.
        None,
        About,
        Pause,
        Sound,
        ToggleRecords,
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
        // What the window's close request does: stop a game or a replay, or leave the records.
        Back,
        // The row of the records that Enter watches.
        SelectPrevious,
        SelectNext,
        // Plays the selected row's replay, when it has one.
        Watch,
        // A replay's pace, doubled or halved within its bounds.
        Faster,
        Slower,
    };

    // Nothing for a key the window leaves alone.
    static std::optional<Command> Find(const QKeyEvent& event, View view);
};
