// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "PixelTestSupport.h"

#include "render/DeviceContext.h"
#include "render/Painter.h"

#include <QImage>

#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr ColorRef Red = 0x0000FF;
constexpr ColorRef Green = 0x00FF00;
constexpr QRgb RedRgb = 0xFFFF0000u;
constexpr QRgb GreenRgb = 0xFF00FF00u;

// A pattern in which every pixel differs from its neighbours.
void FillPattern(DeviceContext& dc)
{
    for (int y = 0; y < dc.Height(); ++y)
        for (int x = 0; x < dc.Width(); ++x)
            Painter(dc).DrawRectangle(x, y, x + 1, y + 1, Rgb(x * 7, y * 5, x ^ y), Rgb(x * 7, y * 5, x ^ y));
}

} // namespace

TEST(Colour, ColorRefKeepsRedInTheLowByte)
{
    EXPECT_EQ(ToQRgb(0x9875EF), qRgb(239, 117, 152));
    EXPECT_EQ(ToQRgb(Rgb(12, 0, 204)), qRgb(12, 0, 204));
    EXPECT_EQ(Rgb(183, 196, 224), 0xE0C4B7u);
}

TEST(Painter, FontSizesInTenthsOfAPointBecomePixelsAt96Dpi)
{
    EXPECT_EQ(FontPixelSize(120), 16);
    EXPECT_EQ(FontPixelSize(200), 26);
    EXPECT_EQ(FontPixelSize(300), 40);
    EXPECT_EQ(FontPixelSize(400), 53);
}

TEST(Painter, RectangleCoversColumnsAndRowsUpToRightAndBottomMinusOne)
{
    DeviceContext dc(40, 40);
    Painter(dc).DrawRectangle(10, 10, 20, 20, Red, Green);
    const QImage& image = dc.Image();

    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool inside = x >= 10 && x <= 19 && y >= 10 && y <= 19;
            const bool border = inside && (x == 10 || x == 19 || y == 10 || y == 19);
            const QRgb expected = border ? RedRgb : inside ? GreenRgb : BlackRgb;
            ASSERT_EQ(image.pixel(x, y), expected) << x << ", " << y;
        }
}

TEST(Painter, FrameReachesTheRightAndBottomCoordinatesAndLeavesTheInside)
{
    DeviceContext dc(40, 40);
    Painter(dc).DrawFrame(10, 10, 20, 20, Red, 1);
    const QImage& image = dc.Image();

    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool onBorder =
                x >= 10 && x <= 20 && y >= 10 && y <= 20 && (x == 10 || x == 20 || y == 10 || y == 20);
            ASSERT_EQ(image.pixel(x, y), onBorder ? RedRgb : BlackRgb) << x << ", " << y;
        }
    EXPECT_EQ(dc.GetCurrentPosition(), (Point{10, 10}));
}

TEST(Painter, EllipseIsInscribedInTheSameBox)
{
    DeviceContext dc(60, 60);
    Painter(dc).DrawEllipse(10, 10, 40, 40, Red, Green);
    const QImage& image = dc.Image();

    EXPECT_EQ(BoundsOfOther(image, {0, 0, 60, 60}, BlackRgb), (Rect{10, 10, 40, 40}));
    EXPECT_EQ(image.pixel(25, 25), GreenRgb);
    EXPECT_EQ(image.pixel(10, 25), RedRgb);
    EXPECT_EQ(image.pixel(39, 25), RedRgb);
    EXPECT_EQ(image.pixel(25, 10), RedRgb);
    EXPECT_EQ(image.pixel(25, 39), RedRgb);
    EXPECT_EQ(image.pixel(10, 10), BlackRgb);
}

TEST(Painter, EmptyBoxesDrawNothing)
{
    DeviceContext dc(30, 30);
    Painter painter(dc);
    painter.DrawRectangle(5, 5, 5, 20, Red, Green);
    painter.DrawEllipse(5, 5, 20, 5, Red, Green);
    painter.DrawRectangle(0, 0, 0, 0, Red, Green);
    painter.DrawFrame(0, 0, 0, 0, Red, 1);
    painter.DrawLine(7, 7, 7, 7, Red, 1);
    EXPECT_EQ(CountNot(dc.Image(), {0, 0, 30, 30}, BlackRgb), 0);
}

TEST(Painter, LineLeavesOutItsEndPointInEveryDirection)
{
    const Point ends[] = {{30, 20}, {10, 20}, {20, 30}, {20, 10}, {28, 28}, {12, 12}, {28, 12}, {12, 28},
                          {35, 24}, {5, 17},  {23, 5},  {17, 35}, {21, 20}, {20, 21}, {39, 0},  {0, 39}};
    for (const Point end : ends) {
        SCOPED_TRACE(testing::Message() << "to " << end.x << ", " << end.y);
        DeviceContext dc(40, 40);
        Painter(dc).DrawLine(20, 20, end.x, end.y, Red, 1);
        const QImage& image = dc.Image();

        const int steps = std::max(std::abs(end.x - 20), std::abs(end.y - 20));
        EXPECT_EQ(CountColour(image, {0, 0, 40, 40}, RedRgb), steps);
        EXPECT_EQ(image.pixel(20, 20), RedRgb);
        EXPECT_EQ(image.pixel(end.x, end.y), BlackRgb);
        EXPECT_EQ(dc.GetCurrentPosition(), end);
        // All of them lie between the start and the end.
        const Rect box{std::min(20, end.x), std::min(20, end.y), std::max(20, end.x) + 1,
                       std::max(20, end.y) + 1};
        EXPECT_EQ(CountColour(image, box, RedRgb), steps);
    }
}

TEST(Painter, LineFarOutsideTheImageDrawsOnlyItsVisiblePart)
{
    DeviceContext dc(50, 50);
    Painter(dc).DrawLine(-1000000, 25, 1000000, 25, Red, 1);
    EXPECT_EQ(CountColour(dc.Image(), {0, 0, 50, 50}, RedRgb), 50);
    EXPECT_EQ(CountColour(dc.Image(), {0, 25, 50, 26}, RedRgb), 50);

    DeviceContext diagonal(50, 50);
    Painter(diagonal).DrawLine(-100, -100, 200, 200, Red, 1);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(diagonal.Image().pixel(i, i), RedRgb) << i;
    EXPECT_EQ(CountColour(diagonal.Image(), {0, 0, 50, 50}, RedRgb), 50);
}

TEST(Painter, XorDrawingTwiceRestoresThePixels)
{
    DeviceContext dc(60, 60);
    FillPattern(dc);
    const QImage before = dc.Image().copy();

    Painter painter(dc, true);
    for (int pass = 0; pass < 2; ++pass) {
        painter.DrawRectangle(5, 5, 40, 30, Red, Green);
        painter.DrawEllipse(10, 12, 55, 50, 0xFAFAFA, 0x808080);
        painter.DrawLine(0, 59, 59, 3, 0x123456, 1);
        painter.DrawFrame(2, 2, 50, 50, 0xABCDEF, 1);
        if (pass == 0) {
            EXPECT_NE(dc.Image(), before);
        }
    }
    EXPECT_EQ(dc.Image(), before);
}

TEST(Painter, XorRectangleFlipsEveryPixelOnce)
{
    DeviceContext dc(20, 20);
    Painter(dc, true).DrawRectangle(2, 2, 8, 8, Red, Green);
    EXPECT_EQ(dc.Image().pixel(2, 2), RedRgb);
    EXPECT_EQ(dc.Image().pixel(4, 4), GreenRgb);
}

TEST(Painter, ShapesLeaveBackgroundBlackAndCopyPenAndRestorePenAndBrush)
{
    DeviceContext dc(20, 20);
    const Pen pen{0x111111, 3};
    const Brush brush{0x222222};
    dc.SelectPen(pen);
    dc.SelectBrush(brush);

    const auto shapes = std::vector<void (*)(Painter&)>{
        [](Painter& p) { p.DrawRectangle(1, 1, 5, 5, Red, Green); },
        [](Painter& p) { p.DrawEllipse(1, 1, 5, 5, Red, Green); },
        [](Painter& p) { p.DrawLine(1, 1, 5, 5, Red, 1); },
        [](Painter& p) { p.DrawFrame(1, 1, 5, 5, Red, 1); },
    };
    for (const bool xorMode : {false, true})
        for (const auto& shape : shapes) {
            dc.SetBkColor(0xFFFFFF);
            dc.SetROP2(RasterOp::XorPen);
            Painter painter(dc, xorMode);
            shape(painter);
            EXPECT_EQ(dc.GetBkColor(), 0x000000u);
            EXPECT_EQ(dc.GetROP2(), RasterOp::CopyPen);
            EXPECT_EQ(dc.GetPen().colour, pen.colour);
            EXPECT_EQ(dc.GetPen().width, pen.width);
            EXPECT_EQ(dc.GetBrush().colour, brush.colour);
        }
}

TEST(Painter, LabelInAnEmptyRectangleDrawsNothing)
{
    DeviceContext dc(100, 60);
    Painter(dc).DrawLabel(0, 0, 0, 0, "Start", 200, 0xFAFAFA);
    Painter(dc).DrawLabel(10, 10, 90, 10, "Start", 200, 0xFAFAFA);
    EXPECT_EQ(CountNot(dc.Image(), {0, 0, 100, 60}, BlackRgb), 0);
}

TEST(Painter, LabelWithEmptyTextDrawsNothingAndLeavesTheModeTransparent)
{
    DeviceContext dc(100, 60);
    dc.SetBkMode(BackgroundMode::Opaque);
    dc.SetBkColor(0xFFFFFF);
    Painter(dc).DrawLabel(0, 0, 100, 60, "", 200, 0xFAFAFA);
    EXPECT_EQ(CountNot(dc.Image(), {0, 0, 100, 60}, BlackRgb), 0);
    EXPECT_EQ(dc.GetBkMode(), BackgroundMode::Transparent);
}

TEST(Painter, LabelKeepsTheBackgroundAndRestoresFontAndTextColour)
{
    DeviceContext dc(200, 80);
    Painter(dc).DrawRectangle(0, 0, 200, 80, Green, Green);
    dc.SetTextColor(0x123456);
    dc.SetBkColor(0xFFFFFF);
    dc.SetBkMode(BackgroundMode::Opaque);
    Painter(dc).DrawLabel(0, 0, 200, 80, "Exit", 300, Red);
    const QImage& image = dc.Image();

    // Transparent: only the glyphs change, no white box behind them.
    EXPECT_EQ(CountColour(image, {0, 0, 200, 80}, 0xFFFFFFFFu), 0);
    EXPECT_GT(CountColour(image, {0, 0, 200, 80}, RedRgb), 20);
    EXPECT_EQ(dc.GetTextColor(), 0x123456u);
    EXPECT_EQ(dc.GetFont().pixelSize, Font{}.pixelSize);
    EXPECT_EQ(dc.GetBkMode(), BackgroundMode::Transparent);
}

TEST(Painter, LabelIsCentredInItsRectangle)
{
    DeviceContext dc(300, 120);
    Painter(dc).DrawLabel(40, 20, 260, 100, "Start", 200, 0xFFFFFF);
    const Rect ink = BoundsOfOther(dc.Image(), {0, 0, 300, 120}, BlackRgb);

    ASSERT_FALSE(IsRectEmpty(ink));
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 150.0, 2.0);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 60.0, 6.0);
    // A 26-pixel font: capitals are taller than half of that and within it.
    EXPECT_GT(ink.Height(), 13);
    EXPECT_LE(ink.Height(), 26);
}

TEST(Painter, LabelWiderThanItsBoxIsCutAtBothEdges)
{
    DeviceContext dc(200, 80);
    const Rect box{60, 10, 140, 70};
    Painter(dc).DrawLabel(box.left, box.top, box.right, box.bottom, "HHHHHHHHHHHHHHHH", 200, 0xFFFFFF);
    const QImage& image = dc.Image();

    EXPECT_EQ(CountNot(image, {0, 0, 200, 80}, BlackRgb), CountNot(image, box, BlackRgb));
    EXPECT_GT(CountNot(image, {box.left, box.top, box.left + 4, box.bottom}, BlackRgb), 0);
    EXPECT_GT(CountNot(image, {box.right - 4, box.top, box.right, box.bottom}, BlackRgb), 0);
}

TEST(Painter, LeftLabelStartsAtTheLeftEdge)
{
    DeviceContext dc(300, 40);
    Painter(dc).DrawLeftLabel(20, 0, 300, 40, "[時間:12.3秒]", 120, 0xFAFAFA);
    const Rect ink = BoundsOfOther(dc.Image(), {0, 0, 300, 40}, BlackRgb);

    ASSERT_FALSE(IsRectEmpty(ink));
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.left, 23);
    EXPECT_LT(ink.right, 160);
}

TEST(Painter, JapaneseTextIsDrawnWithGlyphs)
{
    DeviceContext dc(300, 80);
    Painter(dc).DrawLabel(0, 0, 300, 80, "トクレット", 400, 0xFFFFFF);
    // Full-width glyphs of a 53-pixel font: five of them fill far more than a box of tofu.
    const Rect ink = BoundsOfOther(dc.Image(), {0, 0, 300, 80}, BlackRgb);
    EXPECT_GT(ink.Width(), 200);
    EXPECT_GT(CountColour(dc.Image(), {0, 0, 300, 80}, 0xFFFFFFFFu), 300);
}
