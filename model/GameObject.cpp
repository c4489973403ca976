// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "model/GameObject.h"

#include <cmath>

GameObject::GameObject()
{
    Init();
}

void GameObject::Init()
{
    x = 0.0;
    y = 0.0;
    width = 10;
    height = 10;
    velocityX = 0.0;
    velocityY = 0.0;
    stepX = 1.0;
    stepY = 1.0;
    updateCount = 0;
    alive = true;
}

Rect GameObject::GetRect() const
{
    const int halfWidth = width / 2;
    const int halfHeight = height / 2;
    const double centreX = x;
    const double centreY = y;
    Rect rect;
    SetRect(rect, static_cast<int>(centreX - halfWidth), static_cast<int>(centreY - halfHeight),
            static_cast<int>(centreX + halfWidth), static_cast<int>(centreY + halfHeight));
    return rect;
}

Point GameObject::GetPoint() const
{
    return Point{static_cast<int>(double(x)), static_cast<int>(double(y))};
}

double GameObject::GetX() const
{
    return x;
}

double GameObject::GetY() const
{
    return y;
}

void GameObject::SetPosition(double newX, double newY)
{
    x = newX;
    y = newY;
}

void GameObject::SetPoint(int newX, int newY)
{
    x = newX;
    y = newY;
}

void GameObject::SetX(double newX)
{
    x = newX;
}

void GameObject::SetY(double newY)
{
    y = newY;
}

void GameObject::MoveBy(double dx, double dy)
{
    x += dx;
    y += dy;
}

void GameObject::StepLeft()
{
    x -= stepX;
}

void GameObject::StepRight()
{
    x += stepX;
}

void GameObject::StepUp()
{
    y -= stepY;
}

void GameObject::StepDown()
{
    y += stepY;
}

void GameObject::Step()
{
    x += stepX;
    y += stepY;
}

int GameObject::GetWidth() const
{
    return width;
}

void GameObject::SetWidth(int newWidth)
{
    width = newWidth;
}

int GameObject::GetHeight() const
{
    return height;
}

void GameObject::SetHeight(int newHeight)
{
    height = newHeight;
}

double GameObject::Distance(int px, int py) const
{
    const double dx = x - px;
    const double dy = y - py;
    return std::sqrt(dx * dx + dy * dy);
}

bool GameObject::HitTest(Point pt) const
{
    return PtInRect(GetRect(), pt);
}

bool GameObject::HitTest(const GameObject& other) const
{
    return HitTest(other.GetPoint());
}
