// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "model/GameObject.h"
#include "model/Swing.h"
#include "threads/LockedList.h"

// The swings of the current game, the obstacles, and the press-drag-release gesture that makes
// swings. Tick and ResetGame run on the game thread; the gestures on the window's thread.
class World {
public:
    World();
    virtual ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    void InitWorld();
    // Deletes every swing, newest first. The gesture state stays as it is.
    void ResetGame();
    void Tick();
    // The end-of-game rules. This world has none: a game ends only when the player stops it.
    virtual bool IsGameOver();
    virtual bool IsFinished();

    int GetSwingCount() const { return swings.GetCount(); }
    int GetObstacleCount() const { return obstacles.GetCount(); }

    void BeginSwing(int x, int y);
    void DragSwing(int x, int y);
    // Fixes the rope of the newest swing from where its weight is now; the point is not used.
    void ReleaseSwing(int x, int y);

    LockedList<Swing> swings;
    LockedList<GameObject> obstacles;
    // Touched only by the gestures, on the window's thread.
    int currentSwingIndex = 0;
    bool dragging = false;
};
