#include "render/DeviceContext.h"

#include "render/EllipseSprite.h"

#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// Keeps the line routine's integer arithmetic inside 64 bits.
constexpr int CoordinateLimit = 1 << 30;

// Sprites are kept for ellipses up to this size, and this many of them at a time.
constexpr int MaxSpriteSide = 64;
constexpr std::size_t MaxSprites = 64;
constexpr int SpriteMargin = 8;

int ClampCoordinate(int value)
{
    return std::clamp(value, -CoordinateLimit, CoordinateLimit);
}

// Fills count pixels: a few by hand, then by doubling copies, which memcpy does in wide stores.
void FillPixels(std::uint32_t* pixels, int count, std::uint32_t value)
{
    constexpr int Seed = 16;
    const int seeded = std::min(count, Seed);
    for (int i = 0; i < seeded; ++i)
        pixels[i] = value;
    for (int filled = seeded; filled < count;) {
        const int chunk = std::min(filled, count - filled);
        std::memcpy(pixels + filled, pixels, sizeof(std::uint32_t) * static_cast<std::size_t>(chunk));
        filled += chunk;
    }
}

} // namespace

DeviceContext::DeviceContext(int width, int height)
    : image(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32), imageWidth(image.width())
{
    image.fill(0xFF000000u);
}

DeviceContext::~DeviceContext()
{
    ClosePainter();
}

const QImage& DeviceContext::Image()
{
    ClosePainter();
    return image;
}

Pen DeviceContext::SelectPen(Pen newPen)
{
    return std::exchange(pen, newPen);
}

Brush DeviceContext::SelectBrush(Brush newBrush)
{
    return std::exchange(brush, newBrush);
}

Font DeviceContext::SelectFont(Font newFont)
{
    return std::exchange(font, newFont);
}

ColorRef DeviceContext::SetBkColor(ColorRef colour)
{
    return std::exchange(bkColor, colour);
}

BackgroundMode DeviceContext::SetBkMode(BackgroundMode mode)
{
    return std::exchange(bkMode, mode);
}

RasterOp DeviceContext::SetROP2(RasterOp op)
{
    return std::exchange(rasterOp, op);
}

ColorRef DeviceContext::SetTextColor(ColorRef colour)
{
    return std::exchange(textColor, colour);
}

Point DeviceContext::MoveTo(int x, int y)
{
    return std::exchange(position, Point{x, y});
}

void DeviceContext::LineTo(int x, int y)
{
    const Point from = std::exchange(position, Point{x, y});
    if (image.isNull())
        return;
    if (pen.width <= 1) {
        PlotLine(from.x, from.y, x, y, ToQRgb(pen.colour));
        return;
    }
    QPainter& painter = OpenPainter();
    SetShapeState(painter, pen, brush, rasterOp);
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(from.x, from.y, x, y);
}

void DeviceContext::Rectangle(int left, int top, int right, int bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    if (right == left || bottom == top || image.isNull())
        return;

    if (pen.width > 1) {
        QPainter& painter = OpenPainter();
        SetShapeState(painter, pen, brush, rasterOp);
        painter.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
        return;
    }

    const QRgb penRgb = ToQRgb(pen.colour);
    const QRgb brushRgb = ToQRgb(brush.colour);
    const int firstRow = std::max(top, 0);
    const int lastRow = std::min(bottom, image.height()) - 1;
    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const int x0 = std::max(left, 0);
    const int x1 = std::min(right, imageWidth);
    const std::uint32_t* inside = nullptr;
    for (int y = firstRow; y <= lastRow; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(bits + stride * y);
        if (y == top || y == bottom - 1 || right - left <= 2) {
            PlotSpan(row, left, right, penRgb);
            continue;
        }
        // Every inner row of a copied rectangle is the same: draw the first, copy it to the rest.
        if (inside && x1 > x0) {
            std::memcpy(row + x0, inside + x0, sizeof(std::uint32_t) * static_cast<std::size_t>(x1 - x0));
            continue;
        }
        PlotSpan(row, left, left + 1, penRgb);
        PlotSpan(row, left + 1, right - 1, brushRgb);
        PlotSpan(row, right - 1, right, penRgb);
        if (rasterOp == RasterOp::CopyPen)
            inside = row;
    }
}

void DeviceContext::Ellipse(int left, int top, int right, int bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    if (right == left || bottom == top || image.isNull())
        return;
    const int width = right - left;
    const int height = bottom - top;
    if (right <= 0 || bottom <= 0 || left >= image.width() || top >= image.height())
        return;
    if (useSprites && rasterOp == RasterOp::CopyPen && pen.width <= 1 && width <= MaxSpriteSide &&
        height <= MaxSpriteSide) {
        if (const EllipseSprite* sprite = SpriteFor(SpriteKey{width, height, pen.colour, brush.colour})) {
            sprite->CopyTo(image.bits(), image.bytesPerLine(), image.width(), image.height(), left, top);
            return;
        }
    }
    QPainter& painter = OpenPainter();
    SetShapeState(painter, pen, brush, rasterOp);
    painter.drawEllipse(QRect(left, top, width - 1, height - 1));
}

void DeviceContext::UseEllipseSprites(bool use)
{
    useSprites = use;
}

const EllipseSprite* DeviceContext::SpriteFor(const SpriteKey& key)
{
    for (const auto& [spriteKey, sprite] : sprites)
        if (spriteKey == key)
            return sprite.get();
    if (sprites.size() >= MaxSprites)
        sprites.clear();

    // Drawn exactly as the plain path draws it, onto a transparent canvas to find its pixels.
    // Qt's outline of a flat ellipse reaches past the ends of its box, so the canvas has a margin;
    // a shape that reaches the canvas's edge anyway is left to the plain path.
    QImage canvas(key.width + 2 * SpriteMargin, key.height + 2 * SpriteMargin, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    SetShapeState(painter, Pen{key.pen, 1}, Brush{key.brush}, RasterOp::CopyPen);
    painter.drawEllipse(QRect(SpriteMargin, SpriteMargin, key.width - 1, key.height - 1));
    painter.end();
    auto sprite = std::make_unique<EllipseSprite>(canvas, QPoint(SpriteMargin, SpriteMargin));
    if (sprite->TouchesEdge())
        sprite.reset();
    sprites.emplace_back(key, std::move(sprite));
    return sprites.back().second.get();
}

void DeviceContext::DrawText(const std::string& text, const Rect& rect, TextAlign align)
{
    if (text.empty() || IsRectEmpty(rect) || image.isNull())
        return;
    QPainter& painter = OpenPainter();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QRect box(rect.left, rect.top, rect.Width(), rect.Height());
    painter.setClipRect(box);
    painter.setFont(FontFor(font.pixelSize));
    painter.setPen(ToQColor(textColor));
    painter.setBackground(ToQColor(bkColor));
    painter.setBackgroundMode(bkMode == BackgroundMode::Opaque ? Qt::OpaqueMode : Qt::TransparentMode);
    const int flags = Qt::TextSingleLine | Qt::AlignVCenter |
                      (align == TextAlign::Left ? Qt::AlignLeft : Qt::AlignHCenter);
    painter.drawText(box, flags, QString::fromStdString(text));
    painter.setClipping(false);
}

QPainter& DeviceContext::OpenPainter()
{
    if (!painter)
        painter.emplace(&image);
    return *painter;
}

void DeviceContext::ClosePainter()
{
    painter.reset();
}

void DeviceContext::SetShapeState(QPainter& painter, const Pen& pen, const Brush& brush, RasterOp op)
{
    painter.setCompositionMode(op == RasterOp::XorPen ? QPainter::RasterOp_SourceXorDestination
                                                     : QPainter::CompositionMode_SourceOver);
    // Width 0 is Qt's one-pixel cosmetic pen; wider pens end in round caps.
    if (pen.width <= 1)
        painter.setPen(QPen(ToQColor(pen.colour), 0));
    else
        painter.setPen(QPen(ToQColor(pen.colour), pen.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(ToQColor(brush.colour));
}

void DeviceContext::PlotSpan(std::uint32_t* row, int x0, int x1, QRgb colour)
{
    x0 = std::max(x0, 0);
    x1 = std::min(x1, imageWidth);
    if (x1 <= x0)
        return;
    if (rasterOp == RasterOp::XorPen) {
        const std::uint32_t mask = colour & 0x00FFFFFFu;
        for (int x = x0; x < x1; ++x)
            row[x] ^= mask;
    } else {
        FillPixels(row + x0, x1 - x0, colour);
    }
}

// Bresenham's line from (x0, y0) toward (x1, y1), the end point left out. Step k of the major
// axis lands on the minor coordinate round(k * minor / major), halves rounded away from the
// start. Only the steps that fall inside the image are walked.
void DeviceContext::PlotLine(int x0, int y0, int x1, int y1, QRgb colour)
{
    x0 = ClampCoordinate(x0);
    y0 = ClampCoordinate(y0);
    x1 = ClampCoordinate(x1);
    y1 = ClampCoordinate(y1);
    const std::int64_t dx = std::int64_t{x1} - x0;
    const std::int64_t dy = std::int64_t{y1} - y0;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const std::int64_t major = std::abs(xMajor ? dx : dy);
    const std::int64_t minor = std::abs(xMajor ? dy : dx);
    if (major == 0)
        return;
    const int majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t majorStart = xMajor ? x0 : y0;
    const std::int64_t minorStart = xMajor ? y0 : x0;
    const std::int64_t majorLimit = xMajor ? image.width() : image.height();
    const std::int64_t minorLimit = xMajor ? image.height() : image.width();

    // The steps k in [first, last) whose major coordinate majorStart + majorStep * k is inside.
    std::int64_t first = 0;
    std::int64_t last = major;
    if (majorStep > 0) {
        first = std::max<std::int64_t>(first, -majorStart);
        last = std::min<std::int64_t>(last, majorLimit - majorStart);
    } else {
        first = std::max<std::int64_t>(first, majorStart - majorLimit + 1);
        last = std::min<std::int64_t>(last, majorStart + 1);
    }

    // The minor coordinate is minorStart + minorStep * q(k), q(k) = (2 k minor + major) / (2 major)
    // rounded down, which never decreases; keep the steps with lowest <= q(k) <= highest.
    const std::int64_t lowest = minorStep > 0 ? -minorStart : minorStart - minorLimit + 1;
    const std::int64_t highest = minorStep > 0 ? minorLimit - 1 - minorStart : minorStart;
    if (highest < 0 || lowest > highest)
        return;
    // The first step whose q reaches at least q.
    const auto firstReaching = [major, minor](std::int64_t q) -> std::int64_t {
        if (q <= 0)
            return 0;
        if (minor == 0)
            return major;
        const std::int64_t numerator = 2 * major * q - major;
        return (numerator + 2 * minor - 1) / (2 * minor);
    };
    first = std::max(first, firstReaching(lowest));
    last = std::min(last, firstReaching(highest + 1));
    if (first >= last)
        return;

    const std::int64_t denominator = 2 * major;
    const std::int64_t numerator = 2 * first * minor + major;
    const std::int64_t minorPos = minorStart + minorStep * (numerator / denominator);
    const std::int64_t majorPos = majorStart + majorStep * first;
    std::int64_t remainder = numerator % denominator;

    auto* const pixels = reinterpret_cast<std::uint32_t*>(image.bits());
    const qsizetype stride = image.bytesPerLine() / qsizetype{sizeof(std::uint32_t)};
    qsizetype offset = xMajor ? minorPos * stride + majorPos : majorPos * stride + minorPos;
    const qsizetype majorIncrement = xMajor ? majorStep : majorStep * stride;
    const qsizetype minorIncrement = xMajor ? minorStep * stride : minorStep;
    const std::int64_t remainderStep = 2 * minor;
    const auto walk = [&](auto plot) {
        for (std::int64_t k = first; k < last; ++k) {
            plot(pixels[offset]);
            offset += majorIncrement;
            remainder += remainderStep;
            if (remainder >= denominator) {
                remainder -= denominator;
                offset += minorIncrement;
            }
        }
    };
    if (rasterOp == RasterOp::XorPen) {
        const std::uint32_t mask = colour & 0x00FFFFFFu;
        walk([mask](std::uint32_t& pixel) { pixel ^= mask; });
    } else {
        walk([colour](std::uint32_t& pixel) { pixel = colour; });
    }
}

const QFont& DeviceContext::FontFor(int pixelSize)
{
    auto found = fonts.find(pixelSize);
    if (found == fonts.end()) {
        QFont qfont(QStringLiteral("IPAGothic"));
        qfont.setPixelSize(std::max(pixelSize, 1));
        found = fonts.emplace(pixelSize, qfont).first;
    }
    return found->second;
}
