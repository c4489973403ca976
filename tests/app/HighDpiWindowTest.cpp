// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

// The main window on a screen with a device pixel ratio of 2: twice the pixels each way, drawn at
// that resolution, with its size, the buttons and the swing gesture in logical pixels.
#include "app/MainDialog.h"
#include "persist/ScoreTable.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTest>

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

constexpr QRgb PanelRgb = qRgb(255, 240, 240);
constexpr QRgb BlackRgb = qRgb(0, 0, 0);
constexpr QRgb NearWhiteRgb = qRgb(250, 250, 250);

class HighDpiWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        window = dialog.windowHandle();
    }

    QImage Grab() { return dialog.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    ScoreTable table;
    MainDialog dialog{table};
    QWindow* window = nullptr;
};

} // namespace

TEST_F(HighDpiWindow, HasTwiceThePixelsDrawnAtThatResolution)
{
    ASSERT_EQ(dialog.devicePixelRatio(), 2.0);
    EXPECT_EQ(dialog.size(), QSize(449, 407));
    const QImage shot = Grab();
    ASSERT_EQ(shot.size(), QSize(898, 814));
    EXPECT_EQ(shot.pixel(2 * 93, 2 * 66), PanelRgb);
    EXPECT_EQ(shot.pixel(2 * 93 - 1, 2 * 66), BlackRgb);
    // The Start button's frame is one logical pixel: two device pixels, not more.
    EXPECT_EQ(shot.pixel(2 * 159, 2 * 220), NearWhiteRgb);
    EXPECT_EQ(shot.pixel(2 * 159 + 1, 2 * 220), NearWhiteRgb);
    EXPECT_EQ(shot.pixel(2 * 159 + 2, 2 * 220), BlackRgb);
    // The title's letters have edges inside logical pixels, which an enlarged drawing has not.
    int mixed = 0;
    for (int y = 2 * 66; y < 2 * 131; y += 2)
        for (int x = 2 * 93; x < 2 * 348; x += 2) {
            const QRgb pixel = shot.pixel(x, y);
            mixed += shot.pixel(x + 1, y) != pixel || shot.pixel(x, y + 1) != pixel
                             || shot.pixel(x + 1, y + 1) != pixel
                         ? 1
                         : 0;
        }
    EXPECT_GT(mixed, 100);
}

TEST_F(HighDpiWindow, ButtonsAndTheSwingGestureTakeLogicalPixels)
{
    QTest::mouseMove(window, QPoint(200, 220));
    EXPECT_TRUE(dialog.GetGameScreen().IsHovered(TitleButton::Start));
    QTest::mouseMove(window, QPoint(300, 220));
    EXPECT_FALSE(dialog.GetGameScreen().IsHovered(TitleButton::Start));

    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(220, 222));
    ASSERT_TRUE(dialog.GetGameScreen().IsPlaying());
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.GetGameThread().IsRunning(); }));

    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(100, 60));
    QTest::mouseMove(window, QPoint(130, 100));
    QTest::mouseRelease(window, Qt::LeftButton, {}, QPoint(130, 100));
    ASSERT_EQ(dialog.GetGameScreen().GetWorld().GetSwingCount(), 1);
    const auto swing = dialog.GetGameScreen().GetWorld().swings.GetAt(0);
    EXPECT_EQ(swing->anchorX, 100);
    EXPECT_EQ(swing->anchorY, 60);
    EXPECT_EQ(swing->ropeLength, 50);

    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.GetGameScreen().IsPlaying());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.GetGameThread().IsRunning(); }));
}

// Off screen, as the other window tests, but with every screen at a device pixel ratio of 2.
int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "2");
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
