// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/Geometry.h"
#include "render/Colour.h"
#include "render/LabelStamp.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class EllipseSprite;

enum class RasterOp { XorPen = 7, CopyPen = 13 };
enum class BackgroundMode { Transparent = 1, Opaque = 2 };
enum class TextAlign { Centre, Left };

struct Pen {
    ColorRef colour = 0x000000;
    int width = 1;
};

// A hollow brush fills nothing: a shape drawn with it is its outline alone.
struct Brush {
    ColorRef colour = 0xFFFFFF;
    bool hollow = false;
};

struct Font {
    int pixelSize = 16;
};

// A drawing surface over an RGB32 image with the state a drawing operation leaves behind:
// selected pen, brush and font, background colour and mode, raster operation, text colour and
// current position. Coordinates are logical pixels; the image has scale device pixels for each,
// so that a screen with a device pixel ratio of 2 gets shapes and text drawn at its own
// resolution. At scale 1 shapes follow these pixel rules: a rectangle or an ellipse on l, t, r, b
// covers the columns l..r-1 and the rows t..b-1; a line leaves out its end point. At a larger
// scale a shape covers the device pixels of those logical pixels' edges, rounded, and a line
// of width 1 is as many device pixels wide as the scale, rounded. Under RasterOp::XorPen
// drawing the same shape twice restores the pixels.
class DeviceContext {
public:
    // A black image; a size of 0 or less in either direction gives an image of no pixels.
    // A scale below 1 counts as 1.
    DeviceContext(int width, int height, qreal scale = 1.0);
    virtual ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    // In logical pixels.
    int Width() const { return logicalWidth; }
    int Height() const { return logicalHeight; }
    qreal Scale() const { return scale; }
    // The device pixel on the edge before logical coordinate v.
    int ToDevice(int v) const { return scaled ? ScaledCoordinate(v) : v; }
    // Every drawing so far, finished, in device pixels with the scale as its device pixel ratio.
    // A copy kept by the caller does not see later drawing.
    const QImage& Image();

    Pen SelectPen(Pen newPen) { return std::exchange(pen, newPen); }
    Brush SelectBrush(Brush newBrush) { return std::exchange(brush, newBrush); }
    Font SelectFont(Font newFont) { return std::exchange(font, newFont); }
    Pen GetPen() const { return pen; }
    Brush GetBrush() const { return brush; }
    Font GetFont() const { return font; }

    ColorRef SetBkColor(ColorRef colour) { return std::exchange(bkColor, colour); }
    ColorRef GetBkColor() const { return bkColor; }
    BackgroundMode SetBkMode(BackgroundMode mode) { return std::exchange(bkMode, mode); }
    BackgroundMode GetBkMode() const { return bkMode; }
    RasterOp SetROP2(RasterOp op) { return std::exchange(rasterOp, op); }
    RasterOp GetROP2() const { return rasterOp; }
    ColorRef SetTextColor(ColorRef colour) { return std::exchange(textColor, colour); }
    ColorRef GetTextColor() const { return textColor; }

    // Returns the previous position.
    Point MoveTo(int x, int y) { return std::exchange(position, Point{x, y}); }
    Point GetCurrentPosition() const { return position; }
    // From the current position up to, not including, (x, y), which becomes the position.
    void LineTo(int x, int y);
    // Outline in the pen, inside in the brush.
    void Rectangle(int left, int top, int right, int bottom);
    void Ellipse(int left, int top, int right, int bottom);
    // One line of text in the selected font and text colour, vertically centred and clipped
    // to the rectangle; behind it the background colour when the mode is Opaque. Virtual so
    // that a device context can also measure what it is given to draw.
    virtual void DrawText(const std::string& text, const Rect& rect, TextAlign align);

    // Small ellipses in the copy mode are drawn by QPainter once per size and colours, then
    // copied from that drawing. Off, every ellipse is drawn by QPainter; the pixels are the same.
    // QPainter keeps near-round ellipses in their box; a flat one may reach a few pixels past
    // the ends of its box. Only tests turn the copies off, to hold them to QPainter's drawing.
    void UseEllipseSprites(bool use);

private:
    // Sizes in device pixels.
    struct SpriteKey {
        int width;
        int height;
        ColorRef pen;
        ColorRef brush;
        bool hollow;
        friend bool operator==(const SpriteKey&, const SpriteKey&) = default;
    };

    int ScaledCoordinate(int v) const;
    static void SetShapeState(QPainter& painter, const Pen& pen, const Brush& brush, RasterOp op);
    // An ellipse with a one-logical-pixel outline on a scaled surface, in device pixels.
    void DrawScaledEllipse(QPainter& painter, const QRectF& box, ColorRef penColour, const Brush& fill,
                           RasterOp op) const;
    // Null when the ellipse is left to QPainter.
    const EllipseSprite* SpriteFor(const SpriteKey& key);

    // Device pixels that the next drawing changes, clipped to the image; their box grows into
    // changed. All drawing goes through one of these first.
    void Touch(int left, int top, int right, int bottom);
    void TouchLine(int x0, int y0, int x1, int y1, int thickness);
    void TouchAll();
    // Every pixel in the colour.
    void FillImage(QRgb colour);
    QPainter& OpenPainter();
    // The painter for a shape QPainter draws itself, set to the current pen, brush and
    // raster operation; the whole image counts as touched.
    QPainter& OpenShapePainter();
    // Puts the corners of a box in order; false when the box is empty.
    static bool OrderBox(int& left, int& top, int& right, int& bottom);
    void ClosePainter();
    // The image's pixels for writing; fetched again after Image() may have shared them.
    std::uint32_t* Pixels()
    {
        if (!pixels)
            pixels = reinterpret_cast<std::uint32_t*>(image.bits());
        return pixels;
    }
    // In device pixels, in the current raster operation; see LineRaster::PlotLine.
    void PlotLine(int x0, int y0, int x1, int y1, QRgb colour, int thickness);
    void PlotSpan(std::uint32_t* row, int x0, int x1, QRgb colour);
    const QFont& FontFor(int pixelSize);

    qreal scale;
    bool scaled;
    // Device pixels across a line of width 1.
    int lineWidth;
    int logicalWidth;
    int logicalHeight;
    QImage image;
    int imageWidth;
    int imageHeight;
    // Pixels per row.
    qsizetype stride;
    std::uint32_t* pixels = nullptr;
    // Every pixel outside changed has this colour: a fill of the whole image need only fill changed.
    QRgb uniformColour = 0xFF000000u;
    // Device pixels left..right-1, top..bottom-1.
    struct Box {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        bool IsEmpty() const { return left >= right || top >= bottom; }
    };
    Box changed;
    // Oldest first.
    std::vector<LabelStamp> labelStamps;
    std::optional<QPainter> painter;
    std::map<int, QFont> fonts;
    bool useSprites = true;
    std::vector<std::pair<SpriteKey, std::unique_ptr<EllipseSprite>>> sprites;
    std::size_t spriteHint = 0;

    Pen pen;
    Brush brush;
    Font font;
    ColorRef bkColor = 0xFFFFFF;
    BackgroundMode bkMode = BackgroundMode::Opaque;
    RasterOp rasterOp = RasterOp::CopyPen;
    ColorRef textColor = 0x000000;
    Point position;
};
