// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

// The scene on a screen with a device pixel ratio of 2: drawn at the screen's own resolution,
// with layout and hit tests in logical pixels as on any other screen.
#include "PixelTestSupport.h"

#include "render/DeviceContext.h"
#include "render/GameScreen.h"
#include "render/Painter.h"

#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Each pixel becomes a block of factor x factor pixels.
QImage Enlarged(const QImage& image, int factor)
{
    QImage copy = image.copy();
    copy.setDevicePixelRatio(1.0);
    return copy.scaled(copy.width() * factor, copy.height() * factor, Qt::IgnoreAspectRatio,
                       Qt::FastTransformation);
}

// Everything whose pixels follow the logical grid: rectangles, frames, lines along the axes.
void DrawSquareShapes(DeviceContext& dc)
{
    Painter painter(dc);
    painter.DrawRectangle(3, 4, 30, 20, 0x8C8C8C, 0x9875EF);
    painter.DrawRectangle(35, 5, 37, 9, 0xFAFAFA, 0x262626);
    painter.DrawFrame(5, 25, 40, 38, 0xFAFAFA, 1);
    painter.DrawLine(45, 2, 45, 30, 0x00FF00, 1);
    painter.DrawLine(58, 30, 58, 2, 0x00FF00, 1);
    painter.DrawLine(44, 35, 10, 35, 0x0000FF, 1);
    painter.DrawLine(-5, 39, 70, 39, 0x0000FF, 1);
}

} // namespace

TEST(HighDpi, RectanglesFramesAndStraightLinesCoverWholeLogicalPixels)
{
    DeviceContext single(60, 40);
    DeviceContext doubled(60, 40, 2.0);
    DrawSquareShapes(single);
    DrawSquareShapes(doubled);
    EXPECT_EQ(doubled.Image().size(), QSize(120, 80));
    EXPECT_EQ(doubled.Width(), 60);
    EXPECT_EQ(doubled.Image().devicePixelRatio(), 2.0);
    EXPECT_EQ(FirstDifference(doubled.Image(), Enlarged(single.Image(), 2)), "");
}

TEST(HighDpi, XorShapesTwiceRestoreThePixelsAtRatioTwo)
{
    DeviceContext dc(60, 40, 2.0);
    DrawSquareShapes(dc);
    const QImage before = dc.Image().copy();
    Painter painter(dc, true);
    for (int pass = 0; pass < 2; ++pass) {
        painter.DrawEllipse(10, 5, 41, 36, 0xFAFAFA, 0x4B4B4B);
        painter.DrawLine(-3, -8, 70, 33, 0xFFFFFF, 1);
        painter.DrawLine(33, 50, 20, -4, 0xFFFFFF, 1);
        painter.DrawFrame(2, 2, 50, 30, 0x00FFFF, 1);
    }
    EXPECT_EQ(FirstDifference(dc.Image(), before), "");
}

// A line cut by the image's edges draws what the same line has there in a larger image.
TEST(HighDpi, ClippedLinesDrawWhatTheWholeLineHasInsideTheImage)
{
    constexpr int Margin = 150;
    std::uint32_t seed = 11;
    const auto next = [&seed](int range) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(range));
    };
    for (int i = 0; i < 400; ++i) {
        const int x0 = next(260) - 100;
        const int y0 = next(250) - 100;
        const int x1 = next(260) - 100;
        const int y1 = next(250) - 100;
        DeviceContext clipped(60, 50, 2.0);
        DeviceContext whole(60 + 2 * Margin, 50 + 2 * Margin, 2.0);
        Painter(clipped).DrawLine(x0, y0, x1, y1, 0x00FF00, 1);
        Painter(whole).DrawLine(x0 + Margin, y0 + Margin, x1 + Margin, y1 + Margin, 0x00FF00, 1);
        const QImage expected = whole.Image().copy(2 * Margin, 2 * Margin, 120, 100);
        ASSERT_EQ(FirstDifference(clipped.Image(), expected), "")
            << x0 << ", " << y0 << " to " << x1 << ", " << y1;
    }
}

// An enlarged drawing would step two device pixels at a time; this one steps one.
TEST(HighDpi, SlantedRopesAreTwoDevicePixelsWideAndStepOneDevicePixelAtATime)
{
    const struct {
        int x0, y0, x1, y1;
    } ropes[] = {{10, 5, 40, 65}, {40, 5, 10, 65}, {25, 65, 30, 5}, {5, 5, 45, 45}};
    for (const auto& rope : ropes) {
        SCOPED_TRACE(testing::Message()
                     << rope.x0 << ", " << rope.y0 << " to " << rope.x1 << ", " << rope.y1);
        DeviceContext dc(50, 70, 2.0);
        Painter(dc).DrawLine(rope.x0, rope.y0, rope.x1, rope.y1, 0xFAFAFA, 1);
        const QImage& image = dc.Image();
        const int firstRow = 2 * std::min(rope.y0, rope.y1) + 2;
        const int lastRow = 2 * std::max(rope.y0, rope.y1) - 2;
        int previousLeft = -1;
        for (int y = firstRow; y < lastRow; ++y) {
            std::vector<int> lit;
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == NearWhiteRgb)
                    lit.push_back(x);
            // y-major ropes: two pixels across; the 45-degree rope: its steps touch corners.
            ASSERT_GE(lit.size(), 2u) << "row " << y;
            ASSERT_LE(lit.size(), 3u) << "row " << y;
            EXPECT_EQ(lit.back() - lit.front() + 1, static_cast<int>(lit.size())) << "row " << y;
            if (previousLeft >= 0) {
                EXPECT_LE(std::abs(lit.front() - previousLeft), 1) << "row " << y;
            }
            previousLeft = lit.front();
        }
        // The end point's logical pixel is left out, as at ratio 1.
        EXPECT_EQ(image.pixel(2 * rope.x1, 2 * rope.y1), BlackRgb);
        EXPECT_EQ(image.pixel(2 * rope.x1 + 1, 2 * rope.y1 + 1), BlackRgb);
    }
}

TEST(HighDpi, WeightIsASharpCircleInItsDeviceBox)
{
    for (const bool sprites : {true, false}) {
        SCOPED_TRACE(sprites ? "copied" : "drawn");
        DeviceContext dc(60, 60, 2.0);
        dc.UseEllipseSprites(sprites);
        Painter(dc).DrawEllipse(20, 20, 50, 50, 0xFAFAFA, 0x4B4B4B);
        const QImage& image = dc.Image();
        EXPECT_EQ(BoundsOfOther(image, {0, 0, 120, 120}, BlackRgb), (Rect{40, 40, 100, 100}));
        // The outline is two device pixels thick, one logical pixel, where it crosses the middle.
        for (const int x : {40, 41, 98, 99})
            EXPECT_EQ(image.pixel(x, 70), NearWhiteRgb) << x;
        EXPECT_EQ(image.pixel(42, 70), qRgb(75, 75, 75));
        EXPECT_EQ(image.pixel(70, 70), qRgb(75, 75, 75));
        // Its curve steps in device pixels: many 2 x 2 blocks hold both outline and outside.
        EXPECT_GT(CountMixedBlocks(image, {40, 40, 100, 100}, 2), 20);
    }
}

TEST(HighDpi, TitleTextHasFinerEdgesAtRatioTwo)
{
    GameScreen screen;
    LayOutLikeTheWindow(screen);
    const QImage single = PaintOnWindow(screen, WindowWidth, WindowHeight, "", 1.0);
    GameScreen sharpScreen;
    LayOutLikeTheWindow(sharpScreen);
    const QImage doubled = PaintOnWindow(sharpScreen, WindowWidth, WindowHeight, "", 2.0);
    ASSERT_EQ(doubled.size(), QSize(898, 814));

    const Rect title = screen.titleRect;
    const Rect deviceTitle{2 * title.left, 2 * title.top, 2 * title.right, 2 * title.bottom};
    // The panel is where it was, at twice the pixels.
    EXPECT_EQ(doubled.pixel(deviceTitle.left, deviceTitle.top), PanelRgb);
    EXPECT_EQ(doubled.pixel(deviceTitle.right - 1, deviceTitle.bottom - 1), PanelRgb);
    EXPECT_EQ(doubled.pixel(deviceTitle.left - 1, deviceTitle.top), BlackRgb);
    EXPECT_GT(CountColour(doubled, deviceTitle, DeepBlueRgb), 3 * CountColour(single, title, DeepBlueRgb));

    const int singleEdges = CountEdgePixels(single, title);
    const int doubledEdges = CountEdgePixels(doubled, deviceTitle);
    EXPECT_GT(doubledEdges, singleEdges * 3 / 2);
    // An enlarged image would have no mixed 2 x 2 blocks at all.
    EXPECT_GT(CountMixedBlocks(doubled, deviceTitle, 2), doubledEdges / 8);
    EXPECT_EQ(CountMixedBlocks(Enlarged(single, 2), deviceTitle, 2), 0);
}

TEST(HighDpi, HitTestsAndHoverStayInLogicalPixels)
{
    GameScreen screen;
    LayOutLikeTheWindow(screen);
    PaintOnWindow(screen, WindowWidth, WindowHeight, "", 2.0);
    EXPECT_EQ(screen.GetBackBuffer()->Width(), WindowWidth);
    EXPECT_EQ(screen.GetBackBuffer()->Scale(), 2.0);

    EXPECT_EQ(screen.ButtonAt({159, 201}), TitleButton::Start);
    EXPECT_EQ(screen.ButtonAt({280, 242}), TitleButton::Start);
    EXPECT_EQ(screen.ButtonAt({281, 242}), std::nullopt);
    EXPECT_EQ(screen.ButtonAt({318, 402}), std::nullopt);
    EXPECT_EQ(screen.ButtonAt({220, 290}), TitleButton::Exit);
    EXPECT_TRUE(screen.UpdateHover({200, 220}));
    EXPECT_TRUE(screen.IsHovered(TitleButton::Start));
    const QImage hovered = PaintOnWindow(screen, WindowWidth, WindowHeight, "", 2.0);
    EXPECT_EQ(hovered.pixel(2 * 162, 2 * 205), qRgb(239, 117, 152));
    EXPECT_EQ(hovered.pixel(2 * 159, 2 * 201), qRgb(140, 140, 140));
    EXPECT_EQ(hovered.pixel(2 * 281, 2 * 243), BlackRgb);
}

TEST(HighDpi, BuffersFollowTheWindowsDevicePixelRatio)
{
    GameScreen screen;
    LayOutLikeTheWindow(screen);
    PaintOnWindow(screen, WindowWidth, WindowHeight, "", 1.0);
    const DeviceContext* first = screen.GetBackBuffer();
    PaintOnWindow(screen, WindowWidth, WindowHeight, "", 1.0);
    EXPECT_EQ(screen.GetBackBuffer(), first);

    const QImage doubled = PaintOnWindow(screen, WindowWidth, WindowHeight, "", 2.0);
    EXPECT_EQ(screen.GetBackBuffer()->Scale(), 2.0);
    EXPECT_EQ(screen.GetBackBuffer()->Width(), WindowWidth);
    EXPECT_EQ(doubled.pixel(2 * 93, 2 * 66), PanelRgb);
    EXPECT_EQ(doubled.pixel(2 * 93 - 1, 2 * 66), BlackRgb);
    EXPECT_EQ(doubled.pixel(897, 813), BlackRgb);
}
