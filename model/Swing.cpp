// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "model/Swing.h"

#include <cmath>

Swing::Swing()
{
    Init();
}

void Swing::Init()
{
    width = 30;
    height = 30;
    velocityX = 0.0;
    velocityY = 0.0;
    anchorX = 0;
    anchorY = 0;
    active.store(false, std::memory_order_relaxed);
    ropeLength = 0;
}

void Swing::Update()
{
    if (!IsActive())
        return;
    updateCount += 1;

    // The plain arctangent of the ratio, not atan2: the weight always lands level with or
    // below its anchor, even when it was released above it.
    const double dy = y - anchorY;
    const double angle = dy == 0.0 ? 0.0 : std::atan((x - anchorX) / dy);
    const double s = std::sin(angle);
    const double c = std::cos(angle);

    velocityX -= c * s;
    if (angle > 0.0)
        velocityY += s * s;
    else
        velocityY -= s * s;

    x += velocityX;
    y = anchorY + ropeLength * c;
}
