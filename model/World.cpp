// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "model/World.h"

#include <cstdlib>
#include <ctime>
#include <memory>

World::World()
{
    InitWorld();
}

World::~World()
{
    swings.DeleteAll();
}

void World::InitWorld()
{
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

void World::ResetGame()
{
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    swings.DeleteAll();
}

void World::Tick()
{
    // The counts are read again on every step, so a swing added during the pass moves in it too.
    for (int i = 0; i < GetSwingCount(); ++i) {
        const std::shared_ptr<Swing> swing = swings.GetAt(i);
        if (!swing)
            continue;
        swing->Update();
        for (int j = 0; j < GetObstacleCount(); ++j) {
            const std::shared_ptr<GameObject> obstacle = obstacles.GetAt(j);
            if (obstacle && obstacle->HitTest(*swing))
                swing->alive = false;
        }
    }
}

bool World::IsGameOver()
{
    return false;
}

bool World::IsFinished()
{
    return false;
}

void World::BeginSwing(int x, int y)
{
    auto swing = std::make_shared<Swing>();
    swing->anchorX = x;
    swing->anchorY = y;
    swings.Add(std::move(swing));
    currentSwingIndex = GetSwingCount() - 1;
    dragging = true;
}

void World::DragSwing(int x, int y)
{
    if (!dragging)
        return;
    if (const std::shared_ptr<Swing> swing = swings.GetAt(currentSwingIndex))
        swing->SetPoint(x, y);
}

void World::ReleaseSwing(int, int)
{
    dragging = false;
    const std::shared_ptr<Swing> swing = swings.GetAt(currentSwingIndex);
    if (!swing)
        return;
    swing->ropeLength = static_cast<int>(swing->Distance(swing->anchorX, swing->anchorY));
    swing->SetActive(true);
}
