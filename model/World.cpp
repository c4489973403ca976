// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "model/World.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <numbers>

namespace {

constexpr std::size_t SwingBatch = 64;

// Changes with every game even when two start within the same second.
std::uint32_t SeedFromClock()
{
    const auto now = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    return static_cast<std::uint32_t>(now ^ (now >> 32));
}

} // namespace

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
    random.seed(SeedFromClock());
}

void World::FixSeed(std::uint32_t seed)
{
    fixedSeed = seed;
}

void World::SetArea(const Rect& newArea)
{
    area = newArea;
}

void World::ResetGame()
{
    ResetGame(fixedSeed.value_or(SeedFromClock()));
}

void World::ResetGame(std::uint32_t seed)
{
    const std::lock_guard<std::mutex> pass(passLock);
    random.seed(seed);
    recorder.Begin(seed, ShadowRule::Version, recording);
    swings.DeleteAll();
    obstacles.DeleteAll();
    weightReleased = false;
    obstacleHold.clear();
    obstacleViews.clear();
    tickCount = 0;
    hungCount = 0;
    aliveReleased = 0;
    swallowCount = 0;
    lastLowestPointTold = -PassesPerSecond;
    nextTimedShadow = rule.firstShadowTick;
    nextWeightShadow = RandomInt(rule.weightsPerShadowMin, rule.weightsPerShadowMax);
}

void World::Tick()
{
    const std::lock_guard<std::mutex> pass(passLock);
    // Before the first weight is released the field is still: no time passes, no shadow comes,
    // and the record counts no pass.
    if (tickCount == 0 && !weightReleased)
        return;
    ++tickCount;
    // Only on the passes that may tell a lowest point: the others cost the swings nothing.
    watchLowest = eventSink && tickCount - lastLowestPointTold >= PassesPerSecond / MaxLowestPointsPerSecond;
    AdvanceObstacles();
    grid.Fill(area, obstacleViews);

    // The swings are read a batch at a time under one lock. The count is read again for every
    // batch, so a swing added during the pass moves in it too.
    int released = 0;
    int releasedAlive = 0;
    std::array<std::shared_ptr<Swing>, SwingBatch> batch;
    for (int i = 0; i < GetSwingCount();) {
        const int fetched = swings.GetRange(i, batch);
        if (fetched == 0)
            break;
        for (int k = 0; k < fetched; ++k)
            StepSwing(*batch[static_cast<std::size_t>(k)], released, releasedAlive);
        i += fetched;
    }
    hungCount = released;
    aliveReleased = releasedAlive;
    if (eventSink) {
        // However many swings pass their lowest point, the field tells one a few times a second.
        if (lowestPassed) {
            eventSink->Notify(GameEvent::LowestPoint, 0);
            lastLowestPointTold = tickCount;
        }
        if (swallowed)
            eventSink->Notify(GameEvent::Swallow, aliveReleased);
        if (lost)
            eventSink->Notify(GameEvent::WeightLost, aliveReleased);
    }
    lowestPassed = false;
    swallowed = false;
    lost = false;

    // Every weight hung brings the next shadow nearer: hanging many is no way to stay safe.
    while (released >= nextWeightShadow) {
        AddShadow();
        nextWeightShadow += RandomInt(rule.weightsPerShadowMin, rule.weightsPerShadowMax);
    }
    recorder.PassDone(swallowCount);
}

void World::StepSwing(Swing& swing, int& released, int& releasedAlive)
{
    const double sideBefore = watchLowest ? swing.x - swing.anchorX : 0.0;
    swing.Update();
    const bool active = swing.IsActive();
    if (active)
        ++released;
    if (!swing.alive)
        return;
    const Point weight = swing.GetPoint();
    // A weight that swung off the field for good would be out of every shadow's reach.
    if (active) {
        if (PtInRect(area, weight))
            swing.ticksOutside = 0;
        else if (++swing.ticksOutside >= rule.offFieldTicks) {
            swing.alive = false;
            lost = true;
            return;
        }
    }
    for (const int j : grid.CellAt(weight)) {
        const ObstacleView& obstacle = obstacleViews[static_cast<std::size_t>(j)];
        if (!obstacle.shadow) {
            if (PtInRect(obstacle.box, weight))
                swing.alive = false;
            continue;
        }
        // A shadow swallows the weight: the first one to cover it grows, and no other.
        if (Shadow::EllipseHolds(obstacle.box, weight)) {
            swing.alive = false;
            swallowed = true;
            ++swallowCount;
            obstacle.shadow->Grow(rule.growthPerWeight, rule.maxDiameter);
            return;
        }
    }
    if (active && swing.alive)
        ++releasedAlive;
    // The weight crossed the vertical under its anchor; the first swing to do so is enough.
    if (watchLowest && active && swing.alive && (sideBefore < 0.0) != (swing.x - swing.anchorX < 0.0)) {
        lowestPassed = true;
        watchLowest = false;
    }
}

void World::AdvanceObstacles()
{
    if (GetTickCount() >= nextTimedShadow) {
        AddShadow();
        nextTimedShadow = GetTickCount() + RandomInt(rule.spawnTicksMin, rule.spawnTicksMax);
    }
    obstacleHold.resize(static_cast<std::size_t>(GetObstacleCount()));
    obstacleHold.resize(static_cast<std::size_t>(obstacles.GetRange(0, obstacleHold)));
    obstacleViews.clear();
    for (const std::shared_ptr<GameObject>& obstacle : obstacleHold) {
        auto* shadow = dynamic_cast<Shadow*>(obstacle.get());
        if (shadow)
            shadow->Move(area);
        // A shadow that has just come is seen, but swallows nothing yet.
        if (shadow && shadow->IsHarmless(rule.harmlessTicks))
            continue;
        obstacleViews.push_back(ObstacleView{obstacle->GetRect(), shadow});
    }
}

void World::AddShadow()
{
    // The centre starts on a random point of a random edge and drifts inward, at most 60
    // degrees off straight in.
    const int edge = RandomInt(0, 3);
    const double along = RandomReal(0.0, 1.0);
    const double turn = RandomReal(-std::numbers::pi / 3, std::numbers::pi / 3);
    const double speed = RandomReal(rule.speedMin, rule.speedMax);
    const double left = area.left;
    const double top = area.top;
    const double right = area.right - 1;
    const double bottom = area.bottom - 1;
    constexpr std::array<double, 4> Inward = {0.0, std::numbers::pi / 2, std::numbers::pi,
                                              -std::numbers::pi / 2};
    const std::array<std::pair<double, double>, 4> starts = {{
        {left, top + along * (bottom - top)},
        {left + along * (right - left), top},
        {right, top + along * (bottom - top)},
        {left + along * (right - left), bottom},
    }};
    const auto index = static_cast<std::size_t>(edge);
    const double heading = Inward[index] + turn;
    auto shadow =
        std::make_shared<Shadow>(starts[index].first, starts[index].second, speed * std::cos(heading),
                                 speed * std::sin(heading), rule.startDiameter);
    obstacles.Add(std::move(shadow));
    if (eventSink)
        eventSink->Notify(GameEvent::ShadowAppears, 0);
}

int World::RandomInt(int low, int high)
{
    if (high <= low)
        return low;
    return low + static_cast<int>(random() % static_cast<std::uint32_t>(high - low + 1));
}

double World::RandomReal(double low, double high)
{
    return low + (high - low) * (static_cast<double>(random()) / 4294967296.0);
}

bool World::IsGameOver()
{
    return HasBegun() && GetTickCount() >= rule.graceTicks && aliveReleased == 0;
}

bool World::IsFinished()
{
    return false;
}

std::unique_ptr<Replay> World::TakeReplay()
{
    const std::lock_guard<std::mutex> pass(passLock);
    return recorder.Take();
}

void World::NotePause(bool paused)
{
    const std::lock_guard<std::mutex> pass(passLock);
    recorder.Note(paused ? ReplayInput::Kind::Pause : ReplayInput::Kind::Resume, 0, 0);
}

void World::BeginSwing(int x, int y)
{
    const std::lock_guard<std::mutex> pass(passLock);
    recorder.Note(ReplayInput::Kind::Anchor, x, y);
    auto swing = std::make_shared<Swing>();
    swing->anchorX = x;
    swing->anchorY = y;
    // The weight is picked up where the anchor goes in: a press alone carries no rope.
    swing->SetPoint(x, y);
    swings.Add(std::move(swing));
    currentSwingIndex = GetSwingCount() - 1;
    dragging = true;
}

void World::DragSwing(int x, int y)
{
    const std::lock_guard<std::mutex> pass(passLock);
    if (!dragging)
        return;
    recorder.Note(ReplayInput::Kind::Drag, x, y);
    if (const std::shared_ptr<Swing> swing = swings.GetAt(currentSwingIndex))
        swing->SetPoint(x, y);
}

void World::ReleaseSwing(int x, int y)
{
    const std::lock_guard<std::mutex> pass(passLock);
    recorder.Note(ReplayInput::Kind::Release, x, y);
    dragging = false;
    const std::shared_ptr<Swing> swing = swings.GetAt(currentSwingIndex);
    if (!swing)
        return;
    const double rope = swing->Distance(swing->anchorX, swing->anchorY);
    // A weight let go over its own anchor hangs from nothing: it is put out as a drop puts it.
    if (!swing->IsActive() && rope < swing->GetWidth() / 2.0) {
        swing->alive = false;
        return;
    }
    swing->ropeLength = static_cast<int>(rope);
    swing->SetActive(true);
    weightReleased = true;
    if (eventSink)
        eventSink->Notify(GameEvent::Release, swing->ropeLength);
}

void World::DropSwing()
{
    const std::lock_guard<std::mutex> pass(passLock);
    if (!dragging)
        return;
    recorder.Note(ReplayInput::Kind::Drop, 0, 0);
    dragging = false;
    if (const std::shared_ptr<Swing> swing = swings.GetAt(currentSwingIndex))
        swing->alive = false;
}

void World::ObstacleGrid::Fill(const Rect& field, const std::vector<ObstacleView>& views)
{
    area = field;
    columns = std::max(1, (field.Width() + CellSize - 1) / CellSize);
    rows = std::max(1, (field.Height() + CellSize - 1) / CellSize);
    // Each obstacle's cells, walked twice: once to count the entries of every cell, once to
    // put them in place.
    const auto forEachCell = [&](const auto& visit) {
        for (std::size_t j = 0; j < views.size(); ++j) {
            const Rect& box = views[j].box;
            if (IsRectEmpty(box))
                continue;
            const int firstColumn = Index(box.left - area.left, columns);
            const int lastColumn = Index(box.right - 1 - area.left, columns);
            const int firstRow = Index(box.top - area.top, rows);
            const int lastRow = Index(box.bottom - 1 - area.top, rows);
            for (int row = firstRow; row <= lastRow; ++row)
                for (int column = firstColumn; column <= lastColumn; ++column)
                    visit(Cell(row, column), static_cast<int>(j));
        }
    };
    starts.assign(Cell(rows, 0) + 1, 0);
    forEachCell([&](std::size_t cell, int) { ++starts[cell + 1]; });
    for (std::size_t cell = 1; cell < starts.size(); ++cell)
        starts[cell] += starts[cell - 1];
    entries.resize(static_cast<std::size_t>(starts.back()));
    std::vector<int>& next = fillCursor;
    next.assign(starts.begin(), starts.end() - 1);
    forEachCell([&](std::size_t cell, int j) { entries[static_cast<std::size_t>(next[cell]++)] = j; });
}
