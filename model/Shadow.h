// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/Geometry.h"
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
    // Whether the ellipse drawn in box covers the pixel pt.
    static bool EllipseHolds(const Rect& box, Point pt);

    // Ticks since the shadow came; it swallows nothing in its first HarmlessTicks.
    int ageTicks = 0;
};
