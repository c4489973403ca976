// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/Geometry.h"

#include <QtGlobal>

#include <array>
#include <cstddef>

// The drawn buttons of the title, top to bottom: the order the keys move the focus in, and
// each one's row in TitleButtons.
enum class TitleButton { Read, Start, Exit };

// What a press of a title button does, by the mouse, a key or a screen reader.
enum class TitleAction { ShowRecords, StartGame, Exit };

struct TitleButtonRow {
    TitleButton button;
    // The hidden control that places it in the window, by the window's id for it.
    int controlId;
    // In client pixels.
    Rect rect;
    // Drawn on the button, and its name to a screen reader.
    const char* caption;
    // What a screen reader tells of it, in the context "WindowAccessible".
    const char* description;
    TitleAction press;
    // Whether a press clicks: Exit's click would never be heard, the program ending first.
    bool clicks;
};

// The one table of the title's buttons that the screen, the window, the screen reader's
// interface, the tests and the benchmark read. Read takes the title's top-right corner, clear of
// the panel, the Start and Exit buttons and the lines under them.
inline constexpr std::array<TitleButtonRow, 3> TitleButtons{{
    {TitleButton::Read,
     1003,
     {341, 12, 437, 46},
     "Read",
     QT_TRANSLATE_NOOP("WindowAccessible", "記録を見る"),
     TitleAction::ShowRecords,
     true},
    {TitleButton::Start,
     1001,
     {159, 201, 281, 243},
     "Start",
     QT_TRANSLATE_NOOP("WindowAccessible", "ゲームを始める"),
     TitleAction::StartGame,
     true},
    {TitleButton::Exit,
     1,
     {159, 269, 281, 311},
     "Exit",
     QT_TRANSLATE_NOOP("WindowAccessible", "終了する"),
     TitleAction::Exit,
     false},
}};

constexpr const TitleButtonRow& RowOf(TitleButton button)
{
    return TitleButtons[static_cast<std::size_t>(button)];
}

static_assert(
    [] {
        for (std::size_t row = 0; row < TitleButtons.size(); ++row) {
            if (static_cast<std::size_t>(TitleButtons[row].button) != row)
                return false;
        }
        return true;
    }(),
    "each button's row is where its value points");

// The rest of the title's layout in client pixels: the whole client area is the play area.
inline constexpr Rect ClientArea{0, 0, 449, 407};
inline constexpr Rect TitlePanel{93, 66, 348, 131};
