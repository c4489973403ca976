// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "PixelTestSupport.h"

#include "render/DeviceContext.h"
#include "render/Painter.h"
#include "render/Screen.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

constexpr QRgb RedRgb = 0xFFFF0000u;
constexpr QRgb BlueRgb = 0xFF0000FFu;

// Paints its whole buffer red and counts its paints.
class RedScreen : public Screen {
public:
    void Draw(DeviceContext& dc, const std::string&) override
    {
        ++draws;
        Painter(dc).DrawRectangle(0, 0, dc.Width(), dc.Height(), 0x0000FF, 0x0000FF);
    }
    int draws = 0;
};

} // namespace

TEST(Screen, HitTestsTakeTheLeftAndTopEdgesButNotTheRightAndBottom)
{
    RedScreen screen;
    screen.SetButtonRect(TitleButton::Start, {159, 201, 281, 243});
    screen.SetButtonRect(TitleButton::Exit, {159, 269, 281, 311});
    const struct {
        Point pt;
        bool start;
        bool exit;
    } cases[] = {
        {{159, 201}, true, false},  {{280, 242}, true, false},  {{281, 220}, false, false},
        {{200, 243}, false, false}, {{158, 220}, false, false}, {{159, 269}, false, true},
        {{280, 310}, false, true},  {{281, 311}, false, false}, {{200, 256}, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pt.x << ", " << c.pt.y);
        EXPECT_EQ(screen.ButtonAt(c.pt) == TitleButton::Start, c.start);
        EXPECT_EQ(screen.ButtonAt(c.pt) == TitleButton::Exit, c.exit);
        EXPECT_FALSE(screen.HitStop(c.pt));
        EXPECT_NE(screen.ButtonAt(c.pt), TitleButton::Read);
    }
}

TEST(Screen, HoverChangesAreReportedOnceOnEnteringAndOnceOnLeaving)
{
    RedScreen screen;
    screen.SetButtonRect(TitleButton::Start, {159, 201, 281, 243});
    screen.SetButtonRect(TitleButton::Exit, {159, 269, 281, 311});
    const struct {
        Point pt;
        bool changed;
        bool startHover;
        bool exitHover;
    } moves[] = {
        {{10, 10}, false, false, false},  {{160, 210}, true, true, false},  {{200, 220}, false, true, false},
        {{280, 242}, false, true, false}, {{281, 242}, true, false, false}, {{200, 220}, true, true, false},
        {{200, 280}, true, false, true},  {{201, 281}, false, false, true}, {{0, 0}, true, false, false},
    };
    for (const auto& move : moves) {
        SCOPED_TRACE(testing::Message() << move.pt.x << ", " << move.pt.y);
        EXPECT_EQ(screen.UpdateHover(move.pt), move.changed);
        EXPECT_EQ(screen.IsHovered(TitleButton::Start), move.startHover);
        EXPECT_EQ(screen.IsHovered(TitleButton::Exit), move.exitHover);
        EXPECT_FALSE(screen.stopHover);
        EXPECT_FALSE(screen.IsHovered(TitleButton::Read));
    }
}

TEST(Screen, BuffersAreMadeAtTheFirstPaintAndKept)
{
    RedScreen screen;
    screen.SetArea(0, 0, 600, 500);
    EXPECT_EQ(screen.GetBackBuffer(), nullptr);

    PaintOnWindow(screen, 800, 700);
    const DeviceContext* first = screen.GetBackBuffer();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Width(), 600);
    EXPECT_EQ(first->Height(), 500);

    screen.SetArea(0, 0, 800, 700);
    const QImage window = PaintOnWindow(screen, 800, 700);
    EXPECT_EQ(screen.GetBackBuffer(), first);
    EXPECT_EQ(screen.GetBackBuffer()->Width(), 600);
    // The copy takes what the old buffer has and leaves the rest of the window alone.
    EXPECT_EQ(window.pixel(599, 499), RedRgb);
    EXPECT_EQ(window.pixel(600, 100), BlackRgb);
    EXPECT_EQ(window.pixel(100, 500), BlackRgb);
    EXPECT_EQ(screen.draws, 2);
}

TEST(Screen, PaintCopiesExactlyTheAreaToTheSamePlace)
{
    RedScreen screen;
    screen.SetArea(10, 20, 110, 220);
    QImage window(200, 300, QImage::Format_RGB32);
    window.fill(BlueRgb);
    QPainter painter(&window);
    screen.Paint(painter, "");
    painter.end();

    EXPECT_EQ(screen.GetBackBuffer()->Width(), 110);
    EXPECT_EQ(screen.GetBackBuffer()->Height(), 220);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 200; ++x) {
            const bool inArea = x >= 10 && x < 110 && y >= 20 && y < 220;
            ASSERT_EQ(window.pixel(x, y), inArea ? RedRgb : BlueRgb) << x << ", " << y;
        }
}

TEST(Screen, StopButtonIsLaidOverTheSceneOnlyWhilePlaying)
{
    RedScreen screen;
    screen.SetArea(0, 0, 200, 100);
    SetRect(screen.stopRect, 20, 30, 120, 70);

    const QImage title = PaintOnWindow(screen, 200, 100);
    EXPECT_EQ(CountNot(title, {0, 0, 200, 100}, RedRgb), 0);

    screen.SetPlaying(true);
    const QImage playing = PaintOnWindow(screen, 200, 100);
    EXPECT_EQ(screen.GetButtonBuffer()->Width(), 120);
    EXPECT_EQ(screen.GetButtonBuffer()->Height(), 70);
    EXPECT_EQ(playing.pixel(20, 30), qRgb(38, 38, 38));
    EXPECT_EQ(playing.pixel(119, 69), qRgb(38, 38, 38));
    EXPECT_EQ(playing.pixel(22, 32), qRgb(250, 250, 250));
    EXPECT_GT(CountColour(playing, screen.stopRect, qRgb(12, 0, 204)), 0);
    EXPECT_EQ(playing.pixel(19, 30), RedRgb);
    EXPECT_EQ(playing.pixel(120, 69), RedRgb);

    screen.stopHover = true;
    const QImage hovered = PaintOnWindow(screen, 200, 100);
    EXPECT_EQ(hovered.pixel(22, 32), qRgb(239, 117, 152));
}

TEST(Screen, EmptyStopButtonShowsNothingWhilePlaying)
{
    RedScreen screen;
    screen.SetArea(0, 0, 200, 100);
    screen.SetPlaying(true);
    const QImage window = PaintOnWindow(screen, 200, 100);
    EXPECT_EQ(CountNot(window, {0, 0, 200, 100}, RedRgb), 0);
    EXPECT_EQ(screen.GetButtonBuffer()->Width(), 0);
}
