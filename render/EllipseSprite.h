#pragma once

#include <QImage>
#include <QPoint>

#include <cstdint>
#include <vector>

// The pixels of one drawn shape, kept as the runs of covered pixels of each row so that the
// shape can be copied anywhere without drawing it again. Built from a canvas whose covered
// pixels are opaque and the rest fully transparent; origin is the canvas point that lands on
// the copy's (left, top).
class EllipseSprite {
public:
    EllipseSprite(const QImage& canvas, QPoint origin);

    // Whether the shape reaches the canvas's edge, so that the canvas may have cut it.
    bool TouchesEdge() const { return touchesEdge; }

    // Copies the shape with its top-left corner at (left, top), clipped to the target's edges.
    // target is an RGB32 image of width x height pixels, stride bytes per row.
    void CopyTo(uchar* target, qsizetype stride, int width, int height, int left, int top) const;

private:
    struct Run {
        int y;
        int x0;
        int x1;
        int first;
    };

    std::vector<Run> runs;
    std::vector<std::uint32_t> pixels;
    bool touchesEdge = false;
};
