#include "render/DeviceContext.h"

#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace {

// Keeps the line routine's integer arithmetic inside 64 bits.
constexpr int CoordinateLimit = 1 << 30;

int ClampCoordinate(int value)
{
    return std::clamp(value, -CoordinateLimit, CoordinateLimit);
}

} // namespace

DeviceContext::DeviceContext(int width, int height)
    : image(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32)
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
    SetShapeState(painter);
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
        SetShapeState(painter);
        painter.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
        return;
    }

    const QRgb penRgb = ToQRgb(pen.colour);
    const QRgb brushRgb = ToQRgb(brush.colour);
    const int firstRow = std::max(top, 0);
    const int lastRow = std::min(bottom, image.height()) - 1;
    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (int y = firstRow; y <= lastRow; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(bits + stride * y);
        if (y == top || y == bottom - 1 || right - left <= 2) {
            PlotSpan(row, left, right, penRgb);
            continue;
        }
        PlotSpan(row, left, left + 1, penRgb);
        PlotSpan(row, left + 1, right - 1, brushRgb);
        PlotSpan(row, right - 1, right, penRgb);
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
    QPainter& painter = OpenPainter();
    SetShapeState(painter);
    painter.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
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

void DeviceContext::SetShapeState(QPainter& painter)
{
    painter.setCompositionMode(rasterOp == RasterOp::XorPen ? QPainter::RasterOp_SourceXorDestination
                                                           : QPainter::CompositionMode_SourceOver);
    // Width 0 is Qt's one-pixel cosmetic pen; wider pens end in round caps as GDI's do.
    QPen qpen(ToQColor(pen.colour), pen.width <= 1 ? 0 : pen.width, Qt::SolidLine, Qt::RoundCap,
              Qt::RoundJoin);
    painter.setPen(qpen);
    painter.setBrush(ToQColor(brush.colour));
    painter.setBackground(ToQColor(bkColor));
}

void DeviceContext::PlotSpan(std::uint32_t* row, int x0, int x1, QRgb colour)
{
    x0 = std::max(x0, 0);
    x1 = std::min(x1, image.width());
    if (x1 <= x0)
        return;
    if (rasterOp == RasterOp::XorPen) {
        const std::uint32_t mask = colour & 0x00FFFFFFu;
        for (int x = x0; x < x1; ++x)
            row[x] ^= mask;
    } else {
        std::fill(row + x0, row + x1, colour);
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
    const std::int64_t adx = std::abs(dx);
    const std::int64_t ady = std::abs(dy);
    const bool xMajor = adx >= ady;
    const std::int64_t major = xMajor ? adx : ady;
    const std::int64_t minor = xMajor ? ady : adx;
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
    if (first >= last)
        return;

    const std::int64_t denominator = 2 * major;
    const std::int64_t numerator = 2 * first * minor + major;
    std::int64_t minorPos = minorStart + minorStep * (numerator / denominator);
    std::int64_t remainder = numerator % denominator;
    std::int64_t majorPos = majorStart + majorStep * first;

    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const bool xorPen = rasterOp == RasterOp::XorPen;
    const std::uint32_t xorMask = colour & 0x00FFFFFFu;
    for (std::int64_t k = first; k < last; ++k) {
        if (minorPos >= 0 && minorPos < minorLimit) {
            const std::int64_t px = xMajor ? majorPos : minorPos;
            const std::int64_t py = xMajor ? minorPos : majorPos;
            auto* pixel = reinterpret_cast<std::uint32_t*>(bits + stride * py) + px;
            *pixel = xorPen ? *pixel ^ xorMask : colour;
        }
        majorPos += majorStep;
        remainder += 2 * minor;
        if (remainder >= denominator) {
            remainder -= denominator;
            minorPos += minorStep;
        }
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
