// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

// Rectangles and points in client pixels. Right and bottom are exclusive.

struct Point {
    int x = 0;
    int y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }

    friend bool operator==(const Rect&, const Rect&) = default;
};

inline void SetRect(Rect& rect, int left, int top, int right, int bottom)
{
    rect = Rect{left, top, right, bottom};
}

inline void SetRectEmpty(Rect& rect)
{
    rect = Rect{};
}

inline bool IsRectEmpty(const Rect& rect)
{
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

// left <= x < right and top <= y < bottom.
inline bool PtInRect(const Rect& rect, Point pt)
{
    return pt.x >= rect.left && pt.x < rect.right && pt.y >= rect.top && pt.y < rect.bottom;
}
