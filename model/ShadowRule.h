// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/PassRate.h"

// The numbers of the game's rule, in ticks (passes, PassesPerSecond of them a second) and
// pixels; the times count from the game's first tick, the first after a weight is released. The
// defaults are the balanced game (bench/BalanceBench.cpp measures it); tests may shorten the
// times.
struct ShadowRule {
    // Raised with every change to the game that would play a recorded game otherwise.
    static constexpr int Version = 3;

    // The game cannot be lost before this: time to hang another weight should the first be lost
    // at once.
    int graceTicks = 10 * PassesPerSecond;
    int firstShadowTick = 3 * PassesPerSecond;
    // One more shadow after a random wait in this range, again and again.
    int spawnTicksMin = 10 * PassesPerSecond;
    int spawnTicksMax = 12 * PassesPerSecond;
    // And one more for every so many weights hung, drawn anew in this range each time.
    int weightsPerShadowMin = 15;
    int weightsPerShadowMax = 20;
    // A new shadow swallows nothing in its first second on the field.
    int harmlessTicks = PassesPerSecond;
    int startDiameter = 40;
    int maxDiameter = 120;
    int growthPerWeight = 6;
    // Drift speed in pixels per tick: 15 to 45 pixels a second.
    double speedMin = 15.0 / PassesPerSecond;
    double speedMax = 45.0 / PassesPerSecond;
    // A weight whose centre stays outside the field this long is lost.
    int offFieldTicks = 2 * PassesPerSecond;
};
