#include "render/EllipseSprite.h"

#include <algorithm>
#include <cstring>

EllipseSprite::EllipseSprite(const QImage& canvas, QPoint origin)
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
            runs.push_back(Run{y - origin.y(), start - origin.x(), x - origin.x(), static_cast<int>(pixels.size())});
            for (int i = start; i < x; ++i)
                pixels.push_back(row[i] | 0xFF000000u);
        }
    }
}

void EllipseSprite::CopyTo(uchar* target, qsizetype stride, int width, int height, int left, int top) const
{
    for (const Run& run : runs) {
        const int y = top + run.y;
        if (y < 0 || y >= height)
            continue;
        const int x0 = std::max(left + run.x0, 0);
        const int x1 = std::min(left + run.x1, width);
        if (x0 >= x1)
            continue;
        auto* row = reinterpret_cast<std::uint32_t*>(target + stride * y) + x0;
        const std::uint32_t* source = pixels.data() + run.first + (x0 - left - run.x0);
        std::memcpy(row, source, sizeof(std::uint32_t) * static_cast<std::size_t>(x1 - x0));
    }
}
