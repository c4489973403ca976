// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "render/DeviceContext.h"

#include "render/EllipseSprite.h"
#include "render/LineRaster.h"

#include <QPainterPath>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// Sprites are kept for ellipses up to this size, and this many of them at a time.
constexpr int MaxSpriteSide = 64;
constexpr std::size_t MaxSprites = 64;
constexpr int SpriteMargin = 8;

// Labels kept as pixels: enough for every label of a scene.
constexpr std::size_t MaxLabelStamps = 16;

qreal ValidScale(qreal scale)
{
    return scale >= 1.0 ? scale : 1.0;
}

// A logical size in device pixels, at least one when the logical size is.
int DeviceSize(int size, qreal scale)
{
    return size <= 0 ? 0 : static_cast<int>(std::lround(size * scale));
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

DeviceContext::DeviceContext(int width, int height, qreal scale)
    : scale(ValidScale(scale))
    , scaled(this->scale != 1.0)
    , lineWidth(std::max(1, static_cast<int>(std::lround(this->scale))))
    , logicalWidth(std::max(width, 0))
    , logicalHeight(std::max(height, 0))
    , image(DeviceSize(width, this->scale), DeviceSize(height, this->scale), QImage::Format_RGB32)
    , imageWidth(image.width())
    , imageHeight(image.height())
    , stride(image.bytesPerLine() / qsizetype{sizeof(std::uint32_t)})
{
    image.fill(0xFF000000u);
    // A QPainter on the image then takes logical coordinates, and draws text at full resolution.
    image.setDevicePixelRatio(this->scale);
}

int DeviceContext::ScaledCoordinate(int v) const
{
    constexpr long long Limit = LineRaster::CoordinateLimit;
    return static_cast<int>(std::clamp<long long>(std::llround(v * scale), -Limit, Limit));
}

DeviceContext::~DeviceContext()
{
    ClosePainter();
}

const QImage& DeviceContext::Image()
{
    ClosePainter();
    // The caller may keep a copy that shares the pixels: the next write must detach them first.
    pixels = nullptr;
    return image;
}

void DeviceContext::LineTo(int x, int y)
{
    const Point from = std::exchange(position, Point{x, y});
    if (image.isNull())
        return;
    if (pen.width <= 1 && !scaled) {
        TouchLine(from.x, from.y, x, y, 1);
        PlotLine(from.x, from.y, x, y, ToQRgb(pen.colour), 1);
        return;
    }
    if (pen.width <= 1) {
        // The device line runs through the same corner of each logical pixel that it covers: a
        // line walked backward along its major axis starts and ends a logical pixel's width
        // further on, so that lines along an axis cover whole logical pixels, as do frames.
        int x0 = ToDevice(from.x);
        int y0 = ToDevice(from.y);
        int x1 = ToDevice(x);
        int y1 = ToDevice(y);
        const bool xMajor = std::abs(std::int64_t{x1} - x0) >= std::abs(std::int64_t{y1} - y0);
        if (xMajor && x1 < x0) {
            x0 += lineWidth - 1;
            x1 += lineWidth - 1;
        } else if (!xMajor && y1 < y0) {
            y0 += lineWidth - 1;
            y1 += lineWidth - 1;
        }
        TouchLine(x0, y0, x1, y1, lineWidth);
        PlotLine(x0, y0, x1, y1, ToQRgb(pen.colour), lineWidth);
        return;
    }
    QPainter& painter = OpenShapePainter();
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(from.x, from.y, x, y);
}

void DeviceContext::Rectangle(int left, int top, int right, int bottom)
{
    if (!OrderBox(left, top, right, bottom) || image.isNull())
        return;

    if (pen.width > 1) {
        QPainter& painter = OpenShapePainter();
        painter.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
        return;
    }

    left = ToDevice(left);
    top = ToDevice(top);
    right = ToDevice(right);
    bottom = ToDevice(bottom);
    if (rasterOp == RasterOp::CopyPen && pen.colour == brush.colour && left <= 0 && top <= 0
        && right >= imageWidth && bottom >= imageHeight) {
        FillImage(ToQRgb(pen.colour));
        return;
    }
    Touch(left, top, right, bottom);
    const int outline = lineWidth;
    const QRgb penRgb = ToQRgb(pen.colour);
    const QRgb brushRgb = ToQRgb(brush.colour);
    const int firstRow = std::max(top, 0);
    const int lastRow = std::min(bottom, imageHeight) - 1;
    std::uint32_t* const bits = Pixels();
    const int x0 = std::max(left, 0);
    const int x1 = std::min(right, imageWidth);
    const std::uint32_t* inside = nullptr;
    for (int y = firstRow; y <= lastRow; ++y) {
        std::uint32_t* const row = bits + stride * y;
        if (y < top + outline || y >= bottom - outline || right - left <= 2 * outline) {
            PlotSpan(row, left, right, penRgb);
            continue;
        }
        // Every inner row of a copied rectangle is the same: draw the first, copy it to the rest.
        if (inside && x1 > x0) {
            std::memcpy(row + x0, inside + x0, sizeof(std::uint32_t) * static_cast<std::size_t>(x1 - x0));
            continue;
        }
        PlotSpan(row, left, left + outline, penRgb);
        PlotSpan(row, left + outline, right - outline, brushRgb);
        PlotSpan(row, right - outline, right, penRgb);
        if (rasterOp == RasterOp::CopyPen)
            inside = row;
    }
}

void DeviceContext::Ellipse(int left, int top, int right, int bottom)
{
    if (!OrderBox(left, top, right, bottom) || image.isNull())
        return;
    if (pen.width > 1) {
        QPainter& painter = OpenShapePainter();
        painter.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
        return;
    }
    const int deviceLeft = ToDevice(left);
    const int deviceTop = ToDevice(top);
    const int deviceRight = ToDevice(right);
    const int deviceBottom = ToDevice(bottom);
    if (deviceRight <= 0 || deviceBottom <= 0 || deviceLeft >= imageWidth || deviceTop >= imageHeight)
        return;
    const std::int64_t deviceWidth = std::int64_t{deviceRight} - deviceLeft;
    const std::int64_t deviceHeight = std::int64_t{deviceBottom} - deviceTop;
    const int spriteSide = MaxSpriteSide * lineWidth;
    if (useSprites && rasterOp == RasterOp::CopyPen && deviceWidth <= spriteSide
        && deviceHeight <= spriteSide) {
        const SpriteKey key{static_cast<int>(deviceWidth), static_cast<int>(deviceHeight), pen.colour,
                            brush.colour, brush.hollow};
        if (const EllipseSprite* sprite = SpriteFor(key)) {
            // A sprite stays on its canvas: inside the box and its margin.
            Touch(deviceLeft - SpriteMargin, deviceTop - SpriteMargin, deviceRight + SpriteMargin,
                  deviceBottom + SpriteMargin);
            sprite->CopyTo(Pixels(), imageWidth, imageHeight, deviceLeft, deviceTop);
            return;
        }
    }
    if (!scaled) {
        // A flat ellipse may reach past its box by an amount that nothing bounds here.
        QPainter& painter = OpenShapePainter();
        painter.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
        return;
    }
    Touch(deviceLeft - 1, deviceTop - 1, deviceRight + 1, deviceBottom + 1);
    // The image's own pixels without its device pixel ratio: QPainter then takes device pixels.
    QImage devicePixels(reinterpret_cast<uchar*>(Pixels()), imageWidth, imageHeight, image.bytesPerLine(),
                        QImage::Format_RGB32);
    QPainter painter(&devicePixels);
    DrawScaledEllipse(painter, QRectF(QPointF(deviceLeft, deviceTop), QPointF(deviceRight, deviceBottom)),
                      pen.colour, brush, rasterOp);
}

void DeviceContext::DrawScaledEllipse(QPainter& painter, const QRectF& box, ColorRef penColour,
                                      const Brush& fill, RasterOp op) const
{
    // The outline is the ring between the box's ellipse and one a line's width inside it; each
    // pixel belongs to the ring or to the inside, so that XOR drawing stays reversible.
    painter.setCompositionMode(op == RasterOp::XorPen ? QPainter::RasterOp_SourceXorDestination
                                                      : QPainter::CompositionMode_SourceOver);
    QPainterPath outer;
    outer.addEllipse(box);
    const QRectF innerBox = box.adjusted(lineWidth, lineWidth, -lineWidth, -lineWidth);
    if (innerBox.width() <= 0 || innerBox.height() <= 0) {
        painter.fillPath(outer, ToQColor(penColour));
        return;
    }
    QPainterPath inner;
    inner.addEllipse(innerBox);
    QPainterPath ring = outer;
    ring.addEllipse(innerBox); // odd-even filling leaves the inside out
    painter.fillPath(ring, ToQColor(penColour));
    if (!fill.hollow)
        painter.fillPath(inner, ToQColor(fill.colour));
}

void DeviceContext::UseEllipseSprites(bool use)
{
    useSprites = use;
}

const EllipseSprite* DeviceContext::SpriteFor(const SpriteKey& key)
{
    // The swings take their greys in turn, so the sprite wanted next is most often the one
    // after the last one found.
    for (const std::size_t guess : {spriteHint + 1, spriteHint})
        if (guess < sprites.size() && sprites[guess].first == key) {
            spriteHint = guess;
            return sprites[guess].second.get();
        }
    for (std::size_t i = 0; i < sprites.size(); ++i)
        if (sprites[i].first == key) {
            spriteHint = i;
            return sprites[i].second.get();
        }
    if (sprites.size() >= MaxSprites)
        sprites.clear();

    // Drawn exactly as the plain path draws it, onto a transparent canvas to find its pixels.
    // Qt's outline of a flat ellipse reaches past the ends of its box, so the canvas has a margin;
    // a shape that reaches the canvas's edge anyway is left to the plain path.
    QImage canvas(key.width + 2 * SpriteMargin, key.height + 2 * SpriteMargin,
                  QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    if (scaled) {
        DrawScaledEllipse(painter, QRectF(SpriteMargin, SpriteMargin, key.width, key.height), key.pen,
                          Brush{key.brush, key.hollow}, RasterOp::CopyPen);
    } else {
        SetShapeState(painter, Pen{key.pen, 1}, Brush{key.brush, key.hollow}, RasterOp::CopyPen);
        painter.drawEllipse(QRect(SpriteMargin, SpriteMargin, key.width - 1, key.height - 1));
    }
    painter.end();
    auto sprite = std::make_unique<EllipseSprite>(canvas, QPoint(SpriteMargin, SpriteMargin), stride);
    if (sprite->TouchesEdge())
        sprite.reset();
    sprites.emplace_back(key, std::move(sprite));
    spriteHint = sprites.size() - 1;
    return sprites.back().second.get();
}

void DeviceContext::DrawText(const std::string& text, const Rect& rect, TextAlign align)
{
    if (text.empty() || IsRectEmpty(rect) || image.isNull())
        return;
    // Nothing is drawn outside the clip rectangle; a device pixel is added round it for rounding.
    const QRect area = QRect(QPoint(ToDevice(rect.left) - 1, ToDevice(rect.top) - 1),
                             QPoint(ToDevice(rect.right), ToDevice(rect.bottom)))
                           .intersected(QRect(0, 0, imageWidth, imageHeight));
    if (area.isEmpty())
        return;
    // On pixels known to be all of one colour, the same label always comes out the same: a
    // label drawn there before is copied instead of laid out again.
    const bool onPlainGround =
        bkMode == BackgroundMode::Transparent
        && (changed.IsEmpty() || area.left() >= changed.right || area.left() + area.width() <= changed.left
            || area.top() >= changed.bottom || area.top() + area.height() <= changed.top);
    const int flags =
        Qt::TextSingleLine | Qt::AlignVCenter | (align == TextAlign::Left ? Qt::AlignLeft : Qt::AlignHCenter);
    LabelStamp::Key key{text, font.pixelSize, textColor, rect, flags, uniformColour};
    Touch(area.left(), area.top(), area.left() + area.width(), area.top() + area.height());
    if (onPlainGround) {
        for (const LabelStamp& stamp : labelStamps)
            if (stamp.IsFor(key)) {
                stamp.PasteTo(Pixels());
                return;
            }
    }

    QPainter& painter = OpenPainter();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QRect box(rect.left, rect.top, rect.Width(), rect.Height());
    painter.setClipRect(box);
    painter.setFont(FontFor(font.pixelSize));
    painter.setPen(ToQColor(textColor));
    painter.setBackground(ToQColor(bkColor));
    painter.setBackgroundMode(bkMode == BackgroundMode::Opaque ? Qt::OpaqueMode : Qt::TransparentMode);
    painter.drawText(box, flags, QString::fromStdString(text));
    painter.setClipping(false);

    if (onPlainGround) {
        if (labelStamps.size() >= MaxLabelStamps)
            labelStamps.erase(labelStamps.begin());
        labelStamps.emplace_back(std::move(key), Pixels(), stride, area);
    }
}

void DeviceContext::Touch(int left, int top, int right, int bottom)
{
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, imageWidth);
    bottom = std::min(bottom, imageHeight);
    if (left >= right || top >= bottom)
        return;
    if (changed.IsEmpty()) {
        changed = {left, top, right, bottom};
        return;
    }
    changed.left = std::min(changed.left, left);
    changed.top = std::min(changed.top, top);
    changed.right = std::max(changed.right, right);
    changed.bottom = std::max(changed.bottom, bottom);
}

void DeviceContext::TouchLine(int x0, int y0, int x1, int y1, int thickness)
{
    using LineRaster::ClampCoordinate;
    Touch(ClampCoordinate(std::min(x0, x1)), ClampCoordinate(std::min(y0, y1)),
          ClampCoordinate(std::max(x0, x1)) + thickness, ClampCoordinate(std::max(y0, y1)) + thickness);
}

void DeviceContext::TouchAll()
{
    Touch(0, 0, imageWidth, imageHeight);
}

void DeviceContext::FillImage(QRgb colour)
{
    // Outside the changed pixels the image still has its last fill's colour: only they need it.
    const Box all{0, 0, imageWidth, imageHeight};
    const Box area = uniformColour == colour ? changed : all;
    uniformColour = colour;
    changed = Box{};
    if (area.IsEmpty())
        return;
    std::uint32_t* const bits = Pixels();
    std::uint32_t* const first = bits + stride * area.top + area.left;
    const int width = area.right - area.left;
    FillPixels(first, width, colour);
    for (int y = area.top + 1; y < area.bottom; ++y)
        std::memcpy(bits + stride * y + area.left, first,
                    sizeof(std::uint32_t) * static_cast<std::size_t>(width));
}

bool DeviceContext::OrderBox(int& left, int& top, int& right, int& bottom)
{
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    return right != left && bottom != top;
}

QPainter& DeviceContext::OpenShapePainter()
{
    TouchAll();
    QPainter& painter = OpenPainter();
    SetShapeState(painter, pen, brush, rasterOp);
    return painter;
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
    if (brush.hollow)
        painter.setBrush(Qt::NoBrush);
    else
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

void DeviceContext::PlotLine(int x0, int y0, int x1, int y1, QRgb colour, int thickness)
{
    const LineRaster::Grid grid{Pixels(), stride, imageWidth, imageHeight};
    LineRaster::PlotLine(grid, x0, y0, x1, y1, colour, thickness,
                         rasterOp == RasterOp::XorPen ? LineRaster::Mode::Xor : LineRaster::Mode::Copy);
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
