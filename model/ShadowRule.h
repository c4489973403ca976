// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

// The numbers of the game's rule, in ticks (100 a second) and pixels. The defaults are the
// balanced game (bench/BalanceBench.cpp measures it); tests may shorten the times.
struct ShadowRule {
    // Raised with every change to the game that would play a recorded game otherwise.
    static constexpr int Version = 2;

    // The game cannot be lost before this: time to read the hint and hang a first weight.
    int graceTicks = 1000;
    int firstShadowTick = 300;
    // One more shadow after a random wait in this range, again and again.
    int spawnTicksMin = 1000;
    int spawnTicksMax = 1200;
    // And one more for every so many weights hung, drawn anew in this range each time.
    int weightsPerShadowMin = 15;
    int weightsPerShadowMax = 20;
    // A new shadow swallows nothing in its first second on the field.
    int harmlessTicks = 100;
    int startDiameter = 40;
    int maxDiameter = 120;
    int growthPerWeight = 6;
    // Drift speed in pixels per tick.
    double speedMin = 0.15;
    double speedMax = 0.45;
    // A weight whose centre stays outside the field this long is lost.
    int offFieldTicks = 200;
};
