// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "render/LineRaster.h"

#include <cstdlib>
#include <optional>

namespace LineRaster {

namespace {

// A line reduced to its major and minor axes, with the steps [first, last) that reach into
// the grid. Its minor coordinate at step k is minorStart + minorStep * q(k), where
// q(k) = (2 k minor + major) / (2 major) rounded down, which never decreases.
struct Walk {
    bool xMajor;
    std::int64_t major;
    std::int64_t minor;
    int majorStep;
    int minorStep;
    std::int64_t majorStart;
    std::int64_t minorStart;
    std::int64_t minorLimit;
    std::int64_t first;
    std::int64_t last;
    // Pixel offsets of one step along each axis.
    std::ptrdiff_t majorIncrement;
    std::ptrdiff_t minorIncrement;
};

// A position on the line: its pixel, and the error of the minor coordinate, which runs from
// -2 major up to below 0; a step that brings it to 0 or more moves the minor coordinate.
struct Cursor {
    std::ptrdiff_t offset;
    std::int64_t error;
};

// The first step k whose q(k) reaches at least q.
std::int64_t FirstReaching(std::int64_t major, std::int64_t minor, std::int64_t q)
{
    if (q <= 0)
        return 0;
    if (minor == 0)
        return major;
    const std::int64_t numerator = 2 * major * q - major;
    return (numerator + 2 * minor - 1) / (2 * minor);
}

// Empty when no step of the line lands inside the grid; a thick line counts with any of its
// pixels across.
std::optional<Walk> ClipLine(const Grid& grid, int x0, int y0, int x1, int y1, int thickness)
{
    x0 = ClampCoordinate(x0);
    y0 = ClampCoordinate(y0);
    x1 = ClampCoordinate(x1);
    y1 = ClampCoordinate(y1);
    const std::int64_t dx = std::int64_t{x1} - x0;
    const std::int64_t dy = std::int64_t{y1} - y0;
    Walk walk{};
    walk.xMajor = std::abs(dx) >= std::abs(dy);
    walk.major = std::abs(walk.xMajor ? dx : dy);
    walk.minor = std::abs(walk.xMajor ? dy : dx);
    if (walk.major == 0)
        return std::nullopt;
    walk.majorStep = (walk.xMajor ? dx : dy) < 0 ? -1 : 1;
    walk.minorStep = (walk.xMajor ? dy : dx) < 0 ? -1 : 1;
    walk.majorStart = walk.xMajor ? x0 : y0;
    walk.minorStart = walk.xMajor ? y0 : x0;
    const std::int64_t majorLimit = walk.xMajor ? grid.width : grid.height;
    walk.minorLimit = walk.xMajor ? grid.height : grid.width;

    // The steps whose major coordinate majorStart + majorStep * k is inside.
    walk.first = 0;
    walk.last = walk.major;
    if (walk.majorStep > 0) {
        walk.first = std::max<std::int64_t>(walk.first, -walk.majorStart);
        walk.last = std::min<std::int64_t>(walk.last, majorLimit - walk.majorStart);
    } else {
        walk.first = std::max<std::int64_t>(walk.first, walk.majorStart - majorLimit + 1);
        walk.last = std::min<std::int64_t>(walk.last, walk.majorStart + 1);
    }

    // Of those, the steps with lowest <= q(k) <= highest: their minor coordinate is inside.
    const std::int64_t widening = thickness - 1;
    const std::int64_t lowest =
        walk.minorStep > 0 ? -walk.minorStart - widening : walk.minorStart - walk.minorLimit + 1;
    const std::int64_t highest =
        walk.minorStep > 0 ? walk.minorLimit - 1 - walk.minorStart : walk.minorStart + widening;
    if (highest < 0 || lowest > highest)
        return std::nullopt;
    walk.first = std::max(walk.first, FirstReaching(walk.major, walk.minor, lowest));
    walk.last = std::min(walk.last, FirstReaching(walk.major, walk.minor, highest + 1));
    if (walk.first >= walk.last)
        return std::nullopt;

    walk.majorIncrement = walk.xMajor ? walk.majorStep : walk.majorStep * grid.stride;
    walk.minorIncrement = walk.xMajor ? walk.minorStep * grid.stride : walk.minorStep;
    return walk;
}

std::int64_t MinorAt(const Walk& walk, std::int64_t k)
{
    return walk.minorStart + walk.minorStep * ((2 * k * walk.minor + walk.major) / (2 * walk.major));
}

Cursor CursorAt(const Walk& walk, std::ptrdiff_t stride, std::int64_t k)
{
    const std::int64_t denominator = 2 * walk.major;
    const std::int64_t numerator = 2 * k * walk.minor + walk.major;
    const std::int64_t minorPos = MinorAt(walk, k);
    const std::int64_t majorPos = walk.majorStart + walk.majorStep * k;
    return Cursor{walk.xMajor ? minorPos * stride + majorPos : majorPos * stride + minorPos,
                  numerator % denominator - denominator};
}

// The plain stepping line: one pixel a step, each handed to plot.
template <typename Plot>
void StepLine(const Grid& grid, const Walk& walk, Plot plot)
{
    const std::int64_t denominator = 2 * walk.major;
    const std::int64_t plainStep = 2 * walk.minor;
    Cursor cursor = CursorAt(walk, grid.stride, walk.first);
    for (std::int64_t k = walk.first; k < walk.last; ++k) {
        plot(grid.bits[cursor.offset]);
        cursor.offset += walk.majorIncrement;
        cursor.error += plainStep;
        if (cursor.error >= 0) {
            cursor.error -= denominator;
            cursor.offset += walk.minorIncrement;
        }
    }
}

// The stepping line, thickness pixels across each step, those inside the grid.
template <typename Plot>
void StepThickLine(const Grid& grid, const Walk& walk, int thickness, Plot plot)
{
    const std::int64_t denominator = 2 * walk.major;
    const std::int64_t plainStep = 2 * walk.minor;
    Cursor cursor = CursorAt(walk, grid.stride, walk.first);
    std::int64_t minorPos = MinorAt(walk, walk.first);
    const std::ptrdiff_t across = walk.xMajor ? grid.stride : 1;
    // The minor coordinate only moves one way: both ends inside means every step is.
    const std::int64_t lowestMinor = std::min(minorPos, MinorAt(walk, walk.last - 1));
    const std::int64_t highestMinor = std::max(minorPos, MinorAt(walk, walk.last - 1));
    const bool inside = lowestMinor >= 0 && highestMinor + thickness <= walk.minorLimit;
    for (std::int64_t k = walk.first; k < walk.last; ++k) {
        for (int j = 0; j < thickness; ++j)
            if (inside || (minorPos + j >= 0 && minorPos + j < walk.minorLimit))
                plot(grid.bits[cursor.offset + j * across]);
        cursor.offset += walk.majorIncrement;
        cursor.error += plainStep;
        if (cursor.error >= 0) {
            cursor.error -= denominator;
            cursor.offset += walk.minorIncrement;
            minorPos += walk.minorStep;
        }
    }
}

// The same pixels as StepLine for a steep or flat line (major >= 2 minor > 0), written run by
// run. Such a line is a chain of runs along the major axis, each one pixel further on the
// minor axis than the one before, all of length shortRun or shortRun + 1: a run of length L
// leaves t = error + L * plainStep in [0, plainStep), and the next run is the longer one
// exactly when t < longRunBelow.
void RunLine(const Grid& grid, const Walk& walk, std::uint32_t colour)
{
    std::uint32_t* const bits = grid.bits;
    const std::ptrdiff_t majorIncrement = walk.majorIncrement;
    const std::ptrdiff_t minorIncrement = walk.minorIncrement;
    const std::int64_t denominator = 2 * walk.major;
    const std::int64_t plainStep = 2 * walk.minor;
    const std::int64_t shortRun = denominator / plainStep;
    const std::int64_t longRunBelow = denominator % plainStep;
    const Cursor cursor = CursorAt(walk, grid.stride, walk.first);
    std::int64_t remaining = walk.last - walk.first;

    // The first run may be cut short, by the grid's edge or by the line's start.
    std::int64_t run = (-cursor.error + plainStep - 1) / plainStep;
    std::int64_t t = cursor.error + run * plainStep;
    std::ptrdiff_t offset = cursor.offset;
    if (run < remaining) {
        for (std::int64_t j = 0; j < run; ++j)
            bits[offset + j * majorIncrement] = colour;
        offset += run * majorIncrement + minorIncrement;
        remaining -= run;
        const std::int64_t nextLong = -static_cast<std::int64_t>(t < longRunBelow);
        run = shortRun + (nextLong & 1);
        t += (plainStep & nextLong) - longRunBelow;
    }

    // The whole runs. Each writes shortRun pixels and then either its own last pixel or the
    // first of the next run, which is written again with the same colour: every run does the
    // same work, so no branch in the loop is guessed wrong.
    while (run < remaining) {
        for (std::int64_t j = 0; j < shortRun; ++j)
            bits[offset + j * majorIncrement] = colour;
        offset += shortRun * majorIncrement;
        const std::ptrdiff_t longMask = -static_cast<std::ptrdiff_t>(run > shortRun);
        bits[offset + (minorIncrement & ~longMask)] = colour;
        offset += (majorIncrement & longMask) + minorIncrement;
        remaining -= run;
        const std::int64_t nextLong = -static_cast<std::int64_t>(t < longRunBelow);
        run = shortRun + (nextLong & 1);
        t += (plainStep & nextLong) - longRunBelow;
    }

    // The last run, which the line's end or the grid's edge may cut short.
    for (std::int64_t j = 0; j < remaining; ++j)
        bits[offset + j * majorIncrement] = colour;
}

} // namespace

void PlotLine(const Grid& grid, int x0, int y0, int x1, int y1, std::uint32_t colour, int thickness,
              Mode mode)
{
    const std::optional<Walk> walk = ClipLine(grid, x0, y0, x1, y1, thickness);
    if (!walk)
        return;
    if (mode == Mode::Xor) {
        const std::uint32_t mask = colour & 0x00FFFFFFu;
        const auto flip = [mask](std::uint32_t& pixel) { pixel ^= mask; };
        if (thickness > 1)
            StepThickLine(grid, *walk, thickness, flip);
        else
            StepLine(grid, *walk, flip);
        return;
    }
    const auto set = [colour](std::uint32_t& pixel) { pixel = colour; };
    if (thickness > 1)
        StepThickLine(grid, *walk, thickness, set);
    else if (walk->minor == 0 || walk->major < 2 * walk->minor)
        StepLine(grid, *walk, set);
    else
        RunLine(grid, *walk, colour);
}

} // namespace LineRaster
