// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "render/Painter.h"

#include "render/PenBrushScope.h"

Painter::Painter(DeviceContext& dc, bool xorMode)
    : dc(&dc)
    , xorMode(xorMode)
{
}

void Painter::DrawRectangle(int left, int top, int right, int bottom, ColorRef penColour,
                            ColorRef brushColour)
{
    PenBrushScope scope(*dc, xorMode);
    dc->SetBkColor(0x000000);
    scope.Select(Pen{penColour, 1}, Brush{brushColour});
    dc->Rectangle(left, top, right, bottom);
}

void Painter::DrawEllipse(int left, int top, int right, int bottom, ColorRef penColour, ColorRef brushColour)
{
    PenBrushScope scope(*dc, xorMode);
    dc->SetBkColor(0x000000);
    scope.Select(Pen{penColour, 1}, Brush{brushColour});
    dc->Ellipse(left, top, right, bottom);
}

void Painter::DrawRing(int left, int top, int right, int bottom, ColorRef penColour)
{
    PenBrushScope scope(*dc, xorMode);
    dc->SetBkColor(0x000000);
    scope.Select(Pen{penColour, 1}, Brush{0x000000, true});
    dc->Ellipse(left, top, right, bottom);
}

void Painter::DrawLine(int x1, int y1, int x2, int y2, ColorRef colour, int width)
{
    PenBrushScope scope(*dc, xorMode);
    dc->SetBkColor(0x000000);
    scope.Select(Pen{colour, width}, Brush{colour});
    dc->MoveTo(x1, y1);
    dc->LineTo(x2, y2);
}

void Painter::DrawFrame(int left, int top, int right, int bottom, ColorRef colour, int width)
{
    PenBrushScope scope(*dc, xorMode);
    dc->SetBkColor(0x000000);
    scope.Select(Pen{colour, width}, Brush{0x000000});
    dc->MoveTo(left, top);
    dc->LineTo(right, top);
    dc->LineTo(right, bottom);
    dc->LineTo(left, bottom);
    dc->LineTo(left, top);
}

void Painter::DrawLabel(int left, int top, int right, int bottom, const std::string& text, int size,
                        ColorRef colour)
{
    Label(Rect{left, top, right, bottom}, text, size, colour, TextAlign::Centre);
}

void Painter::DrawLeftLabel(int left, int top, int right, int bottom, const std::string& text, int size,
                            ColorRef colour)
{
    Label(Rect{left, top, right, bottom}, text, size, colour, TextAlign::Left);
}

void Painter::Label(const Rect& rect, const std::string& text, int size, ColorRef colour, TextAlign align)
{
    const Font previousFont = dc->SelectFont(Font{FontPixelSize(size)});
    const ColorRef previousColour = dc->SetTextColor(colour);
    dc->SetBkMode(BackgroundMode::Transparent);
    dc->DrawText(text, rect, align);
    dc->SetTextColor(previousColour);
    dc->SelectFont(previousFont);
}
