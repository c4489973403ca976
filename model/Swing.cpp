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

    // The angle is the plain arctangent of the ratio t, not atan2: the weight always lands level
    // with or below its anchor, even when it was released above it. Its sine and cosine are
    // t / sqrt(1 + t^2) and 1 / sqrt(1 + t^2), which spares three calls into the C library on
    // every tick of every swing. Past 1e150, t^2 would overflow: the angle is then a right one.
    const double dy = y - anchorY;
    const double t = dy == 0.0 ? 0.0 : (x - anchorX) / dy;
    double s = 0.0;
    double c = 1.0;
    if (std::fabs(t) > 1e150) {
        s = std::copysign(1.0, t);
        c = 1.0 / std::fabs(t);
    } else if (t != 0.0) {
        c = 1.0 / std::sqrt(1.0 + t * t);
        s = t * c;
    }

    velocityX -= c * s;
    if (t > 0.0)
        velocityY += s * s;
    else
        velocityY -= s * s;

    x += velocityX;
    y = anchorY + ropeLength * c;
}
