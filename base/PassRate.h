// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

// The game moves in passes: each is one World::Tick, made by the game thread at this rate. The
// times of the game's rule are counted in passes.
inline constexpr int PassesPerSecond = 100;
static_assert(1000 % PassesPerSecond == 0, "a pass lasts a whole number of milliseconds");
