// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "model/GameObject.h"

#include <atomic>

// A 30 x 30 weight hung from an anchor point. The player drags the weight while it is inactive;
// once released it keeps its rope length and swings under Update, once per game tick.
class Swing : public GameObject {
public:
    Swing();
    ~Swing() override = default;

    // One tick of motion; does nothing at all while the swing is inactive.
    void Update();

    bool IsActive() const { return active.load(std::memory_order_acquire); }
    // Publishes the weight's position set by the drag to the game thread that then moves it.
    void SetActive(bool value) { active.store(value, std::memory_order_release); }

    int anchorX = 0;
    int anchorY = 0;
    std::atomic<bool> active{false};
    Relaxed<int> ropeLength;
    // How many ticks in a row the released weight's centre has been off the field; the game
    // thread's alone.
    int ticksOutside = 0;

private:
    void Init();
};
