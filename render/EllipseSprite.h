// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QImage>
#include <QPoint>

#include <cstdint>
#include <vector>

// The pixels of one drawn shape, kept as the runs of covered pixels of each row so that the
// shape can be copied anywhere without drawing it again. Built from a canvas whose covered
// pixels are opaque and the rest fully transparent; origin is the canvas point that lands on
// the copy's (left, top). A sprite serves targets of one stride, given in pixels per row.
class EllipseSprite {
public:
    EllipseSprite(const QImage& canvas, QPoint origin, qsizetype stride);

    // Whether the shape reaches the canvas's edge, so that the canvas may have cut it.
    bool TouchesEdge() const { return touchesEdge; }

    // Copies the shape with its top-left corner at (left, top), clipped to the target's edges.
    // target holds width x height pixels with the sprite's stride.
    void CopyTo(std::uint32_t* target, int width, int height, int left, int top) const;

private:
    // The covered pixels x0..x1-1 of row y, relative to the copy's top-left corner, which are
    // offset pixels on from it in the target; their colours start at pixels[first].
    struct Run {
        qsizetype offset;
        int y;
        int x0;
        int x1;
        int first;
    };

    qsizetype stride;
    std::vector<Run> runs;
    std::vector<std::uint32_t> pixels;
    // The box round every run, relative to the copy's top-left corner.
    int minX = 0;
    int minY = 0;
    int maxX = 0;
    int maxY = 0;
    bool touchesEdge = false;
};
