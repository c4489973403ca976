// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "render/EllipseSprite.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// Sixteen bytes at a time, the last block overlapping the one before: a weight's row of about
// thirty pixels costs eight moves and no call.
inline void CopyPixels(std::uint32_t* target, const std::uint32_t* source, int count)
{
    constexpr int Block = 4;
    if (count < Block) {
        for (int i = 0; i < count; ++i)
            target[i] = source[i];
        return;
    }
    for (int i = 0; i + Block < count; i += Block)
        std::memcpy(target + i, source + i, sizeof(std::uint32_t) * Block);
    std::memcpy(target + count - Block, source + count - Block, sizeof(std::uint32_t) * Block);
}

} // namespace

EllipseSprite::EllipseSprite(const QImage& canvas, QPoint origin, qsizetype stride)
    : stride(stride)
{
    const QImage argb = canvas.convertToFormat(QImage::Format_ARGB32);
    const int width = argb.width();
    const int height = argb.height();
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        int x = 0;
        while (x < width) {
            if (qAlpha(row[x]) == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && qAlpha(row[x]) != 0)
                ++x;
            if (start == 0 || x == width || y == 0 || y == height - 1)
                touchesEdge = true;
            const int runY = y - origin.y();
            const int runX = start - origin.x();
            runs.push_back(
                Run{stride * runY + runX, runY, runX, x - origin.x(), static_cast<int>(pixels.size())});
            for (int i = start; i < x; ++i)
                pixels.push_back(row[i] | 0xFF000000u);
        }
    }
    if (runs.empty())
        return;
    minX = INT_MAX;
    maxX = INT_MIN;
    for (const Run& run : runs) {
        minX = std::min(minX, run.x0);
        maxX = std::max(maxX, run.x1);
    }
    minY = runs.front().y;
    maxY = runs.back().y + 1;
}

void EllipseSprite::CopyTo(std::uint32_t* target, int width, int height, int left, int top) const
{
    if (left + minX >= 0 && top + minY >= 0 && left + maxX <= width && top + maxY <= height) {
        const qsizetype origin = stride * top + left;
        for (const Run& run : runs)
            CopyPixels(target + (origin + run.offset), pixels.data() + run.first, run.x1 - run.x0);
        return;
    }
    for (const Run& run : runs) {
        const int y = top + run.y;
        if (y < 0 || y >= height)
            continue;
        const int x0 = std::max(left + run.x0, 0);
        const int x1 = std::min(left + run.x1, width);
        if (x0 >= x1)
            continue;
        CopyPixels(target + stride * y + x0, pixels.data() + run.first + (x0 - left - run.x0), x1 - x0);
    }
}
