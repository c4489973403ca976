// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "LabelRecorder.h"
#include "PixelTestSupport.h"

#include "model/Shadow.h"
#include "model/Swing.h"
#include "render/DeviceContext.h"
#include "render/GameScreen.h"
#include "threads/GameThread.h"

#include <QDir>
#include <QImage>
#include <QPainter>

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace {

constexpr QRgb MidGreyRgb = qRgb(140, 140, 140);
constexpr QRgb HoverPinkRgb = qRgb(239, 117, 152);
constexpr QRgb BannerRgb = qRgb(183, 196, 224);
constexpr QRgb WhiteRgb = qRgb(255, 255, 255);
constexpr QRgb HintRgb = qRgb(0x50, 0x50, 0x50);

// A swing anchored at (ax, ay) whose weight was dragged to (wx, wy) and not released.
void HangSwing(GameScreen& screen, int ax, int ay, int wx, int wy)
{
    screen.BeginSwing(ax, ay);
    screen.DragSwing(wx, wy);
}

QRgb Grey(int level)
{
    return qRgb(level, level, level);
}

void SaveForReview(const QImage& image, const char* name)
{
    const QString dir = QStringLiteral(TOCKLET_REVIEW_DIR);
    ASSERT_TRUE(QDir().mkpath(dir));
    EXPECT_TRUE(image.save(dir + QLatin1Char('/') + QLatin1String(name)));
}

// Resets the world as the game thread would, at the moment the painting asks the swing where
// it is, and records whether the swing was still alive then.
// What it finds is kept outside it, to be read after it has gone.
struct ResetOutcome {
    std::atomic<bool> destroyed{false};
    bool resetDone = false;
    bool aliveAfterReset = false;
};

class ResettingSwing : public Swing {
public:
    ResettingSwing(World& world, ResetOutcome& outcome)
        : world(world)
        , outcome(outcome)
    {
    }
    ~ResettingSwing() override { outcome.destroyed = true; }

    Rect GetRect() const override
    {
        if (!outcome.resetDone) {
            outcome.resetDone = true;
            world.ResetGame();
            outcome.aliveAfterReset = !outcome.destroyed;
        }
        return Swing::GetRect();
    }

    World& world;
    ResetOutcome& outcome;
};

// A world whose game ends by itself after a few ticks, and a game loop that shows the end
// only briefly: the loop's own way back to the title.
class EndingScreen : public GameScreen {
public:
    bool IsFinished() override { return ++ticksAsked > 3; }
    int ticksAsked = 0;
};

class BriefEndGame : public GameThread {
public:
    BriefEndGame() { SetEndDisplay(std::chrono::milliseconds(20)); }
};

} // namespace

TEST(GameScreen, TitleScreenShowsThePanelTheButtonFramesAndTheBestTime)
{
    GameScreen screen;
    LayOutLikeTheWindow(screen);
    const QImage window = PaintOnWindow(screen, WindowWidth, WindowHeight);

    // Black field around everything.
    EXPECT_EQ(window.pixel(5, 5), BlackRgb);
    EXPECT_EQ(window.pixel(448, 406), BlackRgb);
    EXPECT_EQ(CountNot(window, {0, 131, 449, 201}, BlackRgb), 0);

    // The panel fills 93..347 x 66..130 with deep-blue text in it.
    EXPECT_EQ(window.pixel(93, 66), PanelRgb);
    EXPECT_EQ(window.pixel(347, 130), PanelRgb);
    EXPECT_EQ(window.pixel(100, 70), PanelRgb);
    EXPECT_EQ(window.pixel(92, 66), BlackRgb);
    EXPECT_EQ(window.pixel(348, 131), BlackRgb);
    EXPECT_GT(CountColour(window, screen.titleRect, DeepBlueRgb), 100);
    EXPECT_EQ(
        CountNot(window, {93, 66, 348, 131}, PanelRgb) - CountColour(window, screen.titleRect, DeepBlueRgb),
        CountPixels(window, screen.titleRect, [](QRgb p) { return p != PanelRgb && p != DeepBlueRgb; }));

    // Buttons not hovered: a near-white frame reaching right and bottom, black inside.
    for (const Rect& button :
         {screen.GetButtonRect(TitleButton::Start), screen.GetButtonRect(TitleButton::Exit)}) {
        EXPECT_EQ(window.pixel(button.left, button.top), NearWhiteRgb);
        EXPECT_EQ(window.pixel(button.right, button.top), NearWhiteRgb);
        EXPECT_EQ(window.pixel(button.left, button.bottom), NearWhiteRgb);
        EXPECT_EQ(window.pixel(button.right, button.bottom), NearWhiteRgb);
        EXPECT_EQ(window.pixel(button.left + 3, button.top + 3), BlackRgb);
        EXPECT_EQ(window.pixel(button.right + 1, button.bottom), BlackRgb);
        EXPECT_GT(CountColour(window, button, DeepBlueRgb), 10);
        EXPECT_EQ(CountColour(window, button, HoverPinkRgb), 0);
    }

    // The best time on a line of its own between the Exit button and the bottom.
    const Rect status{0, 312, 449, 407};
    const Rect ink = BoundsOfOther(window, status, BlackRgb);
    ASSERT_FALSE(IsRectEmpty(ink));
    EXPECT_GT(CountColour(window, status, NearWhiteRgb), 10);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 224.5, 3.0);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 359.0, 4.0);

    SaveForReview(window, "title.png");
}

TEST(GameScreen, HoveredTitleButtonIsPinkWithAGreyOutline)
{
    GameScreen screen;
    LayOutLikeTheWindow(screen);
    ASSERT_TRUE(screen.UpdateHover({200, 220}));
    const QImage window = PaintOnWindow(screen, WindowWidth, WindowHeight);

    EXPECT_EQ(window.pixel(159, 201), MidGreyRgb);
    EXPECT_EQ(window.pixel(280, 242), MidGreyRgb);
    EXPECT_EQ(window.pixel(281, 243), BlackRgb);
    EXPECT_EQ(window.pixel(162, 205), HoverPinkRgb);
    EXPECT_GT(CountColour(window, screen.GetButtonRect(TitleButton::Start), DeepBlueRgb), 10);
    // Exit stays a frame.
    EXPECT_EQ(window.pixel(159, 269), NearWhiteRgb);
    EXPECT_EQ(window.pixel(162, 273), BlackRgb);

    SaveForReview(window, "title-hover.png");
}

TEST(GameScreen, LaterTitleButtonIsDrawnOverAnEarlierOne)
{
    GameScreen screen;
    screen.SetArea(0, 0, 200, 200);
    screen.SetButtonRect(TitleButton::Start, {10, 10, 110, 110});
    screen.SetButtonRect(TitleButton::Exit, {60, 60, 160, 160});
    screen.UpdateHover({30, 30});
    const QImage window = PaintOnWindow(screen, 200, 200);

    EXPECT_EQ(window.pixel(60, 80), NearWhiteRgb);
    EXPECT_EQ(window.pixel(80, 60), NearWhiteRgb);
    EXPECT_EQ(window.pixel(30, 30), HoverPinkRgb);
}

TEST(GameScreen, PlaySceneWithoutSwingsIsTheBlackFieldAlone)
{
    GameScreen screen;
    LayOutLikeTheWindow(screen);
    screen.SetStatusText("");
    screen.SetPlaying(true);
    const QImage window = PaintOnWindow(screen, WindowWidth, WindowHeight);
    EXPECT_EQ(CountNot(window, {0, 0, WindowWidth, WindowHeight}, BlackRgb), 0);
}

TEST(GameScreen, SwingsAreFilledInTheGreyOfTheirIndex)
{
    GameScreen screen;
    LayOutLikeTheWindow(screen);
    screen.SetStatusText("");
    screen.SetPlaying(true);
    // Twelve weights in a row, each hanging 40 pixels below its anchor.
    for (int i = 0; i < 12; ++i)
        HangSwing(screen, 20 + 35 * i, 100, 20 + 35 * i, 140);
    screen.GetWorld().swings.GetAt(3)->alive = false;
    const QImage window = PaintOnWindow(screen, WindowWidth, WindowHeight);

    const int greys[] = {255, 235, 215, -1, 175, 155, 135, 115, 95, 75, 255, 235};
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(testing::Message() << "swing " << i);
        const int x = 20 + 35 * i;
        if (greys[i] < 0) {
            EXPECT_EQ(CountNot(window, {x - 16, 95, x + 16, 160}, BlackRgb), 0);
            continue;
        }
        EXPECT_EQ(window.pixel(x, 140), Grey(greys[i]));
        EXPECT_EQ(window.pixel(x + 5, 135), Grey(greys[i]));
        // The outline round the weight and the rope from the anchor down to it.
        EXPECT_EQ(window.pixel(x - 15, 140), NearWhiteRgb);
        EXPECT_EQ(window.pixel(x + 14, 140), NearWhiteRgb);
        EXPECT_EQ(window.pixel(x, 125), NearWhiteRgb);
        EXPECT_EQ(window.pixel(x, 100), NearWhiteRgb);
        EXPECT_EQ(window.pixel(x, 115), NearWhiteRgb);
        EXPECT_EQ(window.pixel(x, 99), BlackRgb);
        EXPECT_EQ(window.pixel(x + 1, 110), BlackRgb);
    }
}

TEST(GameScreen, SwingsPastTheFirstSixtyFourAreDrawnToo)
{
    GameScreen screen;
    LayOutLikeTheWindow(screen);
    screen.SetStatusText("");
    screen.SetPlaying(true);
    // Seventy released weights, ten to a row, each 25 pixels below its anchor.
    constexpr int Swings = 70;
    const auto weightAt = [](int i) { return Point{25 + 40 * (i % 10), 40 + 50 * (i / 10)}; };
    for (int i = 0; i < Swings; ++i) {
        const Point weight = weightAt(i);
        HangSwing(screen, weight.x, weight.y - 25, weight.x, weight.y);
        screen.ReleaseSwing(weight.x, weight.y);
    }
    ASSERT_EQ(screen.GetWorld().GetSwingCount(), Swings);
    const QImage window = PaintOnWindow(screen, WindowWidth, WindowHeight);

    for (const int i : {0, 63, 64, 65, 69}) {
        const Point weight = weightAt(i);
        EXPECT_EQ(window.pixel(weight.x, weight.y), Grey(255 - i % 10 * 20)) << "swing " << i;
    }
}

TEST(GameScreen, RopeRunsFromTheAnchorToTheWeight)
{
    GameScreen screen;
    screen.SetArea(0, 0, 300, 300);
    screen.SetPlaying(true);
    HangSwing(screen, 50, 40, 250, 240);
    const QImage window = PaintOnWindow(screen, 300, 300);

    for (int i = 0; i <= 180; i += 10)
        EXPECT_EQ(window.pixel(50 + i, 40 + i), NearWhiteRgb) << i;
    EXPECT_EQ(window.pixel(250, 240), WhiteRgb);
}

TEST(GameScreen, BannerBandIsDrawnAcrossTheMiddleForAMessageOnly)
{
    for (const int height : {300, 301}) {
        SCOPED_TRACE(testing::Message() << "height " << height);
        GameScreen screen;
        screen.SetArea(0, 0, 400, height);
        screen.SetPlaying(true);
        const QImage window = PaintOnWindow(screen, 400, height, "GameOver!!");

        EXPECT_EQ(BoundsOfOther(window, {0, 0, 400, height}, BlackRgb), (Rect{10, 120, 390, 180}));
        EXPECT_EQ(window.pixel(10, 120), MidGreyRgb);
        EXPECT_EQ(window.pixel(389, 179), MidGreyRgb);
        EXPECT_EQ(window.pixel(12, 122), BannerRgb);
        EXPECT_EQ(window.pixel(387, 177), BannerRgb);
        const Rect ink = BoundsOfOther(window, {11, 121, 389, 179}, BannerRgb);
        EXPECT_GT(CountColour(window, ink, WhiteRgb), 50);
        EXPECT_NEAR((ink.left + ink.right) / 2.0, 200.0, 3.0);

        const QImage quiet = PaintOnWindow(screen, 400, height, "");
        EXPECT_EQ(CountNot(quiet, {0, 0, 400, height}, BlackRgb), 0);
    }
}

TEST(GameScreen, TimeTextSitsAtTheTopLeftUnderTheBanner)
{
    GameScreen screen;
    LayOutLikeTheWindow(screen);
    screen.SetPlaying(true);
    screen.SetStatusText("[時間:12.3秒]");
    const QImage window = PaintOnWindow(screen, WindowWidth, WindowHeight);

    const Rect ink = BoundsOfOther(window, {0, 0, WindowWidth, WindowHeight}, BlackRgb);
    EXPECT_GE(ink.left, 8);
    EXPECT_LT(ink.left, 20);
    EXPECT_GE(ink.top, 6);
    EXPECT_LE(ink.bottom, 26);
    EXPECT_LT(ink.right, 200);
    EXPECT_GT(CountColour(window, ink, NearWhiteRgb), 10);
}

TEST(GameScreen, PaintingKeepsASwingAliveThatAResetRemovesMeanwhile)
{
    GameScreen screen;
    screen.SetArea(0, 0, 100, 100);
    screen.SetPlaying(true);
    ResetOutcome outcome;
    auto swing = std::make_shared<ResettingSwing>(screen.GetWorld(), outcome);
    swing->anchorX = 50;
    swing->anchorY = 10;
    swing->SetPoint(50, 60);
    screen.GetWorld().swings.Add(std::move(swing));

    DeviceContext dc(100, 100);
    screen.Draw(dc, "");
    EXPECT_TRUE(outcome.resetDone);
    EXPECT_TRUE(outcome.aliveAfterReset);
    EXPECT_TRUE(outcome.destroyed);
    EXPECT_EQ(screen.GetWorld().GetSwingCount(), 0);
}

TEST(GameScreen, CopiedWeightsPaintTheSameSceneAsDrawnOnesAtEveryRatio)
{
    GameScreen screen;
    LayOutLikeTheWindow(screen);
    screen.SetPlaying(true);
    for (int i = 0; i < 60; ++i) {
        const int ax = (i * 97) % 500 - 25;
        const int ay = (i * 61) % 300 - 20;
        HangSwing(screen, ax, ay, ax + (i * 13) % 90 - 45, ay + 10 + (i * 29) % 100);
        screen.ReleaseSwing(0, 0);
    }
    for (int tick = 0; tick < 75; ++tick)
        screen.Tick();
    screen.SetStatusText("[時間:0.7秒]");

    for (const qreal ratio : {1.0, 2.0}) {
        DeviceContext copied(WindowWidth, WindowHeight, ratio);
        DeviceContext drawn(WindowWidth, WindowHeight, ratio);
        drawn.UseEllipseSprites(false);
        screen.Draw(copied, "Finish!!");
        screen.Draw(drawn, "Finish!!");
        EXPECT_EQ(FirstDifference(copied.Image(), drawn.Image()), "") << "ratio " << ratio;
    }
}

// A Qt program drawing the swings the plain way, with a pen and a brush per shape, draws the
// same pixels wherever the two line routines agree: ropes straight down, across or at 45 degrees.
TEST(GameScreen, SwingsMatchAPlainQPainterDrawing)
{
    GameScreen screen;
    LayOutLikeTheWindow(screen);
    screen.SetStatusText("");
    screen.SetPlaying(true);
    const struct {
        int dx;
        int dy;
    } ropes[] = {{0, 60}, {0, -45}, {70, 0}, {-35, 0}, {40, 40}, {-50, 50}, {30, -30}, {-25, -25}};
    for (int i = 0; i < 40; ++i) {
        const int ax = (i * 83) % 470 - 10;
        const int ay = (i * 47) % 420 - 10;
        HangSwing(screen, ax, ay, ax + ropes[i % 8].dx, ay + ropes[i % 8].dy);
    }
    const QImage window = PaintOnWindow(screen, WindowWidth, WindowHeight);

    QImage plain(WindowWidth, WindowHeight, QImage::Format_RGB32);
    plain.fill(BlackRgb);
    QPainter painter(&plain);
    for (int i = 0; i < screen.GetWorld().GetSwingCount(); ++i) {
        const std::shared_ptr<Swing> swing = screen.GetWorld().swings.GetAt(i);
        const Point weight = swing->GetPoint();
        const Rect box = swing->GetRect();
        const int grey = 255 - i % 10 * 20;
        painter.setPen(QPen(QColor(250, 250, 250), 0));
        painter.setBrush(QColor(250, 250, 250));
        painter.drawLine(swing->anchorX, swing->anchorY, weight.x, weight.y);
        painter.setPen(QPen(QColor(250, 250, 250), 0));
        painter.setBrush(QColor(grey, grey, grey));
        painter.drawEllipse(QRect(box.left, box.top, box.Width() - 1, box.Height() - 1));
    }
    painter.end();
    EXPECT_EQ(FirstDifference(window, plain), "");
}

TEST(GameScreen, AShadowSwallowsWhereItIsDrawn)
{
    // Against the black field: a weight centred on a drawn pixel of the shadow is swallowed and
    // one on a black pixel is not. Qt draws the ellipse from curves, not by the formula of the
    // hit test, so the two may differ on the rim: only by pixels at the drawing's edge.
    for (const int diameter : {40, 76, 120}) {
        SCOPED_TRACE(diameter);
        GameScreen screen;
        LayOutLikeTheWindow(screen);
        screen.SetStatusText("");
        screen.SetPlaying(true);
        const auto shadow = std::make_shared<Shadow>(200.0, 200.0, 0.0, 0.0, diameter);
        shadow->ageTicks = screen.GetWorld().rule.harmlessTicks + 1;
        screen.GetWorld().obstacles.Add(shadow);
        const QImage window = PaintOnWindow(screen, WindowWidth, WindowHeight);
        const Rect box = shadow->GetRect();
        EXPECT_EQ(window.pixel(box.left + diameter / 2, box.top), MidGreyRgb);
        EXPECT_EQ(window.pixel(box.left + diameter / 2, box.top + diameter / 2), qRgb(38, 38, 38));
        const auto drawn = [&](int x, int y) { return window.pixel(x, y) != BlackRgb; };
        int inside = 0;
        for (int y = box.top - 2; y < box.bottom + 2; ++y) {
            for (int x = box.left - 2; x < box.right + 2; ++x) {
                const bool hit = shadow->HitTest(Point{x, y});
                inside += hit;
                if (hit == drawn(x, y))
                    continue;
                const bool atTheEdge = drawn(x - 1, y) != drawn(x, y) || drawn(x + 1, y) != drawn(x, y)
                                       || drawn(x, y - 1) != drawn(x, y) || drawn(x, y + 1) != drawn(x, y);
                EXPECT_TRUE(atTheEdge)
                    << x << ", " << y << (hit ? " swallows but is black" : " is drawn but safe");
            }
        }
        EXPECT_NEAR(inside, 3.14159 * diameter * diameter / 4, diameter);
    }
}

TEST(GameScreen, AShadowThatCannotSwallowYetShowsWhatItCovers)
{
    // A weight under a shadow in its first second stays in sight inside a fading-in outline;
    // from the moment the shadow can swallow, it covers the weight.
    GameScreen screen;
    LayOutLikeTheWindow(screen);
    screen.SetPlaying(true);
    HangSwing(screen, 200, 150, 200, 200);
    const auto shadow = std::make_shared<Shadow>(200.0, 200.0, 0.0, 0.0, 80);
    screen.GetWorld().obstacles.Add(shadow);
    const int harmless = screen.GetWorld().rule.harmlessTicks;
    const Rect box = shadow->GetRect();
    std::vector<QRgb> rims;
    for (const int age : {0, harmless / 2, harmless}) {
        shadow->ageTicks = age;
        const QImage window = PaintOnWindow(screen, WindowWidth, WindowHeight);
        EXPECT_EQ(window.pixel(200, 200), Grey(255)) << "age " << age;
        rims.push_back(window.pixel(box.left + 40, box.top));
    }
    EXPECT_LT(qRed(rims[0]), qRed(rims[1]));
    EXPECT_LT(qRed(rims[1]), qRed(rims[2]));
    shadow->ageTicks = harmless + 1;
    const QImage window = PaintOnWindow(screen, WindowWidth, WindowHeight);
    EXPECT_EQ(window.pixel(200, 200), qRgb(38, 38, 38));
    EXPECT_EQ(window.pixel(box.left + 40, box.top), MidGreyRgb);
}

TEST(GameScreen, SavesAPlaySceneForReview)
{
    GameScreen screen;
    LayOutLikeTheWindow(screen);
    screen.SetPlaying(true);
    for (int i = 0; i < 25; ++i) {
        const int ax = 30 + (i % 5) * 95;
        const int ay = 40 + (i / 5) * 50;
        HangSwing(screen, ax, ay, ax + 20 + (i * 7) % 40, ay + 50 + (i * 11) % 30);
        screen.ReleaseSwing(0, 0);
    }
    for (int tick = 0; tick < 40; ++tick)
        screen.Tick();
    for (const auto& [x, y, diameter] :
         {std::tuple{90, 300, 40}, std::tuple{330, 120, 70}, std::tuple{449, 220, 120}}) {
        const auto shadow = std::make_shared<Shadow>(x, y, 0.0, 0.0, diameter);
        // The small one has only just come and cannot swallow yet.
        shadow->ageTicks = diameter == 40 ? 30 : screen.GetWorld().rule.harmlessTicks + 1;
        screen.GetWorld().obstacles.Add(shadow);
    }
    screen.SetStatusText("[時間:12.3秒]");
    const QImage window = PaintOnWindow(screen, WindowWidth, WindowHeight);

    EXPECT_GT(CountColour(window, {0, 0, WindowWidth, WindowHeight}, Grey(75)), 0);
    SaveForReview(window, "play.png");
    SaveForReview(PaintOnWindow(screen, WindowWidth, WindowHeight, "GameOver!!"), "play-banner.png");
}

TEST(GameScreen, TheHintShowsFromTheStartOfAGameUntilItsFirstSwing)
{
    GameScreen screen;
    LayOutLikeTheWindow(screen);
    HangSwing(screen, 200, 200, 220, 230); // the last game's
    screen.BeginGame();
    screen.SetPlaying(true);
    screen.SetStatusText("[時間:0.1秒]");
    const QImage window = PaintOnWindow(screen, WindowWidth, WindowHeight);

    // Two lines centred in the field, dim grey on black, and nothing else but the time text.
    const Rect field{0, 40, WindowWidth, WindowHeight};
    const Rect ink = BoundsOfOther(window, field, BlackRgb);
    EXPECT_GT(CountColour(window, ink, HintRgb), 150);
    EXPECT_EQ(CountPixels(window, field, [](QRgb p) { return qRed(p) > 0x50; }), 0);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 224.5, 4.0);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 203.5, 6.0);
    EXPECT_GT(ink.Width(), 330);
    EXPECT_GT(ink.Height(), 40) << "a second line under the first";
    SaveForReview(window, "hint.png");

    const QImage paused = PaintOnWindow(screen, WindowWidth, WindowHeight, "Pause");
    EXPECT_EQ(CountColour(paused, field, HintRgb), 0) << "under the banner";

    screen.BeginSwing(40, 360);
    EXPECT_EQ(CountColour(PaintOnWindow(screen, WindowWidth, WindowHeight), field, HintRgb), 0);
    screen.ReleaseSwing(40, 360);
    screen.ResetGame(); // as the game loop does at its start
    EXPECT_EQ(CountColour(PaintOnWindow(screen, WindowWidth, WindowHeight), field, HintRgb), 0)
        << "not back within the same game";
}

// The game loop writes its time texts, the last of them possibly after the return, and at the
// end of a game an empty one: the title shows its own line through all of it.
TEST(GameScreen, TheTitleAfterAGameShowsItsOwnStatusLine)
{
    EndingScreen screen;
    LayOutLikeTheWindow(screen);
    const QImage before = PaintOnWindow(screen, WindowWidth, WindowHeight);

    BriefEndGame game;
    game.SetScreen(&screen);
    screen.BeginGame();
    screen.SetPlaying(true);
    game.Start();
    for (int i = 0; i < 200 && (game.IsRunning() || screen.IsPlaying()); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_FALSE(screen.IsPlaying()) << "the game did not end by itself";
    game.StopAndJoin();
    const QImage after = PaintOnWindow(screen, WindowWidth, WindowHeight, game.GetMessageText());
    EXPECT_EQ(FirstDifference(after, before), "");
    SaveForReview(after, "title-after-game.png");

    screen.SetStatusText("[時間:5.7秒]");
    EXPECT_EQ(FirstDifference(PaintOnWindow(screen, WindowWidth, WindowHeight), before), "");

    screen.SetTitleStatusText("ベストタイム:60.0秒");
    screen.SetTitleResultText("★新記録★　今回のタイム:60.0秒", true);
    const QImage best = PaintOnWindow(screen, WindowWidth, WindowHeight);
    EXPECT_GT(CountColour(best, {0, 311, WindowWidth, WindowHeight}, HoverPinkRgb), 0);
    SaveForReview(best, "title-new-best.png");
}

// Each row reads rank, time and score from left to right; a place with no time reads as empty.
TEST(GameScreen, TheRecordsShowEachPlacesRankTimeAndScoreInTheirColumns)
{
    GameScreen screen;
    LayOutLikeTheWindow(screen);
    screen.SetRecords({{{75.3, 4321}, {50.0, 77}, {42.0, 5}, {7.5, 1}, {0.0, 0}}}, -1);
    screen.ShowRecords(true);
    LabelRecorder drawing(WindowWidth, WindowHeight);
    screen.Draw(drawing, "");
    std::vector<std::string> rows;
    for (std::size_t i = 0; i + 2 < drawing.labels.size(); ++i) {
        const auto& first = drawing.labels[i];
        const auto& second = drawing.labels[i + 1];
        const auto& third = drawing.labels[i + 2];
        if (first.rect.top == second.rect.top && second.rect.top == third.rect.top
            && first.rect.right <= second.rect.left && second.rect.right <= third.rect.left)
            rows.push_back(first.text + " " + second.text + " " + third.text);
    }
    EXPECT_EQ(rows, (std::vector<std::string>{"順位 タイム スコア", "1 75.3秒 4321", "2 50.0秒 77",
                                              "3 42.0秒 5", "4 7.5秒 1"}));
    EXPECT_TRUE(drawing.Says("（空き）"));
}
