// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "model/GameObject.h"

#include <gtest/gtest.h>

TEST(GameObject, StartsAsATenPixelSquareAtTheOriginAlive)
{
    GameObject object;
    EXPECT_EQ(object.GetPoint(), (Point{0, 0}));
    EXPECT_EQ(object.GetRect(), (Rect{-5, -5, 5, 5}));
    EXPECT_TRUE(object.alive);
    EXPECT_EQ(object.updateCount, 0);
}

TEST(GameObject, RectangleIsCentredAndTruncatedTowardZero)
{
    GameObject object;
    object.SetWidth(30);
    object.SetHeight(30);
    object.SetPosition(100.9, 50.2);
    EXPECT_EQ(object.GetRect(), (Rect{85, 35, 115, 65}));
    EXPECT_EQ(object.GetPoint(), (Point{100, 50}));

    GameObject nearOrigin;
    nearOrigin.SetX(-0.5);
    const Rect rect = nearOrigin.GetRect();
    EXPECT_EQ(rect.left, -5);
    EXPECT_EQ(rect.right, 4);
    EXPECT_EQ(nearOrigin.GetPoint().x, 0);
}

TEST(GameObject, OddSizesUseIntegerHalves)
{
    GameObject object;
    object.SetWidth(11);
    object.SetHeight(11);
    object.SetPoint(20, 20);
    EXPECT_EQ(object.GetRect(), (Rect{15, 15, 25, 25}));
}

TEST(GameObject, HitTestTakesLeftAndTopEdgesButNotRightAndBottom)
{
    GameObject object;
    object.SetPoint(50, 50); // rectangle 45, 45, 55, 55
    EXPECT_TRUE(object.HitTest(Point{45, 45}));
    EXPECT_TRUE(object.HitTest(Point{54, 54}));
    EXPECT_FALSE(object.HitTest(Point{55, 50}));
    EXPECT_FALSE(object.HitTest(Point{50, 55}));
    EXPECT_FALSE(object.HitTest(Point{44, 50}));
}

TEST(GameObject, HitTestOnAnObjectUsesItsTruncatedCentre)
{
    GameObject obstacle;
    obstacle.SetPoint(50, 50);
    GameObject other;
    other.SetPosition(54.9, 54.9);
    EXPECT_TRUE(obstacle.HitTest(other));
    other.SetPosition(55.0, 50.0);
    EXPECT_FALSE(obstacle.HitTest(other));
}

TEST(GameObject, StepsMoveByTheStepLengths)
{
    GameObject object;
    object.stepX = 2.5;
    object.stepY = 0.5;
    object.Step();
    EXPECT_DOUBLE_EQ(object.GetX(), 2.5);
    EXPECT_DOUBLE_EQ(object.GetY(), 0.5);
    object.StepLeft();
    object.StepLeft();
    object.StepDown();
    object.StepUp();
    object.StepUp();
    EXPECT_DOUBLE_EQ(object.GetX(), -2.5);
    EXPECT_DOUBLE_EQ(object.GetY(), 0.0);
    object.MoveBy(1.25, -3.0);
    EXPECT_DOUBLE_EQ(object.GetX(), -1.25);
    EXPECT_DOUBLE_EQ(object.GetY(), -3.0);
}

TEST(GameObject, DistanceIsEuclidean)
{
    GameObject object;
    object.SetPoint(150, 150);
    EXPECT_NEAR(object.Distance(100, 100), 70.710678, 1e-6);
    object.SetPoint(3, 4);
    EXPECT_DOUBLE_EQ(object.Distance(0, 0), 5.0);
}
