// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "model/Swing.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr double Tolerance = 1e-6;

// A swing anchored at (ax, ay) whose weight was let go at (wx, wy).
void Release(Swing& swing, int ax, int ay, int wx, int wy)
{
    swing.anchorX = ax;
    swing.anchorY = ay;
    swing.SetPoint(wx, wy);
    swing.ropeLength = static_cast<int>(swing.Distance(ax, ay));
    swing.SetActive(true);
}

} // namespace

TEST(Swing, StartsInactiveAtTheOriginWithAThirtyPixelWeight)
{
    Swing swing;
    EXPECT_EQ(swing.GetWidth(), 30);
    EXPECT_EQ(swing.GetHeight(), 30);
    EXPECT_EQ(swing.GetPoint(), (Point{0, 0}));
    EXPECT_FALSE(swing.IsActive());
    EXPECT_TRUE(swing.alive);
    EXPECT_EQ(swing.ropeLength, 0);
    EXPECT_DOUBLE_EQ(swing.stepX, 1.0);
}

TEST(Swing, InactiveUpdateChangesNothing)
{
    Swing swing;
    swing.anchorX = 100;
    swing.anchorY = 100;
    swing.SetPosition(150.5, 140.25);
    swing.Update();
    EXPECT_EQ(swing.updateCount, 0);
    EXPECT_DOUBLE_EQ(swing.GetX(), 150.5);
    EXPECT_DOUBLE_EQ(swing.GetY(), 140.25);
    EXPECT_DOUBLE_EQ(swing.velocityX, 0.0);
    EXPECT_DOUBLE_EQ(swing.velocityY, 0.0);
}

TEST(Swing, ReleasedBelowAndAsideSwingsBackTowardTheMiddle)
{
    Swing swing;
    Release(swing, 100, 100, 150, 150);
    EXPECT_EQ(swing.ropeLength, 70);

    swing.Update();
    EXPECT_EQ(swing.updateCount, 1);
    EXPECT_NEAR(swing.velocityX, -0.5, Tolerance);
    EXPECT_NEAR(swing.velocityY, 0.5, Tolerance);
    EXPECT_NEAR(swing.GetX(), 149.5, Tolerance);
    EXPECT_NEAR(swing.GetY(), 149.4975, 1e-4);
    EXPECT_NEAR(swing.GetY(), 100 + 70 * std::cos(M_PI / 4), Tolerance);

    swing.Update();
    EXPECT_EQ(swing.updateCount, 2);
    EXPECT_NEAR(swing.velocityX, -1.0, 1e-4);
    EXPECT_NEAR(swing.GetX(), 148.5, 1e-4);
    EXPECT_NEAR(swing.GetY(), 149.4962, 1e-4);
}

TEST(Swing, ReleasedLevelWithItsAnchorDropsStraightBelowIt)
{
    Swing swing;
    Release(swing, 100, 100, 160, 100);
    EXPECT_EQ(swing.ropeLength, 60);
    swing.Update();
    EXPECT_DOUBLE_EQ(swing.velocityX, 0.0);
    EXPECT_DOUBLE_EQ(swing.GetX(), 160.0);
    EXPECT_DOUBLE_EQ(swing.GetY(), 160.0);
}

TEST(Swing, ReleasedAboveItsAnchorJumpsBelowIt)
{
    Swing swing;
    Release(swing, 100, 100, 130, 60);
    EXPECT_EQ(swing.ropeLength, 50);
    swing.Update();
    EXPECT_NEAR(swing.velocityX, 0.48, Tolerance);
    EXPECT_NEAR(swing.velocityY, -0.36, Tolerance);
    EXPECT_NEAR(swing.GetX(), 130.48, Tolerance);
    EXPECT_NEAR(swing.GetY(), 140.0, Tolerance);
}

TEST(Swing, ReleasedOnItsAnchorStaysThere)
{
    Swing swing;
    Release(swing, 100, 100, 100, 100);
    EXPECT_EQ(swing.ropeLength, 0);
    for (int tick = 0; tick < 5; ++tick)
        swing.Update();
    EXPECT_EQ(swing.updateCount, 5);
    EXPECT_DOUBLE_EQ(swing.GetX(), 100.0);
    EXPECT_DOUBLE_EQ(swing.GetY(), 100.0);
}

TEST(Swing, ReleasedWithoutADragStartsFromTheOrigin)
{
    Swing swing;
    swing.anchorX = 30;
    swing.anchorY = 40;
    swing.ropeLength = static_cast<int>(swing.Distance(30, 40));
    swing.SetActive(true);
    EXPECT_EQ(swing.ropeLength, 50);
    swing.Update();
    // From (0, 0) the angle is atan(-30 / -40) > 0: pulled to the right, and dropped below.
    EXPECT_NEAR(swing.velocityX, -0.8 * 0.6, Tolerance);
    EXPECT_NEAR(swing.GetX(), -0.48, Tolerance);
    EXPECT_NEAR(swing.GetY(), 80.0, Tolerance);
}

TEST(Swing, NeverRisesAboveItsAnchorAndKeepsItsEnergyBounded)
{
    Swing swing;
    Release(swing, 200, 100, 290, 100);
    double widest = 0.0;
    for (int tick = 0; tick < 10000; ++tick) {
        swing.Update();
        ASSERT_GE(swing.GetY(), 100.0);
        ASSERT_TRUE(std::isfinite(swing.GetX()));
        widest = std::max(widest, std::abs(swing.GetX() - 200));
    }
    EXPECT_GT(widest, 10.0);
}

TEST(Swing, MovesAsTheAngleFromAtanWouldMoveIt)
{
    // The motion written with atan, sin and cos, as it reads on paper.
    struct Reference {
        double x, y, velocityX = 0.0, velocityY = 0.0;
        void Update(int ax, int ay, int rope)
        {
            const double dy = y - ay;
            const double angle = dy == 0.0 ? 0.0 : std::atan((x - ax) / dy);
            velocityX -= std::cos(angle) * std::sin(angle);
            velocityY += (angle > 0.0 ? 1.0 : -1.0) * std::sin(angle) * std::sin(angle);
            x += velocityX;
            y = ay + rope * std::cos(angle);
        }
    };
    // Below and aside, above, level, on the anchor, and weights a hair below their anchor on
    // either side, whose ratio would overflow when squared (100 + 1e-200 would be 100 itself).
    const struct {
        int ax, ay;
        double wx, wy;
    } releases[] = {{100, 100, 150, 150}, {100, 100, 130, 60},   {100, 100, 160, 100}, {100, 100, 100, 100},
                    {200, 50, 20, 300},   {100, 0, 150, 1e-200}, {100, 0, 50, 1e-200}};
    for (const auto& r : releases) {
        SCOPED_TRACE(testing::Message() << r.wx << ", " << r.wy);
        Swing swing;
        swing.anchorX = r.ax;
        swing.anchorY = r.ay;
        swing.SetPosition(r.wx, r.wy);
        swing.ropeLength = static_cast<int>(swing.Distance(r.ax, r.ay));
        swing.SetActive(true);
        Reference reference{r.wx, r.wy};
        for (int tick = 0; tick < 10000; ++tick) {
            swing.Update();
            reference.Update(r.ax, r.ay, swing.ropeLength);
            ASSERT_NEAR(swing.GetX(), reference.x, Tolerance) << tick;
            ASSERT_NEAR(swing.GetY(), reference.y, Tolerance) << tick;
            ASSERT_NEAR(swing.velocityY, reference.velocityY, Tolerance) << tick;
        }
    }
}
