// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "model/ReplayPlayer.h"
#include "model/World.h"
#include "tests/threads/Eventually.h"
#include "threads/GameSurface.h"
#include "threads/GameThread.h"
#include "threads/OwnerWindow.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

// The status texts a surface was given, readable while the game thread adds more.
class StatusTextLog {
public:
    void Add(std::string text)
    {
        std::lock_guard<std::mutex> guard(lock);
        texts.push_back(std::move(text));
    }

    std::vector<std::string> StatusTexts() const
    {
        std::lock_guard<std::mutex> guard(lock);
        return texts;
    }

    void ClearStatusTexts()
    {
        std::lock_guard<std::mutex> guard(lock);
        texts.clear();
    }

private:
    mutable std::mutex lock;
    std::vector<std::string> texts;
};

// Records what the game loop tells its surface; its end-of-game rules answer true from a
// chosen tick on.
class FakeSurface : public GameSurface, public StatusTextLog {
public:
    void ResetGame() override
    {
        resets.fetch_add(1);
        ticksAtReset = ticks.load();
    }

    void Tick() override
    {
        const int tick = ticks.fetch_add(1) + 1;
        if (onTick)
            onTick(tick);
    }

    // The fake's game begins at once.
    bool HasBegun() override { return true; }

    bool IsGameOver() override { return gameOverFrom > 0 && ticks.load() >= gameOverFrom; }
    bool IsFinished() override { return finishedFrom > 0 && ticks.load() >= finishedFrom; }
    int GetScore() override { return 7; }

    void SetStatusText(std::string text) override
    {
        Add(std::move(text));
        if (afterStatusText)
            afterStatusText();
    }

    void SetPlaying(bool value) override { playing.store(value); }
    Rect GetAreaRect() const override { return Rect{0, 0, 449, 407}; }

    std::atomic<int> resets{0};
    std::atomic<int> ticks{0};
    std::atomic<int> ticksAtReset{-1};
    std::atomic<bool> playing{true};
    // The game over may also be set while the game is paused.
    std::atomic<int> gameOverFrom{0};
    // Set before the game starts.
    int finishedFrom = 0;
    std::function<void(int)> onTick;
    std::function<void()> afterStatusText;
};

// A surface over the real world.
class WorldSurface : public GameSurface, public StatusTextLog {
public:
    void ResetGame() override { world.ResetGame(); }
    void Tick() override
    {
        world.Tick();
        passes.fetch_add(1);
    }
    bool HasBegun() override { return world.HasBegun(); }
    bool IsGameOver() override { return world.IsGameOver(); }
    bool IsFinished() override { return world.IsFinished(); }
    int GetScore() override { return world.GetHungCount(); }
    void SetStatusText(std::string text) override
    {
        begunAtLastText.store(world.HasBegun());
        Add(std::move(text));
    }
    void SetPlaying(bool) override {}
    Rect GetAreaRect() const override { return {}; }
    void NotePause(bool paused) override { world.NotePause(paused); }
    std::unique_ptr<Replay> TakeReplay() override { return world.TakeReplay(); }

    World world;
    std::atomic<int> passes{0};
    // Once true, the loop has seen the game begin and its stopwatch runs.
    std::atomic<bool> begunAtLastText{false};
};

struct Repaint {
    bool whole;
    Rect rect;
    bool erase;

    friend bool operator==(const Repaint&, const Repaint&) = default;
};

class FakeOwner : public OwnerWindow {
public:
    void RequestRepaint(bool erase) override { Record({true, {}, erase}); }
    void RequestRepaint(const Rect& rect, bool erase) override { Record({false, rect, erase}); }
    bool EnableControl(int, bool) override { return false; }
    void GameEnded(const GameResult& result) override
    {
        std::lock_guard<std::mutex> guard(lock);
        results.push_back(result);
    }
    void ReturnedToTitle() override { titleReturns.fetch_add(1); }

    std::vector<GameResult> Results() const
    {
        std::lock_guard<std::mutex> guard(lock);
        return results;
    }

    std::vector<Repaint> Repaints() const
    {
        std::lock_guard<std::mutex> guard(lock);
        return repaints;
    }

    // The message that the last repaint would show.
    std::string LastMessageShown() const
    {
        std::lock_guard<std::mutex> guard(lock);
        return messageShown;
    }

    // Set before the game starts.
    const WorkerThread* worker = nullptr;
    std::atomic<int> titleReturns{0};

private:
    void Record(Repaint repaint)
    {
        std::string message = worker ? worker->GetMessageText() : std::string();
        std::lock_guard<std::mutex> guard(lock);
        repaints.push_back(repaint);
        messageShown = std::move(message);
    }

    mutable std::mutex lock;
    std::vector<Repaint> repaints;
    std::vector<GameResult> results;
    std::string messageShown;
};

// The game loop with a clock the test moves and a shorter end-of-game display.
class TestGameThread : public GameThread {
public:
    TestGameThread()
    {
        SetClock([this] { return clockMs.load(); });
        SetEndDisplay(20ms);
    }
    ~TestGameThread() override { StopAndJoin(); }
    using GameThread::SetEndDisplay;

    std::atomic<std::int64_t> clockMs{1000};
};

double SecondsIn(const std::string& text)
{
    return std::stod(text);
}

} // namespace

TEST(GameThread, TimeTextStartsAtZeroAndGrowsWithTheClock)
{
    FakeSurface surface;
    FakeOwner owner;
    GameThread thread;
    thread.SetScreen(&surface);
    thread.SetOwner(&owner);
    thread.Start();

    ASSERT_TRUE(Eventually([&] { return !surface.StatusTexts().empty(); }));
    EXPECT_EQ(surface.StatusTexts().front(), "0.0");
    ASSERT_TRUE(Eventually([&] { return SecondsIn(surface.StatusTexts().back()) >= 0.2; }));
    thread.StopAndJoin();

    const std::vector<std::string> texts = surface.StatusTexts();
    for (std::size_t i = 1; i < texts.size(); ++i)
        EXPECT_LE(SecondsIn(texts[i - 1]), SecondsIn(texts[i]));
    EXPECT_EQ(surface.resets.load(), 1);
    EXPECT_EQ(surface.ticksAtReset.load(), 0);
}

TEST(GameThread, ShowsElapsedMillisecondsToOneDecimal)
{
    FakeSurface surface;
    FakeOwner owner;
    TestGameThread thread;
    thread.SetScreen(&surface);
    thread.SetOwner(&owner);
    thread.Start();
    ASSERT_TRUE(Eventually([&] { return !surface.StatusTexts().empty(); }));

    thread.clockMs.store(1000 + 12345);
    EXPECT_TRUE(Eventually([&] { return surface.StatusTexts().back() == "12.3"; }));
}

TEST(GameThread, EveryPassRequestsARepaintWithoutErasing)
{
    FakeSurface surface;
    FakeOwner owner;
    TestGameThread thread;
    thread.SetScreen(&surface);
    thread.SetOwner(&owner);
    surface.onTick = [&](int tick) {
        if (tick == 5)
            thread.RequestStop();
    };
    thread.Start();
    ASSERT_TRUE(Eventually([&] { return !thread.IsRunning() && surface.ticks.load() == 5; }));

    // One at the start, one per pass.
    EXPECT_EQ(owner.Repaints(), std::vector<Repaint>(6, Repaint{true, {}, false}));
    EXPECT_EQ(thread.GetMessageText(), "");
}

TEST(GameThread, StopDuringAPassLetsThatPassFinishAndNoTickFollows)
{
    FakeSurface surface;
    TestGameThread thread;
    thread.SetScreen(&surface);
    surface.onTick = [&](int tick) {
        if (tick == 3)
            thread.RequestStop();
    };
    thread.Start();
    ASSERT_TRUE(Eventually([&] { return !thread.IsRunning() && surface.ticks.load() == 3; }));
    std::this_thread::sleep_for(50ms);

    EXPECT_EQ(surface.ticks.load(), 3);
    EXPECT_EQ(surface.StatusTexts().size(), 3u);
    EXPECT_FALSE(thread.IsStopRequested());
}

TEST(GameThread, StopFromTheWindowEndsTheThreadWithinOnePass)
{
    FakeSurface surface;
    GameThread thread;
    thread.SetScreen(&surface);
    thread.Start();
    ASSERT_TRUE(Eventually([&] { return surface.ticks.load() >= 2; }));

    const int ticksAtRequest = surface.ticks.load();
    thread.RequestStop();
    ASSERT_TRUE(Eventually([&] { return !thread.IsRunning(); }));
    const int ticksAtEnd = surface.ticks.load();
    std::this_thread::sleep_for(50ms);

    EXPECT_LE(ticksAtEnd - ticksAtRequest, 1);
    EXPECT_EQ(surface.ticks.load(), ticksAtEnd);
}

TEST(GameThread, NewGameStartsWithNoSwingsAndTheClockFromZero)
{
    WorldSurface surface;
    TestGameThread thread;
    thread.SetScreen(&surface);
    thread.Start();
    ASSERT_TRUE(Eventually([&] { return !surface.StatusTexts().empty(); }));
    for (int i = 0; i < 3; ++i) {
        surface.world.BeginSwing(100 + 10 * i, 50);
        surface.world.DragSwing(120 + 10 * i, 90);
        surface.world.ReleaseSwing(0, 0);
    }
    ASSERT_TRUE(Eventually([&] { return surface.begunAtLastText.load(); }));
    thread.clockMs.store(1000 + 7500);
    ASSERT_TRUE(Eventually([&] { return surface.StatusTexts().back() == "7.5"; }));
    thread.RequestStop();
    ASSERT_TRUE(Eventually([&] { return !thread.IsRunning(); }));
    EXPECT_EQ(surface.world.GetSwingCount(), 3);

    surface.ClearStatusTexts();
    thread.Start();
    ASSERT_TRUE(Eventually([&] { return !surface.StatusTexts().empty(); }));
    EXPECT_EQ(surface.StatusTexts().front(), "0.0");
    EXPECT_EQ(surface.world.GetSwingCount(), 0);
}

// A player may listen to the hint for as long as they like: until the first weight is released
// the time shows 0.0, no shadow comes and the game cannot end. The time recorded counts from
// that release.
TEST(GameThread, TheGameAndItsTimeBeginWithTheFirstWeightReleased)
{
    WorldSurface surface;
    World& world = surface.world;
    world.rule.firstShadowTick = 1;
    world.rule.graceTicks = 1;
    // No shadow swallows the weight: the test puts it out when it is done.
    world.rule.harmlessTicks = 1 << 30;
    FakeOwner owner;
    TestGameThread thread;
    thread.SetScreen(&surface);
    thread.SetOwner(&owner);
    thread.Start();
    ASSERT_TRUE(Eventually([&] { return !surface.StatusTexts().empty(); }));

    // An hour over the hint, then a weight carried and not yet let go.
    world.BeginSwing(200, 100);
    world.DragSwing(230, 140);
    thread.clockMs.fetch_add(3'600'000);
    const int passes = surface.passes.load();
    ASSERT_TRUE(Eventually([&] { return surface.passes.load() > passes + 10 || !thread.IsRunning(); }));
    EXPECT_TRUE(thread.IsRunning()) << "the game ended before a weight was released";
    EXPECT_EQ(world.GetObstacleCount(), 0) << "a shadow came before a weight was released";
    const std::vector<std::string> idle = surface.StatusTexts();
    EXPECT_EQ(std::count(idle.begin(), idle.end(), "0.0"), static_cast<long>(idle.size())) << idle.back();

    world.ReleaseSwing(0, 0);
    ASSERT_TRUE(Eventually([&] { return surface.begunAtLastText.load(); }));
    EXPECT_TRUE(Eventually([&] { return world.GetObstacleCount() >= 1; })) << "no shadow after the release";
    thread.clockMs.fetch_add(7500);
    ASSERT_TRUE(Eventually([&] { return surface.StatusTexts().back() == "7.5"; }));

    auto cover = std::make_shared<GameObject>();
    cover->SetWidth(2000);
    cover->SetHeight(2000);
    world.obstacles.Add(cover);
    ASSERT_TRUE(Eventually([&] { return !owner.Results().empty(); }));
    EXPECT_EQ(owner.Results()[0].seconds, 7.5);
    EXPECT_EQ(owner.Results()[0].score, 1);
}

TEST(GameThread, EndOfGameShowsItsMessageThenReturnsToTheTitle)
{
    const struct {
        int gameOverFrom;
        int finishedFrom;
        const char* message;
    } cases[] = {
        {3, 0, "GameOver!!"},
        {0, 3, "Finish!!"},
        {3, 3, "GameOver!!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        FakeSurface surface;
        surface.gameOverFrom = c.gameOverFrom;
        surface.finishedFrom = c.finishedFrom;
        FakeOwner owner;
        TestGameThread thread;
        surface.onTick = [&thread](int) { thread.clockMs.fetch_add(1234); };
        thread.SetScreen(&surface);
        thread.SetOwner(&owner);
        thread.Start();
        ASSERT_TRUE(Eventually([&] { return !thread.IsRunning() && surface.ticks.load() == 3; }));

        EXPECT_EQ(thread.GetMessageText(), c.message);
        EXPECT_FALSE(surface.playing.load());
        // The pass that ends the game writes no time text; the last text is the empty one.
        const std::vector<std::string> texts = surface.StatusTexts();
        ASSERT_EQ(texts.size(), 3u);
        EXPECT_EQ(texts[2], "");
        const std::vector<Repaint> repaints = owner.Repaints();
        ASSERT_EQ(repaints.size(), 6u);
        EXPECT_EQ(repaints[3], (Repaint{false, Rect{0, 0, 449, 407}, true}));
        EXPECT_EQ(repaints[4], (Repaint{true, {}, true}));
        EXPECT_EQ(repaints[5], (Repaint{true, {}, true}));
        // The window hears how it ended, with the time the player saw last, once.
        const std::vector<GameResult> results = owner.Results();
        ASSERT_EQ(results.size(), 1u);
        EXPECT_EQ(results[0].gameOver, c.message == std::string("GameOver!!"));
        EXPECT_EQ(results[0].seconds, SecondsIn(texts[1]));
        EXPECT_EQ(results[0].score, 7);
        EXPECT_EQ(owner.titleReturns.load(), 1);
    }
}

TEST(GameThread, EndOfGameMessageStaysUntilTheNextStart)
{
    FakeSurface surface;
    surface.gameOverFrom = 1;
    TestGameThread thread;
    thread.SetScreen(&surface);
    thread.Start();
    ASSERT_TRUE(Eventually([&] { return !thread.IsRunning() && surface.ticks.load() == 1; }));
    EXPECT_EQ(thread.GetMessageText(), "GameOver!!");

    surface.gameOverFrom = 0;
    surface.onTick = [&](int) { thread.RequestStop(); };
    thread.Start();
    ASSERT_TRUE(Eventually([&] { return !thread.IsRunning() && surface.ticks.load() == 2; }));
    EXPECT_EQ(thread.GetMessageText(), "");
}

TEST(GameThread, StopDuringTheEndDisplayEndsItAndLeavesTheScreenAlone)
{
    FakeSurface surface;
    surface.gameOverFrom = 1;
    FakeOwner owner;
    TestGameThread thread;
    thread.SetEndDisplay(60s);
    thread.SetScreen(&surface);
    thread.SetOwner(&owner);
    thread.Start();
    ASSERT_TRUE(Eventually([&] { return thread.GetMessageText() == "GameOver!!"; }));

    // As when the player leaves with Escape and at once starts a new game, which sets the flag.
    thread.RequestStop();
    ASSERT_TRUE(Eventually([&] { return !thread.IsRunning(); }));
    EXPECT_TRUE(surface.playing.load());
    EXPECT_TRUE(surface.StatusTexts().empty());
    EXPECT_EQ(owner.titleReturns.load(), 0);
}

TEST(GameThread, WithoutAScreenEndsAtOnce)
{
    GameThread thread;
    thread.Start();
    EXPECT_TRUE(Eventually([&] { return !thread.IsRunning(); }));
}

TEST(GameThread, DestructionStopsARunningGame)
{
    FakeSurface surface;
    {
        GameThread thread;
        thread.SetScreen(&surface);
        thread.Start();
        ASSERT_TRUE(Eventually([&] { return surface.ticks.load() >= 1; }));
    }
    const int ticks = surface.ticks.load();
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(surface.ticks.load(), ticks);
}

namespace {

// A game on a fake surface and a clock the test moves, waited on until its first time text.
struct RunningGame {
    RunningGame()
    {
        thread.SetScreen(&surface);
        thread.SetOwner(&owner);
        owner.worker = &thread;
        surface.afterStatusText = [this] {
            const std::int64_t at = pauseAfterNextTimeText.exchange(-1);
            if (at >= 0) {
                thread.clockMs.store(at);
                thread.SetPauseRequested(true);
            }
        };
        thread.Start();
    }

    bool Started() const
    {
        return Eventually([&] { return !surface.StatusTexts().empty(); });
    }
    // True once the loop has parked and asked for the repaint that shows the pause.
    bool Paused() const
    {
        return Eventually([&] { return owner.LastMessageShown() == "Pause"; });
    }
    bool Resumed() const
    {
        return Eventually([&] { return owner.LastMessageShown().empty(); });
    }
    std::string LastTime() const { return surface.StatusTexts().back(); }

    FakeSurface surface;
    FakeOwner owner;
    TestGameThread thread;
    // When set, the game thread moves the clock there and asks for a pause right after its next
    // time text, so that the pause comes between a pass's text and its check-point.
    std::atomic<std::int64_t> pauseAfterNextTimeText{-1};
};

} // namespace

TEST(GameThread, PauseStopsTheTicksAndHoldsTheTimeUntilTheResume)
{
    RunningGame game;
    ASSERT_TRUE(game.Started());
    game.thread.clockMs.store(1000 + 1230);
    ASSERT_TRUE(Eventually([&] { return game.LastTime() == "1.2"; }));

    game.thread.SetPauseRequested(true);
    ASSERT_TRUE(game.Paused());
    const int ticks = game.surface.ticks.load();
    const std::size_t repaints = game.owner.Repaints().size();
    game.thread.clockMs.store(1000 + 1230 + 3'600'000);
    game.surface.ClearStatusTexts();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(game.surface.ticks.load(), ticks);
    EXPECT_TRUE(game.surface.StatusTexts().empty());
    EXPECT_EQ(game.owner.Repaints().size(), repaints) << "a parked loop asks for no repaints";

    game.thread.SetPauseRequested(false);
    ASSERT_TRUE(game.Resumed());
    ASSERT_TRUE(Eventually([&] { return game.surface.ticks.load() > ticks + 2; }));
    EXPECT_EQ(game.owner.Repaints().at(repaints), (Repaint{true, {}, false}));
    for (const std::string& text : game.surface.StatusTexts())
        EXPECT_EQ(text, "1.2") << "no play time has passed since the resume";
    game.thread.clockMs.store(1000 + 1230 + 3'600'000 + 100);
    EXPECT_TRUE(Eventually([&] { return game.LastTime() == "1.3"; }));
}

// The time written at the pause is the stopwatch's reading as the loop parks, which may be
// newer than the text of the last pass; a game that ends on the first pass after the resume
// records that time too.
TEST(GameThread, TheTimeShownInAPauseIsTheOneAtWhichItHoldsAndIsRecorded)
{
    RunningGame game;
    ASSERT_TRUE(game.Started());
    game.thread.clockMs.store(1000 + 1240);
    ASSERT_TRUE(Eventually([&] { return game.LastTime() == "1.2"; }));
    game.pauseAfterNextTimeText = 1000 + 1260;
    ASSERT_TRUE(game.Paused());
    EXPECT_EQ(game.LastTime(), "1.3");

    game.surface.gameOverFrom = game.surface.ticks.load() + 1;
    game.thread.SetPauseRequested(false);
    ASSERT_TRUE(Eventually([&] { return !game.owner.Results().empty(); }));
    EXPECT_EQ(game.owner.Results()[0].seconds, 1.3);
}

TEST(GameThread, StopDuringAPauseEndsTheGameWithoutAnotherTick)
{
    RunningGame game;
    ASSERT_TRUE(game.Started());
    game.thread.SetPauseRequested(true);
    ASSERT_TRUE(game.Paused());
    const int ticks = game.surface.ticks.load();

    game.thread.RequestStop();
    ASSERT_TRUE(Eventually([&] { return !game.thread.IsRunning(); }));
    EXPECT_EQ(game.surface.ticks.load(), ticks);
    EXPECT_FALSE(game.thread.IsStopRequested());
}

TEST(GameThread, ANewGameAfterAPausedOneStartsUnpaused)
{
    for (const bool stopFirst : {true, false}) {
        SCOPED_TRACE(stopFirst ? "stopped, then started" : "started over the paused game");
        RunningGame game;
        ASSERT_TRUE(game.Started());
        game.thread.clockMs.store(1000 + 5000);
        game.thread.SetPauseRequested(true);
        ASSERT_TRUE(game.Paused());
        if (stopFirst) {
            game.thread.RequestStop();
            ASSERT_TRUE(Eventually([&] { return !game.thread.IsRunning(); }));
        }

        game.surface.ClearStatusTexts();
        const int ticks = game.surface.ticks.load();
        game.thread.Start();
        EXPECT_FALSE(game.thread.IsPauseRequested());
        ASSERT_TRUE(Eventually([&] { return game.surface.ticks.load() > ticks + 2; }));
        EXPECT_EQ(game.thread.GetMessageText(), "");
        EXPECT_EQ(game.surface.StatusTexts().front(), "0.0");
    }
}

TEST(GameThread, PauseDuringTheEndDisplayKeepsItsMessageAndTime)
{
    FakeSurface surface;
    surface.gameOverFrom = 1;
    FakeOwner owner;
    TestGameThread thread;
    thread.SetEndDisplay(60s);
    thread.SetScreen(&surface);
    thread.SetOwner(&owner);
    thread.Start();
    ASSERT_TRUE(Eventually([&] { return thread.GetMessageText() == "GameOver!!"; }));

    thread.SetPauseRequested(true);
    ASSERT_TRUE(Eventually([&] { return thread.GetMessageText() == "Pause"; }));
    EXPECT_TRUE(surface.StatusTexts().empty()) << "a game that has ended gets no time text";
    thread.SetPauseRequested(false);
    EXPECT_TRUE(Eventually([&] { return thread.GetMessageText() == "GameOver!!"; }));
}

// The window's thread may flip the pause at any moment of a pass; every park must be undone.
TEST(GameThread, TogglingThePauseAtAnyMomentLeavesNoPauseBehind)
{
    RunningGame game;
    ASSERT_TRUE(game.Started());
    std::int64_t now = 1000;
    for (int i = 0; i < 400; ++i) {
        game.thread.SetPauseRequested(i % 2 == 0);
        now += 7;
        game.thread.clockMs.store(now);
        std::this_thread::sleep_for(std::chrono::microseconds(200 * (i % 13)));
    }
    ASSERT_FALSE(game.thread.IsPauseRequested());
    ASSERT_TRUE(game.Resumed());
    const int ticks = game.surface.ticks.load();
    EXPECT_TRUE(Eventually([&] { return game.surface.ticks.load() > ticks + 2; }));

    const std::vector<std::string> texts = game.surface.StatusTexts();
    for (std::size_t i = 1; i < texts.size(); ++i)
        ASSERT_LE(SecondsIn(texts[i - 1]), SecondsIn(texts[i])) << "the time never runs back";
    EXPECT_LE(SecondsIn(texts.back()), (now - 1000) * 0.001 + 0.05);
}

// Shadows that come at once, large and fast, so that a game ends within a few seconds of play.
void Swift(ShadowRule& rule)
{
    rule.graceTicks = 100;
    rule.firstShadowTick = 20;
    rule.spawnTicksMin = rule.spawnTicksMax = 30;
    rule.harmlessTicks = 0;
    rule.startDiameter = rule.maxDiameter = 120;
    rule.speedMin = 3.0;
    rule.speedMax = 5.0;
}

TEST(GameThread, InputsMadeWhileThePassesRunReplayToTheSameEnd)
{
    WorldSurface surface;
    Swift(surface.world.rule);
    FakeOwner owner;
    TestGameThread thread;
    thread.SetEndDisplay(0ms);
    thread.SetScreen(&surface);
    thread.SetOwner(&owner);
    owner.worker = &thread;
    thread.Start();
    ASSERT_TRUE(Eventually([&] { return !surface.StatusTexts().empty(); }));

    // Gestures from this thread at whatever moment of a pass they come; one weight carried
    // through a pause.
    for (int i = 0; i < 40 && owner.Results().empty(); ++i) {
        surface.world.BeginSwing(100 + i * 7, 60 + i % 5 * 20);
        for (int step = 1; step <= 5; ++step) {
            surface.world.DragSwing(100 + i * 7 + step * 4, 60 + i % 5 * 20 + step * 9);
            std::this_thread::sleep_for(1ms);
        }
        if (i == 3) {
            thread.SetPauseRequested(true);
            ASSERT_TRUE(Eventually([&] { return owner.LastMessageShown() == "Pause"; }));
            surface.world.DragSwing(300, 300);
            thread.SetPauseRequested(false);
        }
        if (i % 4 == 2)
            surface.world.DropSwing();
        else
            surface.world.ReleaseSwing(0, 0);
    }
    const auto ended = [&] { return !owner.Results().empty(); };
    for (int wait = 0; wait < 30 && !ended(); ++wait)
        Eventually(ended);
    ASSERT_TRUE(ended());
    thread.StopAndJoin();

    const GameResult result = owner.Results().front();
    ASSERT_TRUE(result.replay);
    EXPECT_EQ(result.replay->score, result.score);
    EXPECT_EQ(result.replay->seconds, result.seconds);
    const auto paused =
        std::count_if(result.replay->inputs.begin(), result.replay->inputs.end(),
                      [](const ReplayInput& input) { return input.kind == ReplayInput::Kind::Pause; });
    EXPECT_EQ(paused, 1);

    World again;
    Swift(again.rule);
    ReplayPlayer player(again, result.replay);
    player.Start();
    while (player.Step() == ReplayPlayer::State::Playing) {
    }
    EXPECT_EQ(player.GetState(), ReplayPlayer::State::Ended) << player.GetDeparture();
    EXPECT_EQ(player.GetPass(), result.replay->endPass);
}
