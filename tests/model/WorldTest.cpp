// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "model/World.h"

#include "model/ReplayPlayer.h"
#include "model/Shadow.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

std::vector<std::shared_ptr<Swing>> SwingsOf(const World& world)
{
    std::vector<std::shared_ptr<Swing>> all;
    for (int i = 0; i < world.GetSwingCount(); ++i)
        all.push_back(world.swings.GetAt(i));
    return all;
}

// A world whose own shadows never come, for the rules that do not need them.
void WithoutShadows(World& world)
{
    world.rule.firstShadowTick = 1 << 30;
    world.rule.weightsPerShadowMin = world.rule.weightsPerShadowMax = 1 << 30;
    world.ResetGame();
}

void Hang(World& world, Point anchor, Point weight)
{
    world.BeginSwing(anchor.x, anchor.y);
    world.DragSwing(weight.x, weight.y);
    world.ReleaseSwing(0, 0);
}

struct HeardEvents : GameEventSink {
    void Notify(GameEvent event, int value) noexcept override { heard.push_back({event, value}); }
    long Count(GameEvent event) const
    {
        return std::count_if(heard.begin(), heard.end(), [event](const auto& e) { return e.first == event; });
    }
    std::vector<std::pair<GameEvent, int>> heard;
};

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

// A weight let go less than its radius (15) from its anchor hangs from nothing: it is put out,
// unheard and unscored, wherever the press was.
TEST(World, ReleaseHangsAWeightOnlyWhenItWasCarriedOffItsAnchor)
{
    const struct {
        const char* what;
        Point anchor;
        std::optional<Point> dragTo;
        // 0 when nothing is hung.
        int rope;
    } cases[] = {
        {"a click mid-field", {300, 100}, {}, 0},
        {"a click on the field's corner", {0, 0}, {}, 0},
        {"a drag back onto the anchor", {300, 100}, Point{300, 100}, 0},
        {"a drag shorter than the radius", {300, 100}, Point{310, 110}, 0},
        {"a drag of the radius", {300, 100}, Point{300, 115}, 15},
        {"a drag well away", {300, 100}, Point{330, 140}, 50},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        World world;
        WithoutShadows(world);
        HeardEvents events;
        world.SetEventSink(&events);
        world.BeginSwing(c.anchor.x, c.anchor.y);
        const auto swing = world.swings.GetAt(0);
        EXPECT_EQ(swing->GetPoint(), c.anchor) << "the weight starts on its anchor";
        if (c.dragTo)
            world.DragSwing(c.dragTo->x, c.dragTo->y);
        world.ReleaseSwing(c.anchor.x, c.anchor.y);
        world.Tick();

        const bool hung = c.rope > 0;
        EXPECT_EQ(swing->IsActive(), hung);
        EXPECT_EQ(swing->alive, hung);
        EXPECT_EQ(world.GetHungCount(), hung ? 1 : 0);
        EXPECT_EQ(events.Count(GameEvent::Release), hung ? 1 : 0);
        if (hung) {
            EXPECT_EQ(swing->ropeLength, c.rope);
        }
        EXPECT_FALSE(world.dragging);
    }
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
    WithoutShadows(world);
    for (int i = 0; i < 25; ++i) {
        world.BeginSwing(15 * i + 20, 50);
        world.DragSwing(15 * i + 35, 120);
        world.ReleaseSwing(0, 0);
    }
    for (int tick = 0; tick < 200; ++tick)
        world.Tick();
    for (const auto& swing : SwingsOf(world)) {
        EXPECT_TRUE(swing->alive);
        EXPECT_EQ(swing->updateCount, 200);
    }
}

TEST(World, SwingIsTestedWhereItsOwnUpdateLeftIt)
{
    // Released at (150, 100), level with its anchor: its first update drops it to (150, 150),
    // inside the obstacle, and the same tick puts it out.
    World world;
    world.BeginSwing(100, 100);
    world.DragSwing(150, 100);
    world.ReleaseSwing(0, 0);
    auto obstacle = std::make_shared<GameObject>();
    obstacle->SetWidth(10);
    obstacle->SetHeight(10);
    obstacle->SetPoint(150, 150);
    world.obstacles.Add(obstacle);
    world.Tick();
    EXPECT_FALSE(world.swings.GetAt(0)->alive);
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

TEST(Shadow, SwallowsInsideItsDrawnEllipseButNotInItsBoxCorners)
{
    const Shadow shadow(100.0, 100.0, 0.0, 0.0, 40);
    ASSERT_EQ(shadow.GetRect(), (Rect{80, 80, 120, 120}));
    const std::pair<Point, bool> cases[] = {
        {{100, 100}, true},  {{80, 100}, true},   {{119, 100}, true}, {{100, 80}, true},
        {{120, 100}, false}, {{100, 120}, false}, {{80, 80}, false},  {{83, 83}, false},
        {{119, 119}, false}, {{86, 86}, true},    {{113, 113}, true},
    };
    for (const auto& [point, inside] : cases)
        EXPECT_EQ(shadow.HitTest(point), inside) << point.x << ", " << point.y;
    // A plain obstacle keeps its rectangle: the corner is in.
    GameObject plain;
    plain.SetWidth(40);
    plain.SetHeight(40);
    plain.SetPoint(100, 100);
    EXPECT_TRUE(plain.HitTest(Point{80, 80}));
}

TEST(Shadow, BouncesOffEveryEdgeBackIntoTheField)
{
    // Two pixels from the edge at three a tick: one pixel from it after the bounce, then away.
    const struct {
        const char* edge;
        double x, y, speedX, speedY, x6, y6;
    } cases[] = {
        {"left", 2, 200, -3, 0, 16, 200},
        {"top", 200, 2, 0, -3, 200, 16},
        {"right", 446, 200, 3, 0, 432, 200},
        {"bottom", 200, 404, 0, 3, 200, 390},
    };
    for (const auto& c : cases) {
        Shadow shadow(c.x, c.y, c.speedX, c.speedY, 40);
        for (int tick = 0; tick < 6; ++tick)
            shadow.Move(Rect{0, 0, 449, 407});
        EXPECT_DOUBLE_EQ(shadow.GetX(), c.x6) << c.edge;
        EXPECT_DOUBLE_EQ(shadow.GetY(), c.y6) << c.edge;
    }
}

TEST(Shadow, GrowsUpToItsLargestSizeAndNoFurther)
{
    Shadow shadow(100.0, 100.0, 0.0, 0.0, 40);
    shadow.Grow(6, 120);
    EXPECT_EQ(shadow.GetWidth(), 46);
    for (int weight = 0; weight < 20; ++weight)
        shadow.Grow(6, 120);
    EXPECT_EQ(shadow.GetWidth(), 120);
    EXPECT_EQ(shadow.GetHeight(), 120);
}

TEST(World, ANewShadowSwallowsNothingInItsFirstSecond)
{
    World world;
    WithoutShadows(world);
    Hang(world, {200, 100}, {230, 140});
    world.obstacles.Add(std::make_shared<Shadow>(224.0, 203.0, 0.0, 0.0, 800)); // over the whole field
    const auto swing = world.swings.GetAt(0);
    for (int tick = 0; tick < world.rule.harmlessTicks; ++tick)
        world.Tick();
    EXPECT_TRUE(swing->alive) << "taken before the shadow's first second was over";
    world.Tick();
    EXPECT_FALSE(swing->alive);
}

TEST(World, AWeightUnderTwoShadowsGrowsOnlyTheFirst)
{
    World world;
    WithoutShadows(world);
    Hang(world, {200, 100}, {230, 140});
    std::vector<std::shared_ptr<Shadow>> covers;
    for (int i = 0; i < 2; ++i) {
        covers.push_back(std::make_shared<Shadow>(230.0, 140.0, 0.0, 0.0, 100));
        covers.back()->ageTicks = world.rule.harmlessTicks;
        world.obstacles.Add(covers.back());
    }
    world.Tick();
    EXPECT_FALSE(world.swings.GetAt(0)->alive);
    EXPECT_EQ(covers[0]->GetWidth(), 100 + world.rule.growthPerWeight);
    EXPECT_EQ(covers[1]->GetWidth(), 100);
}

// Fails at once, where a shadow a pass would make the longer games crawl.
TEST(World, ShadowsComeOneAtATimeOnTheirSchedule)
{
    World world;
    world.FixSeed(1);
    world.ResetGame();
    Hang(world, {200, 100}, {230, 140});
    const ShadowRule& rule = world.rule;
    const auto countAt = [&world](int tick) {
        while (world.GetTickCount() < tick)
            world.Tick();
        return world.GetObstacleCount();
    };
    ASSERT_EQ(countAt(rule.firstShadowTick - 1), 0);
    ASSERT_EQ(countAt(rule.firstShadowTick), 1);
    ASSERT_EQ(countAt(rule.firstShadowTick + rule.spawnTicksMin - 1), 1) << "more than one shadow came";
    EXPECT_EQ(countAt(rule.firstShadowTick + rule.spawnTicksMax), 2);
}

TEST(World, WeightOffTheFieldIsLostAfterTwoSecondsNotAfterAMoment)
{
    World world;
    WithoutShadows(world);
    HeardEvents events;
    world.SetEventSink(&events);
    Hang(world, {200, 500}, {230, 540}); // below the bottom edge for good
    Hang(world, {5, 100}, {-55, 100}); // out past the left edge for part of every swing
    const auto gone = world.swings.GetAt(0);
    const auto back = world.swings.GetAt(1);
    for (int tick = 1; tick < world.rule.offFieldTicks; ++tick)
        world.Tick();
    EXPECT_TRUE(gone->alive);
    EXPECT_EQ(events.Count(GameEvent::WeightLost), 0);
    world.Tick();
    EXPECT_FALSE(gone->alive);
    for (int tick = 0; tick < 2000; ++tick)
        world.Tick();
    EXPECT_TRUE(back->alive);
    EXPECT_FALSE(world.IsGameOver());
    // Told once, with the one weight left swinging.
    EXPECT_EQ(events.Count(GameEvent::WeightLost), 1);
    EXPECT_NE(std::find(events.heard.begin(), events.heard.end(), std::pair{GameEvent::WeightLost, 1}),
              events.heard.end());
}

TEST(World, GameIsOverOnceNoReleasedWeightIsLeftAfterTheGrace)
{
    World idle;
    World dragging;
    World lostAtOnce;
    World hanging;
    const auto all = {&idle, &dragging, &lostAtOnce, &hanging};
    for (World* world : all)
        WithoutShadows(*world);
    dragging.BeginSwing(200, 100);
    dragging.DragSwing(230, 140);
    Hang(lostAtOnce, {200, 100}, {230, 140});
    auto everywhere = std::make_shared<GameObject>();
    everywhere->SetWidth(2000);
    everywhere->SetHeight(2000);
    lostAtOnce.obstacles.Add(everywhere);
    Hang(hanging, {200, 100}, {230, 140});
    for (int tick = 1; tick < idle.rule.graceTicks; ++tick) {
        for (World* world : all)
            world->Tick();
    }
    EXPECT_FALSE(lostAtOnce.IsGameOver()) << "the grace is not over yet";
    for (World* world : all)
        world->Tick();
    EXPECT_TRUE(lostAtOnce.IsGameOver());
    EXPECT_FALSE(idle.IsGameOver()) << "the game begins with the first weight released";
    EXPECT_FALSE(dragging.IsGameOver()) << "a weight still dragged is not released";
    EXPECT_FALSE(hanging.IsGameOver());
    EXPECT_EQ(hanging.GetHungCount(), 1);

    auto cover = std::make_shared<Shadow>(230.0, 170.0, 0.0, 0.0, 400);
    cover->ageTicks = hanging.rule.harmlessTicks;
    hanging.obstacles.Add(cover);
    hanging.Tick();
    EXPECT_TRUE(hanging.IsGameOver());
    EXPECT_FALSE(hanging.IsFinished());
}

TEST(World, SeededGamePlaysOutTheSameWithTheSameGestures)
{
    // A weight every 1.5 s at places that depend only on the count; the state is summed up
    // every second, shadows and all.
    const auto play = [](std::uint32_t seed) {
        World world;
        world.FixSeed(seed);
        world.ResetGame();
        std::vector<double> trace;
        for (int tick = 1; tick <= 6000 && !world.IsGameOver(); ++tick) {
            if (tick % 150 == 0) {
                const int i = tick / 150;
                Hang(world, {40 + i * 37 % 360, 30 + i * 53 % 200}, {60 + i * 29 % 340, 120 + i * 41 % 200});
            }
            world.Tick();
            if (tick % 100 != 0)
                continue;
            for (int j = 0; j < world.GetObstacleCount(); ++j) {
                const auto obstacle = world.obstacles.GetAt(j);
                trace.insert(trace.end(), {obstacle->GetX(), obstacle->GetY(), double(obstacle->GetWidth())});
            }
            for (int j = 0; j < world.GetSwingCount(); ++j) {
                const auto swing = world.swings.GetAt(j);
                trace.insert(trace.end(), {swing->GetX(), swing->GetY(), double(swing->alive)});
            }
        }
        trace.push_back(world.GetTickCount());
        return trace;
    };
    const std::vector<double> first = play(7);
    EXPECT_EQ(play(7), first);
    EXPECT_NE(play(8), first);
}

TEST(World, TellsEachMomentOnceAndALowestPointAFewTimesASecondForAWholeField)
{
    World world;
    WithoutShadows(world);
    HeardEvents events;
    world.SetEventSink(&events);
    constexpr int Swings = 300;
    for (int i = 0; i < Swings; ++i)
        Hang(world, {20 + i, 100}, {60 + i, 100 + i % 50});
    world.Tick();
    ASSERT_EQ(events.Count(GameEvent::Release), Swings);
    EXPECT_EQ(events.heard.front().second, SwingsOf(world).front()->ropeLength);
    events.heard.clear();

    for (int tick = 0; tick < PassesPerSecond; ++tick)
        world.Tick();
    EXPECT_GE(events.Count(GameEvent::LowestPoint), 2);
    EXPECT_LE(events.Count(GameEvent::LowestPoint), World::MaxLowestPointsPerSecond);

    // One shadow over every weight but one, the one carried too: one thud, not one for each,
    // told with the weight left swinging.
    Hang(world, {400, 350}, {400, 390});
    world.BeginSwing(60, 60);
    world.DragSwing(60, 100);
    auto cover = std::make_shared<Shadow>(180.0, 120.0, 0.0, 0.0, 600);
    cover->ageTicks = world.rule.harmlessTicks;
    world.obstacles.Add(cover);
    events.heard.clear();
    world.Tick();
    EXPECT_EQ(events.heard, (std::vector<std::pair<GameEvent, int>>{{GameEvent::Swallow, 1}}));

    world.rule.firstShadowTick = 0;
    world.ResetGame();
    Hang(world, {200, 100}, {230, 140});
    world.Tick();
    EXPECT_EQ(events.Count(GameEvent::ShadowAppears), 1);
}

namespace {

// A rule whose shadows come soon and often, so that a recorded game ends within seconds.
void Hurried(ShadowRule& rule)
{
    rule.graceTicks = 300;
    rule.firstShadowTick = 50;
    rule.spawnTicksMin = 150;
    rule.spawnTicksMax = 250;
    rule.harmlessTicks = 20;
    rule.weightsPerShadowMin = 4;
    rule.weightsPerShadowMax = 6;
    rule.speedMin = 0.6;
    rule.speedMax = 1.2;
}

// A player who acts by the pass number alone, so that a recording can be compared with the game.
struct ScriptedGame {
    const char* name;
    std::uint32_t seed;
    // Called before every pass while the game goes on.
    void (*act)(World& world, int pass);
};

// Swallows seen while the game was played, and where it ended.
struct PlayedGame {
    std::vector<int> swallowPasses;
    int endPass = 0;
    int score = 0;
    std::shared_ptr<Replay> replay;
};

PlayedGame PlayScripted(const ScriptedGame& game)
{
    World world;
    Hurried(world.rule);
    world.ResetGame(game.seed);
    PlayedGame played;
    int pass = 0;
    while (pass < 50'000) {
        game.act(world, pass);
        const int swallowedBefore = world.GetSwallowCount();
        world.Tick();
        ++pass;
        for (int i = swallowedBefore; i < world.GetSwallowCount(); ++i)
            played.swallowPasses.push_back(world.GetTickCount());
        if (world.IsGameOver())
            break;
    }
    // The game's own passes, from its first weight released on, as its record counts them.
    played.endPass = world.GetTickCount();
    played.score = world.GetHungCount();
    played.replay = world.TakeReplay();
    if (played.replay) {
        played.replay->score = played.score;
        played.replay->seconds = 12.3;
    }
    return played;
}

ReplayPlayer::State PlayBack(std::shared_ptr<const Replay> replay, int& passes, std::string& departure)
{
    World world;
    Hurried(world.rule);
    ReplayPlayer player(world, std::move(replay));
    player.Start();
    while (player.Step() == ReplayPlayer::State::Playing && player.GetPass() < 100'000) {
    }
    passes = player.GetPass();
    departure = player.GetDeparture();
    return player.GetState();
}

void HangEvery(World& world, int pass, int every)
{
    if (pass % every != 0)
        return;
    const int i = pass / every;
    const Point anchor{40 + i * 37 % 360, 30 + i * 53 % 200};
    world.BeginSwing(anchor.x, anchor.y);
    for (int step = 1; step <= 3; ++step)
        world.DragSwing(anchor.x + step * (i * 29 % 60 - 30) / 3, anchor.y + step * (20 + i * 41 % 60) / 3);
    world.ReleaseSwing(0, 0);
}

const ScriptedGame ScriptedGames[] = {
    {"a weight every second", 7,
     [](World& world, int pass) {
         if (pass < 3000)
             HangEvery(world, pass, 100);
     }},
    {"weights carried over passes, some dropped", 11,
     [](World& world, int pass) {
         if (pass >= 3000)
             return;
         const int phase = pass % 120;
         if (phase == 0)
             world.BeginSwing(100 + pass % 250, 80);
         else if (phase < 40)
             world.DragSwing(100 + pass % 250 + phase, 80 + phase * 2);
         else if (phase == 40 && pass / 120 % 3 == 0)
             world.DropSwing();
         else if (phase == 40)
             world.ReleaseSwing(0, 0);
     }},
    {"pauses with a weight carried", 23,
     [](World& world, int pass) {
         if (pass >= 2000)
             return;
         if (pass % 200 == 10) {
             world.BeginSwing(220, 60);
             world.NotePause(true);
             world.DragSwing(260, 150);
             world.NotePause(false);
             world.ReleaseSwing(260, 150);
         }
     }},
    {"a weight lost below the field", 31,
     [](World& world, int pass) {
         if (pass == 5) {
             world.BeginSwing(200, 100);
             world.DragSwing(200, 2000);
             world.ReleaseSwing(200, 2000);
         }
     }},
    {"hundreds of swings", 43,
     [](World& world, int pass) {
         if (pass < 400)
             for (int k = 0; k < 3; ++k)
                 HangEvery(world, pass * 3 + k, 1);
     }},
};

class RecordedGame : public testing::TestWithParam<ScriptedGame> {};

TEST_P(RecordedGame, ReplaysToTheSameEndScoreAndSwallows)
{
    const PlayedGame played = PlayScripted(GetParam());
    ASSERT_TRUE(played.replay);
    EXPECT_EQ(played.replay->endPass, played.endPass);
    EXPECT_EQ(played.replay->swallowPasses, played.swallowPasses);
    ASSERT_LT(played.endPass, 50'000) << "the game should end";
    int passes = 0;
    std::string departure;
    EXPECT_EQ(PlayBack(played.replay, passes, departure), ReplayPlayer::State::Ended) << departure;
    EXPECT_EQ(passes, played.endPass);
}

INSTANTIATE_TEST_SUITE_P(World, RecordedGame, testing::ValuesIn(ScriptedGames),
                         [](const testing::TestParamInfo<ScriptedGame>& info) {
                             std::string name = info.param.name;
                             std::replace_if(
                                 name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
                             return name;
                         });

TEST(ReplayPlayer, StopsAtTheFirstPassThatDepartsFromTheRecord)
{
    const PlayedGame played = PlayScripted(ScriptedGames[0]);
    ASSERT_TRUE(played.replay);
    ASSERT_FALSE(played.swallowPasses.empty());
    struct Change {
        const char* what;
        void (*apply)(Replay& replay);
    };
    const Change changes[] = {
        {"a release a pass later",
         [](Replay& replay) {
             for (ReplayInput& input : replay.inputs)
                 if (input.kind == ReplayInput::Kind::Release) {
                     ++input.pass;
                     return;
                 }
         }},
        {"a swallow a pass earlier", [](Replay& replay) { --replay.swallowPasses.front(); }},
        {"another score", [](Replay& replay) { ++replay.score; }},
        {"an end a pass later", [](Replay& replay) { ++replay.endPass; }},
        {"an end a pass earlier", [](Replay& replay) { --replay.endPass; }},
        {"another rule", [](Replay& replay) { ++replay.ruleVersion; }},
    };
    for (const Change& change : changes) {
        auto changed = std::make_shared<Replay>(*played.replay);
        change.apply(*changed);
        int passes = 0;
        std::string departure;
        EXPECT_EQ(PlayBack(changed, passes, departure), ReplayPlayer::State::Departed) << change.what;
        EXPECT_LE(passes, played.endPass + 1) << change.what;
        EXPECT_FALSE(departure.empty()) << change.what;
    }
}

} // namespace
