// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/PointerInput.h"

#include "app/MainDialog.h"
#include "app/PlayInput.h"
#include "app/RecordsView.h"

#include <QEnterEvent>
#include <QMouseEvent>

#include <utility>

namespace {

Point ClientPoint(const QPointF& position)
{
    const QPoint point = position.toPoint();
    return Point{point.x(), point.y()};
}

// Left of and above the client area, where no drawn button lies.
constexpr Point Outside{-1, -1};

} // namespace

PointerInput::PointerInput(MainDialog& dialog, PlayInput& input, RecordsView& records)
    : dialog(dialog)
    , input(input)
    , records(records)
{
}

void PointerInput::Move(const QMouseEvent& event)
{
    pointer = ClientPoint(event.position());
    OnMouseMove(*pointer);
}

bool PointerInput::Press(const QMouseEvent& event)
{
    return LeftButton(event, &PointerInput::OnLButtonDown);
}

bool PointerInput::Release(const QMouseEvent& event)
{
    return LeftButton(event, &PointerInput::OnLButtonUp);
}

bool PointerInput::LeftButton(const QMouseEvent& event, void (PointerInput::*handler)(Point))
{
    pointer = ClientPoint(event.position());
    if (event.button() != Qt::LeftButton)
        return false;
    (this->*handler)(*pointer);
    return true;
}

void PointerInput::Enter(const QEnterEvent& event)
{
    pointer = ClientPoint(event.position());
}

void PointerInput::Leave()
{
    pointer.reset();
}

void PointerInput::ShowHover()
{
    GameScreen& screen = dialog.GetGameScreen();
    // During play the hover flags stand still while the pointer may move: however the game
    // ended, the title shows them from where the pointer is now.
    if (!screen.IsPlaying())
        screen.UpdateHover(pointer.value_or(Outside));
}

void PointerInput::OnMouseMove(Point point)
{
    GameScreen& screen = dialog.GetGameScreen();
    if (screen.IsPlaying()) {
        // The player's own gestures never reach a replayed world.
        if (!screen.IsReplaying() && input.MouseMove(point))
            dialog.RepaintIfPaused();
        return;
    }
    // The focus ring is the keys' alone: the mouse puts it away.
    const bool ringHidden = std::exchange(screen.focusShown, false);
    // Under the records the buttons are hidden: their hover shows again with the title.
    if ((!screen.IsShowingRecords() && screen.UpdateHover(point)) || ringHidden)
        dialog.Invalidate();
}

void PointerInput::OnLButtonDown(Point point)
{
    const GameScreen& screen = dialog.GetGameScreen();
    if (screen.IsPlaying() && !screen.IsReplaying() && input.MousePress(point))
        dialog.RepaintIfPaused();
}

void PointerInput::OnLButtonUp(Point point)
{
    GameScreen& screen = dialog.GetGameScreen();
    if (screen.IsPlaying()) {
        if (!screen.IsReplaying() && input.MouseRelease(point))
            dialog.RepaintIfPaused();
        return;
    }
    if (screen.IsShowingRecords()) {
        const std::optional<int> place = screen.RecordAt(point);
        if (place && dialog.GetScoreBoard().ReplayAt(*place)) {
            screen.SelectRecord(*place - screen.GetSelectedRecord());
            records.Watch(*place);
        } else {
            records.Leave();
        }
        return;
    }
    if (const std::optional<TitleButton> button = screen.ButtonAt(point))
        dialog.PressTitleButton(*button);
}
