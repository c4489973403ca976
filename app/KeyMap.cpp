// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/KeyMap.h"

#include <QKeyEvent>

namespace {

using Command = KeyMap::Command;

constexpr int Title = static_cast<int>(KeyMap::View::Title);
constexpr int Records = static_cast<int>(KeyMap::View::Records);
constexpr int Play = static_cast<int>(KeyMap::View::Play);
constexpr int Replay = static_cast<int>(KeyMap::View::Replay);
constexpr int Anywhere = Title | Records | Play | Replay;

// A chord with Ctrl, Alt or Meta is none of the window's letters, Enter, Space or arrows.
constexpr Qt::KeyboardModifiers Chord = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
// Qt's own focus keys refuse only these.
constexpr Qt::KeyboardModifiers CtrlAlt = Qt::ControlModifier | Qt::AltModifier;
// Escape closes a dialog only alone, as QKeySequence::Cancel.
constexpr Qt::KeyboardModifiers Alone = Chord | Qt::ShiftModifier;

enum Repeat { Once, Repeats };

struct Row {
    Qt::Key key;
    int views;
    // The modifiers that keep the row from matching, and those it needs.
    Qt::KeyboardModifiers refused;
    Qt::KeyboardModifiers needed;
    // A row that acts once a press takes the key's repeats and does nothing.
    Repeat repeat;
    Command command;
};

// The first row that matches a key is its only one.
const Row Rows[] = {
    {Qt::Key_F1, Anywhere, {}, {}, Repeats, Command::About},
    {Qt::Key_Backtab, Title, CtrlAlt, {}, Repeats, Command::FocusPrevious},
    {Qt::Key_Tab, Title, CtrlAlt, Qt::ShiftModifier, Repeats, Command::FocusPrevious},
    {Qt::Key_Tab, Title, CtrlAlt, {}, Repeats, Command::FocusNext},
    {Qt::Key_Backtab, Records | Play | Replay, CtrlAlt, {}, Repeats, Command::None},
    {Qt::Key_Tab, Records | Play | Replay, CtrlAlt, {}, Repeats, Command::None},

    {Qt::Key_Left, Play, Chord, {}, Repeats, Command::AimLeft},
    {Qt::Key_Right, Play, Chord, {}, Repeats, Command::AimRight},
    {Qt::Key_Up, Play, Chord, {}, Repeats, Command::AimUp},
    {Qt::Key_Down, Play, Chord, {}, Repeats, Command::AimDown},
    {Qt::Key_Return, Play, Chord, {}, Once, Command::SwingEnter},
    {Qt::Key_Enter, Play, Chord, {}, Once, Command::SwingEnter},
    {Qt::Key_Escape, Play, Alone, {}, Repeats, Command::DropDragOrBack},
    {Qt::Key_Escape, Play, Chord, {}, Repeats, Command::DropDrag},

    {Qt::Key_Return, Title, Chord, {}, Once, Command::PressFocused},
    {Qt::Key_Enter, Title, Chord, {}, Once, Command::PressFocused},
    {Qt::Key_Space, Title, Chord, {}, Once, Command::PressFocused},
    {Qt::Key_Up, Title, Chord, {}, Repeats, Command::FocusPrevious},
    {Qt::Key_Left, Title, Chord, {}, Repeats, Command::FocusPrevious},
    {Qt::Key_Down, Title, Chord, {}, Repeats, Command::FocusNext},
    {Qt::Key_Right, Title, Chord, {}, Repeats, Command::FocusNext},

    {Qt::Key_Up, Records, Chord, {}, Repeats, Command::SelectPrevious},
    {Qt::Key_Down, Records, Chord, {}, Repeats, Command::SelectNext},
    {Qt::Key_Return, Records, Chord, {}, Once, Command::Watch},
    {Qt::Key_Enter, Records, Chord, {}, Once, Command::Watch},

    // '+' is Shift with another key on many layouts, so Shift never keeps these from matching.
    {Qt::Key_Right, Replay, Chord, {}, Once, Command::Faster},
    {Qt::Key_Plus, Replay, Chord, {}, Once, Command::Faster},
    {Qt::Key_Left, Replay, Chord, {}, Once, Command::Slower},
    {Qt::Key_Minus, Replay, Chord, {}, Once, Command::Slower},
    {Qt::Key_Escape, Replay, Alone, {}, Repeats, Command::Back},

    {Qt::Key_P, Anywhere, Chord, {}, Once, Command::Pause},
    {Qt::Key_Space, Records | Play | Replay, Chord, {}, Once, Command::Pause},
    {Qt::Key_M, Anywhere, Chord, {}, Once, Command::Sound},
    {Qt::Key_R, Title | Records, Chord, {}, Once, Command::ToggleRecords},
    {Qt::Key_R, Play | Replay, Chord, {}, Repeats, Command::None},
    {Qt::Key_Escape, Title | Records, Alone, {}, Repeats, Command::Back},
};

} // namespace

std::optional<Command> KeyMap::Find(const QKeyEvent& event, View view)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    for (const Row& row : Rows) {
        if (row.key != event.key() || !(row.views & static_cast<int>(view)) || (modifiers & row.refused)
            || (modifiers & row.needed) != row.needed)
            continue;
        return row.repeat == Once && event.isAutoRepeat() ? Command::None : row.command;
    }
    return std::nullopt;
}
