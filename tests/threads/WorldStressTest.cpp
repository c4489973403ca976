// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

// Three threads on one world, as in a game: the window's gestures, the game loop's ticks and
// resets, and a painter reading every swing. Run under ThreadSanitizer and AddressSanitizer this
// catches a data race on a swing's fields or a swing freed while another thread still uses it.
#include "model/World.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;

TEST(WorldStress, GesturesTicksResetsAndPaintingTogether)
{
    World world;
    // Shadows come, drift, swallow and grow from the first passes on.
    world.rule.firstShadowTick = 1;
    world.rule.spawnTicksMin = world.rule.spawnTicksMax = 3;
    world.rule.harmlessTicks = 0;
    std::atomic<bool> done{false};
    std::atomic<long> swingsPainted{0};
    std::atomic<long> shadowsPainted{0};
    // Keeps the painter's reads from being optimised away.
    std::atomic<long> checksum{0};
    std::atomic<long> ticks{0};
    const auto deadline = std::chrono::steady_clock::now() + 1500ms;

    std::thread gestures([&] {
        for (int i = 0; !done.load(); ++i) {
            world.BeginSwing(i % 449, (i * 7) % 200);
            world.DragSwing((i * 13) % 449, 200 + (i % 200));
            if (i % 5 != 0) // now and then a swing stays unreleased
                world.ReleaseSwing(0, 0);
            if (i % 11 == 0)
                world.ReleaseSwing(0, 0); // a second release without a press
            std::this_thread::yield();
        }
    });

    std::thread game([&] {
        for (int pass = 0; !done.load(); ++pass) {
            world.Tick();
            ticks.fetch_add(1);
            if (pass % 50 == 49)
                world.ResetGame();
        }
    });

    std::thread painter([&] {
        while (!done.load()) {
            long sum = 0;
            long count = 0;
            for (int i = 0; i < world.GetSwingCount(); ++i) {
                const std::shared_ptr<Swing> swing = world.swings.GetAt(i);
                if (!swing || !swing->alive)
                    continue;
                const Rect rect = swing->GetRect();
                const Point weight = swing->GetPoint();
                sum += rect.left + weight.x + swing->anchorX + swing->anchorY + swing->ropeLength;
                ++count;
            }
            for (int i = 0; i < world.GetObstacleCount(); ++i) {
                if (const std::shared_ptr<GameObject> obstacle = world.obstacles.GetAt(i)) {
                    sum += obstacle->GetRect().right;
                    shadowsPainted.fetch_add(1);
                }
            }
            swingsPainted.fetch_add(count);
            checksum.fetch_add(sum);
        }
    });

    while (std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    done = true;
    gestures.join();
    game.join();
    painter.join();

    // Without ticks and painted swings the threads never met, and the run shows nothing.
    EXPECT_GT(ticks.load(), 10);
    EXPECT_GT(swingsPainted.load(), 0);
    EXPECT_GT(shadowsPainted.load(), 0);
    for (int i = 0; i < world.GetSwingCount(); ++i) {
        const auto swing = world.swings.GetAt(i);
        ASSERT_TRUE(swing);
        EXPECT_TRUE(std::isfinite(swing->GetX()));
        // A swinging weight hangs level with or below its anchor.
        if (swing->IsActive() && swing->updateCount > 0) {
            EXPECT_GE(swing->GetY(), swing->anchorY);
        }
    }
}
