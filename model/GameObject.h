// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/Geometry.h"
#include "base/Relaxed.h"

// Something that moves on the play area: a centre position in doubles and a size in pixels.
// Integer views of the position (GetRect, GetPoint) truncate toward zero.
class GameObject {
public:
    GameObject();
    virtual ~GameObject() = default;
    GameObject(const GameObject&) = delete;
    GameObject& operator=(const GameObject&) = delete;

    // A width x height box centred on the position; half sizes are integer halves.
    virtual Rect GetRect() const;
    virtual Point GetPoint() const;
    virtual double GetX() const;
    virtual double GetY() const;
    virtual void SetPosition(double newX, double newY);
    virtual void SetPoint(int newX, int newY);
    virtual void SetX(double newX);
    virtual void SetY(double newY);
    virtual void MoveBy(double dx, double dy);
    virtual void StepLeft();
    virtual void StepRight();
    virtual void StepUp();
    virtual void StepDown();
    virtual void Step();
    virtual int GetWidth() const;
    virtual void SetWidth(int newWidth);
    virtual int GetHeight() const;
    virtual void SetHeight(int newHeight);

    double Distance(int px, int py) const;
    // The left and top edges belong to the rectangle, the right and bottom edges do not.
    virtual bool HitTest(Point pt) const;
    // Whether this object's rectangle holds the other object's truncated centre.
    bool HitTest(const GameObject& other) const;

    Relaxed<double> x;
    Relaxed<double> y;
    // Relaxed: a shadow grows on the game thread while the window paints it.
    Relaxed<int> width{10};
    Relaxed<int> height{10};
    Relaxed<double> velocityX;
    Relaxed<double> velocityY;
    double stepX = 1.0;
    double stepY = 1.0;
    Relaxed<int> updateCount;
    Relaxed<bool> alive{true};

private:
    void Init();
};
