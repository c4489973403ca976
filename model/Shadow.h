// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/Geometry.h"
#include "base/Relaxed.h"
#include "model/GameObject.h"

// A round shadow that drifts over the play area in a straight line and puts out every weight
// whose centre it covers. Moved and grown on the game thread; painted on the window's thread.
class Shadow : public GameObject {
public:
    // velocityX and velocityY in pixels per tick.
    Shadow(double centreX, double centreY, double speedX, double speedY, int diameter);

    // One tick of drift. The centre bounces off the area's edges, so that half the shadow
    // reaches past every edge and no corner is out of its reach.
    void Move(const Rect& area);
    // After swallowing a weight: growth pixels more across, up to maxDiameter.
    void Grow(int growth, int maxDiameter);

    // Inside the ellipse drawn in the shadow's rectangle; the rectangle's corners are not.
    bool HitTest(Point pt) const override;
    // Whether the ellipse drawn in box covers the pixel pt. The drawn ellipse fills the pixels
    // l to r - 1 of its box: centred between the first and the last, reaching half a pixel past
    // their centres. Inline: the tick asks it for every weight near a shadow.
    static bool EllipseHolds(const Rect& box, Point pt)
    {
        if (!PtInRect(box, pt))
            return false;
        const double radiusX = box.Width() / 2.0;
        const double radiusY = box.Height() / 2.0;
        const double dx = (pt.x - (box.left + box.right - 1) / 2.0) / radiusX;
        const double dy = (pt.y - (box.top + box.bottom - 1) / 2.0) / radiusY;
        return dx * dx + dy * dy <= 1.0;
    }

    // A shadow swallows nothing until it has been on the field for more than harmlessTicks.
    bool IsHarmless(int harmlessTicks) const { return ageTicks <= harmlessTicks; }

    // Ticks since the shadow came: counted on the game thread, read by the painting too.
    Relaxed<int> ageTicks{0};
};
