// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "render/DeviceContext.h"

#include <string>

// Pixels of a font size given in tenths of a point, at 96 dots per inch: 200 gives 26.
constexpr int FontPixelSize(int size)
{
    return 96 * size / 720;
}

// Draws one element of the scene on a device context. Each shape selects its own pen and
// brush and puts the previous ones back; it leaves the background colour black and the raster
// operation CopyPen. A label leaves the background mode Transparent.
class Painter {
public:
    explicit Painter(DeviceContext& dc, bool xorMode = false);
    virtual ~Painter() = default;

    void DrawRectangle(int left, int top, int right, int bottom, ColorRef penColour, ColorRef brushColour);
    void DrawEllipse(int left, int top, int right, int bottom, ColorRef penColour, ColorRef brushColour);
    // The outline of the ellipse alone: what lies inside it stays as it was.
    void DrawRing(int left, int top, int right, int bottom, ColorRef penColour);
    void DrawLine(int x1, int y1, int x2, int y2, ColorRef colour, int width);
    // The border of the columns left..right and the rows top..bottom; the inside is untouched.
    void DrawFrame(int left, int top, int right, int bottom, ColorRef colour, int width);
    // One line centred both ways in the rectangle and clipped to it; size in tenths of a point.
    void DrawLabel(int left, int top, int right, int bottom, const std::string& text, int size,
                   ColorRef colour);
    // As DrawLabel, but against the rectangle's left edge.
    void DrawLeftLabel(int left, int top, int right, int bottom, const std::string& text, int size,
                       ColorRef colour);

private:
    void Label(const Rect& rect, const std::string& text, int size, ColorRef colour, TextAlign align);

    DeviceContext* dc;
    bool xorMode;
};
