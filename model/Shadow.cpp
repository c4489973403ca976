// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "model/Shadow.h"

#include <algorithm>

Shadow::Shadow(double centreX, double centreY, double speedX, double speedY, int diameter)
{
    x = centreX;
    y = centreY;
    velocityX = speedX;
    velocityY = speedY;
    width = diameter;
    height = diameter;
}

void Shadow::Move(const Rect& area)
{
    ageTicks += 1;
    const auto bounce = [](Relaxed<double>& position, Relaxed<double>& velocity, int low, int high) {
        double next = position + velocity;
        if (next < low) {
            next = 2.0 * low - next;
            velocity = -velocity;
        } else if (next > high) {
            next = 2.0 * high - next;
            velocity = -velocity;
        }
        position = std::clamp(next, double(low), double(high));
    };
    bounce(x, velocityX, area.left, area.right - 1);
    bounce(y, velocityY, area.top, area.bottom - 1);
}

void Shadow::Grow(int growth, int maxDiameter)
{
    if (width >= maxDiameter)
        return;
    const int diameter = std::min(width + growth, maxDiameter);
    width = diameter;
    height = diameter;
}

bool Shadow::HitTest(Point pt) const
{
    return EllipseHolds(GetRect(), pt);
}
