// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

// How long a game lasts against the shadows, for four kinds of player, each played over many
// seeded games with the real World, tick by tick as the game thread plays it. Prints the spread
// of the times to game over as a Markdown table, then whether each balance target holds; exits
// with 1 if one fails.
//
//     balance_bench [--games N] [--seed FIRST]
//
// Game i of every player uses the world seed FIRST + i, so the players meet the same shadows
// for as long as their weights do not change the world's draws.

#include "base/Geometry.h"
#include "base/PassRate.h"
#include "model/GameObject.h"
#include "model/World.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int FieldWidth = 449;
constexpr int FieldHeight = 407;
// A game still running after 15 minutes is stopped and counts as one that never ends.
constexpr int CapTicks = 15 * 60 * PassesPerSecond;
constexpr int WorkerCount = 2;

struct Player {
    const char* name;
    const char* does;
    // The tick of the first weight, and the ticks between weights after it (0: no more). The
    // game begins with the first weight: the ticks before it pass with the field still.
    int firstTick;
    int everyTicks;
    // How many random places the player weighs before each weight; 1 takes the first.
    int candidates;
};

constexpr int Second = PassesPerSecond;
constexpr Player Lone{"lone", "one weight, then nothing", Second, 0, 1};
constexpr Player Steady{"steady", "a weight at a random place every 2 s", Second, 2 * Second, 1};
constexpr Player Careful{"careful", "every 2 s the best of 8 random places, away from the shadows", Second,
                         2 * Second, 8};
constexpr Player Spammer{"spammer", "a weight at a random place every 0.1 s", Second / 10, Second / 10, 1};
constexpr Player Players[] = {Lone, Steady, Careful, Spammer};

// One press-drag-release: the weight 20 to 140 pixels below the anchor and up to 80 to either
// side, anchor and weight both on the field. The weight then swings out as far on the other side.
struct Hang {
    Point anchor;
    Point weight;
};

Hang RandomHang(std::mt19937& random)
{
    const auto uniform = [&random](int low, int high) {
        return std::uniform_int_distribution(low, high)(random);
    };
    const int dx = uniform(-80, 80);
    const int dy = uniform(20, 140);
    const int anchorX = uniform(std::max(0, -dx), std::min(FieldWidth - 1, FieldWidth - 1 - dx));
    const int anchorY = uniform(0, FieldHeight - 1 - dy);
    return Hang{{anchorX, anchorY}, {anchorX + dx, anchorY + dy}};
}

// Pixels between the box the weight sweeps and the nearest shadow's edge; negative when one
// already overlaps it, infinite with no shadow on the field.
double ClearanceFromShadows(const Hang& hang, const std::vector<std::shared_ptr<GameObject>>& shadows)
{
    const double dx = hang.weight.x - hang.anchor.x;
    const double dy = hang.weight.y - hang.anchor.y;
    const double left = hang.anchor.x - std::fabs(dx);
    const double right = hang.anchor.x + std::fabs(dx);
    const double top = hang.weight.y;
    const double bottom = hang.anchor.y + std::hypot(dx, dy);
    double nearest = std::numeric_limits<double>::infinity();
    for (const std::shared_ptr<GameObject>& shadow : shadows) {
        const double x = shadow->GetX();
        const double y = shadow->GetY();
        const double outsideX = std::max({left - x, 0.0, x - right});
        const double outsideY = std::max({top - y, 0.0, y - bottom});
        nearest = std::min(nearest, std::hypot(outsideX, outsideY) - shadow->GetWidth() / 2.0);
    }
    return nearest;
}

Hang ChooseHang(const Player& player, World& world, std::mt19937& random)
{
    Hang best = RandomHang(random);
    if (player.candidates <= 1)
        return best;
    std::vector<std::shared_ptr<GameObject>> shadows(static_cast<std::size_t>(world.GetObstacleCount()));
    shadows.resize(static_cast<std::size_t>(world.obstacles.GetRange(0, shadows)));
    double bestClearance = ClearanceFromShadows(best, shadows);
    for (int i = 1; i < player.candidates; ++i) {
        const Hang hang = RandomHang(random);
        const double clearance = ClearanceFromShadows(hang, shadows);
        if (clearance > bestClearance) {
            best = hang;
            bestClearance = clearance;
        }
    }
    return best;
}

bool HangsAt(const Player& player, int tick)
{
    if (tick < player.firstTick)
        return false;
    if (player.everyTicks == 0)
        return tick == player.firstTick;
    return (tick - player.firstTick) % player.everyTicks == 0;
}

// Ticks from the first weight until the game is over, or CapTicks if it never is. The player's
// choices come from a generator of its own, seeded from the game, so that they do not shift the
// world's draws.
int PlayGame(const Player& player, std::uint32_t seed)
{
    World world;
    world.FixSeed(seed);
    world.ResetGame();
    std::seed_seq playerSeed{seed, 0x706c6179u};
    std::mt19937 random(playerSeed);
    for (int tick = 0; tick < CapTicks; ++tick) {
        if (HangsAt(player, tick)) {
            const Hang hang = ChooseHang(player, world, random);
            world.BeginSwing(hang.anchor.x, hang.anchor.y);
            world.DragSwing(hang.weight.x, hang.weight.y);
            world.ReleaseSwing(0, 0);
        }
        world.Tick();
        if (world.IsGameOver())
            return world.GetTickCount();
    }
    return CapTicks;
}

struct Spread {
    double median = 0;
    double p10 = 0;
    double p90 = 0;
    double p99 = 0;
    int capped = 0;
};

// Nearest-rank percentile of sorted values, 0 < percent <= 100.
double Percentile(const std::vector<int>& sorted, double percent)
{
    const auto rank = static_cast<std::size_t>(std::ceil(percent / 100.0 * double(sorted.size())));
    return sorted[std::max<std::size_t>(rank, 1) - 1] / double(PassesPerSecond);
}

// Plays games first .. first + count - 1 on both cores; each game runs on one thread only.
Spread PlayGames(const Player& player, std::uint32_t first, int count)
{
    std::vector<int> ticks(static_cast<std::size_t>(count));
    std::atomic<int> next{0};
    const auto work = [&] {
        for (int i = next++; i < count; i = next++)
            ticks[static_cast<std::size_t>(i)] = PlayGame(player, first + static_cast<std::uint32_t>(i));
    };
    std::vector<std::jthread> workers;
    workers.reserve(WorkerCount);
    for (int i = 0; i < WorkerCount; ++i)
        workers.emplace_back(work);
    workers.clear();
    std::sort(ticks.begin(), ticks.end());
    Spread spread;
    spread.median = Percentile(ticks, 50);
    spread.p10 = Percentile(ticks, 10);
    spread.p90 = Percentile(ticks, 90);
    spread.p99 = Percentile(ticks, 99);
    spread.capped = static_cast<int>(std::count(ticks.begin(), ticks.end(), CapTicks));
    return spread;
}

std::string Holds(bool holds)
{
    return holds ? "yes" : "**no**";
}

} // namespace

int main(int argc, char** argv)
{
    int games = 400;
    std::uint32_t firstSeed = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--games") == 0)
            games = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--seed") == 0)
            firstSeed = static_cast<std::uint32_t>(std::strtoul(argv[i + 1], nullptr, 10));
    }

    const auto start = std::chrono::steady_clock::now();
    std::vector<Spread> spreads;
    for (const Player& player : Players)
        spreads.push_back(PlayGames(player, firstSeed, games));
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("%d games per player, world seeds %u to %u; seconds to game over.\n\n", games, firstSeed,
                firstSeed + static_cast<std::uint32_t>(games - 1));
    std::printf("| player | what it does | median | 10th | 90th | 99th | capped |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    for (std::size_t i = 0; i < spreads.size(); ++i) {
        const Spread& s = spreads[i];
        std::printf("| %s | %s | %.1f | %.1f | %.1f | %.1f | %d |\n", Players[i].name, Players[i].does,
                    s.median, s.p10, s.p90, s.p99, s.capped);
    }

    const Spread& lone = spreads[0];
    const Spread& steady = spreads[1];
    const Spread& careful = spreads[2];
    const Spread& spammer = spreads[3];
    bool allEnd = true;
    for (const Spread& s : spreads)
        allEnd = allEnd && s.p99 < 600 && s.capped == 0;
    struct Target {
        std::string what;
        bool holds;
    };
    const Target targets[] = {
        {"lone: median 15 to 45 s", lone.median >= 15 && lone.median <= 45},
        {"lone: 90th percentile under 120 s", lone.p90 < 120},
        {"steady: median 40 to 120 s", steady.median >= 40 && steady.median <= 120},
        {"careful: median at least 1.3 times steady's ("
             + std::to_string(careful.median / steady.median).substr(0, 4) + ")",
         careful.median >= 1.3 * steady.median},
        {"spammer: median not above careful's", spammer.median <= careful.median},
        {"every player: 99th percentile under 600 s, no game capped", allEnd},
    };
    std::printf("\n| target | holds |\n|---|---|\n");
    bool all = true;
    for (const Target& target : targets) {
        std::printf("| %s | %s |\n", target.what.c_str(), Holds(target.holds).c_str());
        all = all && target.holds;
    }
    std::printf("\nPlayed in %.1f s on %d threads.\n", elapsed, WorkerCount);
    return all ? 0 : 1;
}
