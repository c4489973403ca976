// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QRect>

// floor(value × numerator ÷ denominator + ½), for a positive denominator.
constexpr int ScaleRoundingHalfUp(int value, int numerator, int denominator)
{
    const int dividend = 2 * value * numerator + denominator;
    const int divisor = 2 * denominator;
    return dividend >= 0 ? dividend / divisor : -((-dividend + divisor - 1) / divisor);
}

// Dialog units to pixels for the dialogs' base units of 6 × 12 pixels.
constexpr int DialogUnitsToPixelsX(int units)
{
    return ScaleRoundingHalfUp(units, 6, 4);
}

constexpr int DialogUnitsToPixelsY(int units)
{
    return ScaleRoundingHalfUp(units, 12, 8);
}

// A control's rectangle given in dialog units; each edge is converted on its own.
inline QRect DialogUnitsToRect(int x, int y, int width, int height)
{
    const int left = DialogUnitsToPixelsX(x);
    const int top = DialogUnitsToPixelsY(y);
    return QRect(left, top, DialogUnitsToPixelsX(x + width) - left, DialogUnitsToPixelsY(y + height) - top);
}
