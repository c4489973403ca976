// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "PixelTestSupport.h"

#include "render/DeviceContext.h"
#include "render/Painter.h"

#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

namespace {

// A background in which every pixel differs from its neighbours, so that a stray write shows.
void FillPattern(DeviceContext& dc)
{
    for (int y = 0; y < dc.Height(); ++y) {
        dc.SelectPen(Pen{Rgb(y * 3, 0, 0), 1});
        for (int x = 0; x < dc.Width(); ++x) {
            dc.SelectPen(Pen{Rgb(y * 3, x * 5, (x ^ y) & 0xFF), 1});
            dc.MoveTo(x, y);
            dc.LineTo(x + 1, y);
        }
    }
}

// The line the routine must draw, one step at a time with nothing skipped: step k of the major
// axis lands on round(k * minor / major), halves away from the start.
QImage ReferenceLine(QImage image, int x0, int y0, int x1, int y1, QRgb colour)
{
    const int dx = x1 - x0;
    const int dy = y1 - y0;
    const int major = std::max(std::abs(dx), std::abs(dy));
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const int minor = xMajor ? std::abs(dy) : std::abs(dx);
    for (int k = 0; k < major; ++k) {
        const int along = (2 * k * minor + major) / (2 * major);
        const int x = xMajor ? x0 + (dx < 0 ? -k : k) : x0 + (dx < 0 ? -along : along);
        const int y = xMajor ? y0 + (dy < 0 ? -along : along) : y0 + (dy < 0 ? -k : k);
        if (x >= 0 && y >= 0 && x < image.width() && y < image.height())
            image.setPixel(x, y, colour);
    }
    return image;
}

std::uint32_t NextRandom(std::uint32_t& seed)
{
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
}

} // namespace

TEST(DeviceContext, StartsBlackWithTheDefaultState)
{
    DeviceContext dc(8, 6);
    EXPECT_EQ(CountNot(dc.Image(), {0, 0, 8, 6}, BlackRgb), 0);
    EXPECT_EQ(dc.GetROP2(), RasterOp::CopyPen);
    EXPECT_EQ(dc.GetBkMode(), BackgroundMode::Opaque);
    EXPECT_EQ(dc.GetCurrentPosition(), (Point{0, 0}));

    DeviceContext empty(0, -5);
    EXPECT_EQ(empty.Width(), 0);
    empty.Rectangle(0, 0, 10, 10);
    empty.Ellipse(0, 0, 10, 10);
    empty.LineTo(10, 10);
    empty.DrawText("Stop", {0, 0, 10, 10}, TextAlign::Centre);
    EXPECT_TRUE(empty.Image().isNull());
}

TEST(DeviceContext, ClippedLinesDrawWhatTheWholeLineHasInsideTheImage)
{
    std::uint32_t seed = 7;
    for (int i = 0; i < 3000; ++i) {
        const int x0 = static_cast<int>(NextRandom(seed) % 260) - 100;
        const int y0 = static_cast<int>(NextRandom(seed) % 250) - 100;
        const int x1 = static_cast<int>(NextRandom(seed) % 260) - 100;
        const int y1 = static_cast<int>(NextRandom(seed) % 250) - 100;
        DeviceContext dc(60, 50);
        dc.SelectPen(Pen{0x00FF00, 1});
        dc.MoveTo(x0, y0);
        dc.LineTo(x1, y1);
        const QImage expected = ReferenceLine(DeviceContext(60, 50).Image(), x0, y0, x1, y1, qRgb(0, 255, 0));
        ASSERT_EQ(dc.Image(), expected) << x0 << ", " << y0 << " to " << x1 << ", " << y1;
    }
}

// Steep and flat lines are drawn run by run; every slope around the switch between one run
// length and the next must still give the step-by-step line, whole or cut by the image's edges.
TEST(DeviceContext, LinesDrawnRunByRunMatchTheStepByStepLine)
{
    const int minors[] = {1, 2, 3, 7, 33, 49, 50, 51, 66, 99};
    for (const int minor : minors)
        for (const int direction : {0, 1, 2, 3, 4, 5, 6, 7})
            for (const int shift : {0, -37, 41}) {
                const int major = 100;
                const bool xMajor = direction & 1;
                const int along = direction & 2 ? -major : major;
                const int across = direction & 4 ? -minor : minor;
                const int x0 = 60 + shift;
                const int y0 = 50 - shift / 2;
                const int x1 = x0 + (xMajor ? along : across);
                const int y1 = y0 + (xMajor ? across : along);
                DeviceContext dc(130, 110);
                dc.SelectPen(Pen{0xFFFFFF, 1});
                dc.MoveTo(x0, y0);
                dc.LineTo(x1, y1);
                const QImage expected =
                    ReferenceLine(DeviceContext(130, 110).Image(), x0, y0, x1, y1, qRgb(255, 255, 255));
                ASSERT_EQ(FirstDifference(dc.Image(), expected), "")
                    << x0 << ", " << y0 << " to " << x1 << ", " << y1;
            }
}

TEST(DeviceContext, ClippedXorLinesTwiceRestoreThePixels)
{
    DeviceContext dc(40, 30);
    FillPattern(dc);
    const QImage before = dc.Image().copy();
    dc.SetROP2(RasterOp::XorPen);
    dc.SelectPen(Pen{0xFFFFFF, 1});
    for (int pass = 0; pass < 2; ++pass) {
        dc.MoveTo(-50, -7);
        dc.LineTo(90, 44);
        dc.MoveTo(20, -100);
        dc.LineTo(13, 100);
    }
    EXPECT_EQ(dc.Image(), before);
}

// Copied ellipses must be exactly what QPainter draws in their place, whether the image's
// edges cut them or not.
TEST(DeviceContext, CopiedEllipsesMatchQPainterPixelForPixel)
{
    const struct {
        int width;
        int height;
    } sizes[] = {{30, 30}, {29, 30}, {30, 29}, {1, 1}, {2, 2}, {3, 5}, {17, 9}, {64, 64}, {64, 12}};
    const int places[] = {-70, -31, -29, -15, -1, 0, 1, 7, 13, 33, 40, 59, 70, 99};
    for (const auto& size : sizes)
        for (const int left : places)
            for (const int top : places) {
                SCOPED_TRACE(testing::Message()
                             << size.width << " x " << size.height << " at " << left << ", " << top);
                DeviceContext copied(80, 70);
                DeviceContext drawn(80, 70);
                FillPattern(copied);
                FillPattern(drawn);
                drawn.UseEllipseSprites(false);
                for (DeviceContext* dc : {&copied, &drawn}) {
                    dc->SelectPen(Pen{0xFAFAFA, 1});
                    dc->SelectBrush(Brush{0x4B4B4B});
                    dc->Ellipse(left, top, left + size.width, top + size.height);
                }

                QImage plain(80, 70, QImage::Format_RGB32);
                {
                    DeviceContext pattern(80, 70);
                    FillPattern(pattern);
                    plain = pattern.Image().copy();
                }
                QPainter painter(&plain);
                painter.setPen(QPen(QColor(250, 250, 250), 0));
                painter.setBrush(QColor(75, 75, 75));
                painter.drawEllipse(QRect(left, top, size.width - 1, size.height - 1));
                painter.end();

                ASSERT_EQ(FirstDifference(copied.Image(), drawn.Image()), "");
                ASSERT_EQ(FirstDifference(copied.Image(), plain), "");
            }
}

// The weights (30 x 30, or one less where the position is negative) and the obstacles (10 x 10).
TEST(DeviceContext, RoundEllipsesStayInTheirBox)
{
    for (const bool sprites : {true, false})
        for (const int width : {10, 29, 30, 31})
            for (const int height : {10, 29, 30, 31}) {
                if (std::abs(width - height) > 2)
                    continue;
                SCOPED_TRACE(testing::Message() << width << " x " << height << (sprites ? " copied" : ""));
                DeviceContext dc(80, 80);
                dc.UseEllipseSprites(sprites);
                dc.SelectPen(Pen{0xFAFAFA, 1});
                dc.Ellipse(20, 20, 20 + width, 20 + height);
                EXPECT_EQ(BoundsOfOther(dc.Image(), {0, 0, 80, 80}, BlackRgb),
                          (Rect{20, 20, 20 + width, 20 + height}));
            }
}

TEST(DeviceContext, EllipsesOfManyColoursEachKeepTheirOwnPixels)
{
    DeviceContext copied(300, 300);
    DeviceContext drawn(300, 300);
    drawn.UseEllipseSprites(false);
    for (DeviceContext* dc : {&copied, &drawn})
        for (int i = 0; i < 200; ++i) {
            dc->SelectPen(Pen{static_cast<ColorRef>(i * 0x010203), 1});
            dc->SelectBrush(Brush{static_cast<ColorRef>(i * 0x030201)});
            const int x = i * 37 % 280;
            const int y = i * 53 % 280;
            dc->Ellipse(x, y, x + 10 + i % 30, y + 10 + i % 20);
        }
    EXPECT_EQ(FirstDifference(copied.Image(), drawn.Image()), "");
}

// A fill of the whole image writes only what was drawn since the last one; whatever was drawn,
// and however, none of it may show through.
TEST(DeviceContext, FillingTheWholeImageCoversEverythingDrawnBefore)
{
    const struct {
        const char* what;
        std::function<void(DeviceContext&)> draw;
    } drawings[] = {
        {"copied ellipse", [](DeviceContext& dc) { dc.Ellipse(40, 10, 70, 40); }},
        {"copied ellipse cut by the edge", [](DeviceContext& dc) { dc.Ellipse(65, 50, 95, 80); }},
        {"flat ellipse", [](DeviceContext& dc) { dc.Ellipse(-20, 50, 200, 53); }},
        {"clipped line",
         [](DeviceContext& dc) {
             dc.MoveTo(-300, 7);
             dc.LineTo(500, 9);
         }},
        {"line up the right edge",
         [](DeviceContext& dc) {
             dc.MoveTo(79, 59);
             dc.LineTo(79, 0);
         }},
        {"rectangle", [](DeviceContext& dc) { dc.Rectangle(2, 2, 9, 9); }},
        {"xor rectangle",
         [](DeviceContext& dc) {
             dc.SetROP2(RasterOp::XorPen);
             dc.Rectangle(60, 3, 79, 12);
         }},
        {"xor ellipse",
         [](DeviceContext& dc) {
             dc.SetROP2(RasterOp::XorPen);
             dc.Ellipse(5, 30, 15, 40);
         }},
        {"wide line",
         [](DeviceContext& dc) {
             dc.SelectPen(Pen{0x00FF00, 3});
             dc.MoveTo(0, 59);
             dc.LineTo(30, 20);
         }},
        {"wide ellipse",
         [](DeviceContext& dc) {
             dc.SelectPen(Pen{0x00FF00, 3});
             dc.Ellipse(50, 40, 59, 49);
         }},
        {"wide rectangle",
         [](DeviceContext& dc) {
             dc.SelectPen(Pen{0x00FF00, 3});
             dc.Rectangle(20, 40, 40, 59);
         }},
        {"text",
         [](DeviceContext& dc) {
             dc.SelectFont(Font{26});
             dc.DrawText("Stop", {10, 10, 70, 50}, TextAlign::Centre);
         }},
        {"rectangle over all but a row", [](DeviceContext& dc) { dc.Rectangle(0, 0, 80, 59); }},
    };
    for (const qreal scale : {1.0, 2.0})
        for (const auto& drawing : drawings) {
            SCOPED_TRACE(testing::Message() << drawing.what << " at scale " << scale);
            DeviceContext dc(80, 60, scale);
            const auto draw = [&] {
                dc.SelectPen(Pen{0xFAFAFA, 1});
                dc.SelectBrush(Brush{0x4B4B4B});
                dc.SetTextColor(0xFFFFFF);
                drawing.draw(dc);
                dc.SetROP2(RasterOp::CopyPen);
            };
            const auto fill = [&dc](ColorRef colour) {
                dc.SelectPen(Pen{colour, 1});
                dc.SelectBrush(Brush{colour});
                dc.Rectangle(-5, -5, 100, 100);
            };
            const auto drawnPixels = [&dc](QRgb background) {
                const QImage& image = dc.Image();
                return CountNot(image, {0, 0, image.width(), image.height()}, background);
            };

            draw();
            ASSERT_GT(drawnPixels(BlackRgb), 0);
            fill(0x000000);
            EXPECT_EQ(drawnPixels(BlackRgb), 0);
            draw();
            const QImage kept = dc.Image(); // a copy held while the image changes
            fill(0xFF0000);
            EXPECT_EQ(drawnPixels(qRgb(0, 0, 255)), 0);
            draw();
            fill(0xFF0000);
            EXPECT_EQ(drawnPixels(qRgb(0, 0, 255)), 0);
            fill(0x000000);
            EXPECT_EQ(drawnPixels(BlackRgb), 0);
            EXPECT_GT(CountNot(kept, {0, 0, kept.width(), kept.height()}, BlackRgb), 0);
        }
}

// A label drawn again on the same plain ground is copied from its first drawing; on any other
// ground, or with anything else changed, it must come out as if drawn afresh.
TEST(DeviceContext, LabelsDrawnAgainLookAsIfDrawnAfresh)
{
    struct Label {
        const char* text;
        int size;
        ColorRef colour;
        Rect rect;
    };
    const Label time{"[時間:12.3秒]", 120, 0xFAFAFA, {8, 6, 150, 26}};
    const Label later{"[時間:12.4秒]", 120, 0xFAFAFA, {8, 6, 150, 26}};
    const Label blue{"[時間:12.3秒]", 120, 0xCC000C, {8, 6, 150, 26}};
    const Label moved{"[時間:12.3秒]", 120, 0xFAFAFA, {9, 6, 151, 26}};
    const Label large{"Stop", 200, 0xCC000C, {20, 30, 120, 70}};
    struct Scene {
        ColorRef ground;
        bool boxUnder;
        Label label;
    };
    const Scene scenes[] = {
        {0x000000, false, time},  {0x000000, false, time}, {0x000000, false, later}, {0x000000, false, blue},
        {0x000000, false, moved}, {0xFF0000, false, time}, {0x000000, true, time},   {0x000000, false, time},
        {0x000000, false, large}, {0x000000, true, large}, {0x000000, false, large},
    };
    const auto paint = [](DeviceContext& dc, const Scene& scene) {
        Painter painter(dc);
        painter.DrawRectangle(0, 0, dc.Width(), dc.Height(), scene.ground, scene.ground);
        if (scene.boxUnder)
            painter.DrawRectangle(30, 10, 60, 40, 0x8C8C8C, 0xE0C4B7);
        const Label& label = scene.label;
        painter.DrawLeftLabel(label.rect.left, label.rect.top, label.rect.right, label.rect.bottom,
                              label.text, label.size, label.colour);
    };
    for (const qreal scale : {1.0, 2.0}) {
        DeviceContext reused(160, 80, scale);
        for (const Scene& scene : scenes) {
            SCOPED_TRACE(testing::Message() << scene.label.text << " on " << scene.ground
                                            << (scene.boxUnder ? " and a box" : "") << " at scale " << scale);
            DeviceContext fresh(160, 80, scale);
            paint(fresh, scene);
            paint(reused, scene);
            ASSERT_EQ(FirstDifference(reused.Image(), fresh.Image()), "");
        }
    }
}
