// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

// Integer lines on 32-bit pixels. Step k of a line's major axis lands on the minor coordinate
// round(k * minor / major), halves rounded away from the start, and the end point is left out.
namespace LineRaster {

// Keeps the line arithmetic inside 64 bits.
constexpr int CoordinateLimit = 1 << 30;

inline int ClampCoordinate(int value)
{
    return std::clamp(value, -CoordinateLimit, CoordinateLimit);
}

// width x height pixels, stride pixels per row.
struct Grid {
    std::uint32_t* bits;
    std::ptrdiff_t stride;
    int width;
    int height;
};

enum class Mode { Copy, Xor };

// The line from (x0, y0) toward (x1, y1), the steps inside the grid only. A thickness above 1
// widens it toward higher minor coordinates. Copy writes colour; Xor flips the colour's RGB
// bits, so that the same line twice restores the pixels.
void PlotLine(const Grid& grid, int x0, int y0, int x1, int y1, std::uint32_t colour, int thickness,
              Mode mode);

} // namespace LineRaster
