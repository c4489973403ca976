// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "model/World.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

std::vector<std::shared_ptr<Swing>> SwingsOf(const World& world)
{
    std::vector<std::shared_ptr<Swing>> all;
    for (int i = 0; i < world.GetSwingCount(); ++i)
        all.push_back(world.swings.GetAt(i));
    return all;
}

} // namespace

TEST(World, TickWithoutSwingsDoesNothing)
{
    World world;
    world.Tick();
    EXPECT_EQ(world.GetSwingCount(), 0);
    EXPECT_FALSE(world.IsGameOver());
    EXPECT_FALSE(world.IsFinished());
}

TEST(World, DragAndReleaseBeforeAnyPressChangeNothing)
{
    World world;
    world.DragSwing(10, 10);
    world.ReleaseSwing(10, 10);
    EXPECT_EQ(world.GetSwingCount(), 0);
    EXPECT_FALSE(world.dragging);
    EXPECT_EQ(world.currentSwingIndex, 0);
}

TEST(World, PressDragReleaseMakesASwingingWeight)
{
    World world;
    world.BeginSwing(200, 120);
    ASSERT_EQ(world.GetSwingCount(), 1);
    const auto swing = world.swings.GetAt(0);
    EXPECT_EQ(swing->anchorX, 200);
    EXPECT_EQ(swing->anchorY, 120);
    EXPECT_EQ(swing->GetPoint(), (Point{0, 0}));
    EXPECT_FALSE(swing->IsActive());
    EXPECT_EQ(world.currentSwingIndex, 0);
    EXPECT_TRUE(world.dragging);

    world.DragSwing(230, 160);
    EXPECT_EQ(swing->GetPoint(), (Point{230, 160}));

    world.ReleaseSwing(999, -999);
    EXPECT_EQ(swing->ropeLength, 50);
    EXPECT_TRUE(swing->IsActive());
    EXPECT_FALSE(world.dragging);

    world.Tick();
    EXPECT_EQ(swing->updateCount, 1);
}

TEST(World, DragAfterReleaseNoLongerMovesTheWeight)
{
    World world;
    world.BeginSwing(100, 100);
    world.DragSwing(100, 150);
    world.ReleaseSwing(0, 0);
    world.DragSwing(300, 300);
    EXPECT_EQ(world.swings.GetAt(0)->GetPoint(), (Point{100, 150}));
}

TEST(World, PressAndReleaseWithoutDragHangsTheRopeFromTheOrigin)
{
    World world;
    world.BeginSwing(30, 40);
    world.ReleaseSwing(30, 40);
    const auto swing = world.swings.GetAt(0);
    EXPECT_EQ(swing->ropeLength, 50);
    EXPECT_TRUE(swing->IsActive());
}

TEST(World, TwoPressesWithoutReleaseLeaveTheFirstSwingStill)
{
    World world;
    world.BeginSwing(100, 100);
    world.DragSwing(140, 130);
    world.BeginSwing(300, 100);
    world.DragSwing(320, 150);
    world.ReleaseSwing(0, 0);
    EXPECT_EQ(world.currentSwingIndex, 1);

    for (int tick = 0; tick < 20; ++tick)
        world.Tick();
    const auto first = world.swings.GetAt(0);
    EXPECT_FALSE(first->IsActive());
    EXPECT_EQ(first->updateCount, 0);
    EXPECT_EQ(first->GetPoint(), (Point{140, 130}));
    EXPECT_EQ(world.swings.GetAt(1)->updateCount, 20);
}

TEST(World, SecondReleaseRefixesTheRopeFromTheCurrentPosition)
{
    World world;
    world.BeginSwing(100, 100);
    world.DragSwing(100, 180);
    world.ReleaseSwing(0, 0);
    const auto swing = world.swings.GetAt(0);
    swing->SetPosition(100, 130); // as if it had swung there
    swing->velocityX = 1.5;

    world.ReleaseSwing(0, 0);
    EXPECT_EQ(swing->ropeLength, 30);
    EXPECT_TRUE(swing->IsActive());
    EXPECT_DOUBLE_EQ(swing->velocityX, 1.5);
    EXPECT_FALSE(world.dragging);
}

TEST(World, ResetDeletesNewestFirstAndKeepsTheGesture)
{
    static std::vector<int> deleted;
    deleted.clear();
    struct Tagged : Swing {
        explicit Tagged(int tagValue)
            : tag(tagValue)
        {
        }
        ~Tagged() override { deleted.push_back(tag); }
        int tag;
    };

    World world;
    world.swings.Add(std::make_shared<Tagged>(0));
    world.swings.Add(std::make_shared<Tagged>(1));
    world.swings.Add(std::make_shared<Tagged>(2));
    world.currentSwingIndex = 2;
    world.dragging = true;

    world.ResetGame();
    EXPECT_EQ(deleted, (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(world.GetSwingCount(), 0);
    EXPECT_EQ(world.currentSwingIndex, 2);
    EXPECT_TRUE(world.dragging);

    world.DragSwing(50, 50);
    EXPECT_EQ(world.GetSwingCount(), 0);
    world.ReleaseSwing(50, 50);
    EXPECT_FALSE(world.dragging);
}

TEST(World, ResetAfterThreePressesLeavesTheLastIndex)
{
    World world;
    world.BeginSwing(1, 1);
    world.BeginSwing(2, 2);
    world.BeginSwing(3, 3);
    world.ResetGame();
    EXPECT_EQ(world.currentSwingIndex, 2);
    EXPECT_TRUE(world.dragging);
    world.BeginSwing(4, 4);
    EXPECT_EQ(world.currentSwingIndex, 0);
}

TEST(World, ObstacleOverASwingPutsItOutButItKeepsMoving)
{
    World world;
    world.BeginSwing(100, 100);
    world.DragSwing(100, 150);
    world.ReleaseSwing(0, 0);
    world.BeginSwing(300, 100);
    world.DragSwing(300, 150);
    world.ReleaseSwing(0, 0);

    auto obstacle = std::make_shared<GameObject>();
    obstacle->SetWidth(40);
    obstacle->SetHeight(40);
    obstacle->SetPoint(100, 150);
    world.obstacles.Add(obstacle);

    world.Tick();
    const auto caught = world.swings.GetAt(0);
    const auto free = world.swings.GetAt(1);
    EXPECT_FALSE(caught->alive);
    EXPECT_TRUE(free->alive);
    world.Tick();
    EXPECT_EQ(caught->updateCount, 2);
    EXPECT_TRUE(obstacle->alive);
}

TEST(World, WithoutObstaclesEverySwingStaysAlive)
{
    World world;
    for (int i = 0; i < 25; ++i) {
        world.BeginSwing(20 * i, 50);
        world.DragSwing(20 * i + 15, 120);
        world.ReleaseSwing(0, 0);
    }
    for (int tick = 0; tick < 200; ++tick)
        world.Tick();
    for (const auto& swing : SwingsOf(world)) {
        EXPECT_TRUE(swing->alive);
        EXPECT_EQ(swing->updateCount, 200);
    }
}

TEST(World, SwingsAreUpdatedInCreationOrderEachBeforeTheNext)
{
    // An obstacle that notes, each time a swing is tested against it, how far every swing has
    // been updated: swing i must be tested after its own update and before swing i + 1's.
    struct Recorder : GameObject {
        const World* world = nullptr;
        mutable std::vector<std::vector<int>> seen;
        Rect GetRect() const override
        {
            std::vector<int> counts;
            for (int i = 0; i < world->GetSwingCount(); ++i)
                counts.push_back(world->swings.GetAt(i)->updateCount);
            seen.push_back(counts);
            return Rect{};
        }
    };
    World world;
    for (int i = 0; i < 3; ++i) {
        world.BeginSwing(100 * i, 0);
        world.DragSwing(100 * i + 10, 40);
        world.ReleaseSwing(0, 0);
    }
    auto recorder = std::make_shared<Recorder>();
    recorder->world = &world;
    world.obstacles.Add(recorder);

    world.Tick();
    const std::vector<std::vector<int>> expected{{1, 0, 0}, {1, 1, 0}, {1, 1, 1}};
    EXPECT_EQ(recorder->seen, expected);
}

TEST(World, ManyPressesMakeManySwings)
{
    World world;
    for (int i = 0; i < 5000; ++i)
        world.BeginSwing(i % 449, i % 407);
    EXPECT_EQ(world.GetSwingCount(), 5000);
    EXPECT_EQ(world.currentSwingIndex, 4999);
}

TEST(World, DestructionReleasesEverySwingItOwns)
{
    std::weak_ptr<Swing> watched;
    {
        World world;
        world.BeginSwing(1, 1);
        watched = world.swings.GetAt(0);
        EXPECT_FALSE(watched.expired());
    }
    EXPECT_TRUE(watched.expired());
}
