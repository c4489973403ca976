// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/PlayInput.h"

#include "render/GameScreen.h"

#include <algorithm>
#include <utility>

PlayInput::PlayInput(GameScreen& screen)
    : screen(screen)
{
}

bool PlayInput::MousePress(Point point)
{
    if (gesture == Gesture::Keys)
        Drop();
    screen.crosshairShown = false;
    screen.BeginSwing(point.x, point.y);
    gesture = Gesture::Mouse;
    return true;
}

bool PlayInput::MouseMove(Point point)
{
    const bool hidden = std::exchange(screen.crosshairShown, false);
    if (gesture != Gesture::Mouse)
        return hidden;
    screen.DragSwing(point.x, point.y);
    return true;
}

bool PlayInput::MouseRelease(Point point)
{
    if (gesture != Gesture::Mouse)
        return false;
    screen.ReleaseSwing(point.x, point.y);
    gesture = Gesture::None;
    return true;
}

PlayInput::KeyStep PlayInput::DropKeyDrag()
{
    if (gesture != Gesture::Keys)
        return KeyStep::None;
    Drop();
    return KeyStep::Dropped;
}

void PlayInput::Forget()
{
    gesture = Gesture::None;
}

PlayInput::KeyStep PlayInput::MoveCrosshair(int dx, int dy)
{
    // Inside the field, where a press of the mouse could be.
    const Rect& area = screen.areaRect;
    Point& aim = screen.crosshair;
    aim.x = std::clamp(aim.x + dx, area.left, area.right - 1);
    aim.y = std::clamp(aim.y + dy, area.top, area.bottom - 1);
    screen.crosshairShown = true;
    if (gesture != Gesture::Keys)
        return KeyStep::Aimed;
    screen.DragSwing(aim.x, aim.y);
    return KeyStep::Carried;
}

PlayInput::KeyStep PlayInput::Enter()
{
    const Point aim = screen.crosshair;
    screen.crosshairShown = true;
    if (gesture == Gesture::Keys) {
        screen.ReleaseSwing(aim.x, aim.y);
        gesture = Gesture::None;
        return KeyStep::Released;
    }
    Drop();
    screen.BeginSwing(aim.x, aim.y);
    gesture = Gesture::Keys;
    return KeyStep::Anchored;
}

void PlayInput::Drop()
{
    if (gesture != Gesture::None)
        screen.DropSwing();
    gesture = Gesture::None;
}
