#include "model/World.h"
#include "threads/GameSurface.h"
#include "threads/GameThread.h"
#include "threads/OwnerWindow.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

template <typename Condition>
bool Eventually(Condition condition)
{
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

// Records what the game loop tells its surface; its end-of-game rules answer true from a
// chosen tick on.
class FakeSurface : public GameSurface {
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

    bool IsGameOver() override { return gameOverFrom > 0 && ticks.load() >= gameOverFrom; }
    bool IsFinished() override { return finishedFrom > 0 && ticks.load() >= finishedFrom; }

    void SetStatusText(std::string text) override
    {
        std::lock_guard<std::mutex> guard(lock);
        statusTexts.push_back(std::move(text));
    }

    void SetPlaying(bool value) override { playing.store(value); }
    Rect GetAreaRect() const override { return Rect{0, 0, 449, 407}; }

    std::vector<std::string> StatusTexts() const
    {
        std::lock_guard<std::mutex> guard(lock);
        return statusTexts;
    }

    void ClearStatusTexts()
    {
        std::lock_guard<std::mutex> guard(lock);
        statusTexts.clear();
    }

    std::atomic<int> resets{0};
    std::atomic<int> ticks{0};
    std::atomic<int> ticksAtReset{-1};
    std::atomic<bool> playing{true};
    // Set before the game starts.
    int gameOverFrom = 0;
    int finishedFrom = 0;
    std::function<void(int)> onTick;

private:
    mutable std::mutex lock;
    std::vector<std::string> statusTexts;
};

// A surface over the real world.
class WorldSurface : public GameSurface {
public:
    void ResetGame() override { world.ResetGame(); }
    void Tick() override { world.Tick(); }
    bool IsGameOver() override { return world.IsGameOver(); }
    bool IsFinished() override { return world.IsFinished(); }
    void SetStatusText(std::string text) override
    {
        std::lock_guard<std::mutex> guard(lock);
        statusTexts.push_back(std::move(text));
    }
    void SetPlaying(bool) override {}
    Rect GetAreaRect() const override { return {}; }

    std::vector<std::string> StatusTexts() const
    {
        std::lock_guard<std::mutex> guard(lock);
        return statusTexts;
    }
    void ClearStatusTexts()
    {
        std::lock_guard<std::mutex> guard(lock);
        statusTexts.clear();
    }

    World world;

private:
    mutable std::mutex lock;
    std::vector<std::string> statusTexts;
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

    std::vector<Repaint> Repaints() const
    {
        std::lock_guard<std::mutex> guard(lock);
        return repaints;
    }

private:
    void Record(Repaint repaint)
    {
        std::lock_guard<std::mutex> guard(lock);
        repaints.push_back(repaint);
    }

    mutable std::mutex lock;
    std::vector<Repaint> repaints;
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
    const std::string prefix = "[時間:";
    return std::stod(text.substr(prefix.size()));
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
    EXPECT_EQ(surface.StatusTexts().front(), "[時間:0.0秒]");
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
    EXPECT_TRUE(Eventually([&] { return surface.StatusTexts().back() == "[時間:12.3秒]"; }));
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
    thread.clockMs.store(1000 + 7500);
    ASSERT_TRUE(Eventually([&] { return surface.StatusTexts().back() == "[時間:7.5秒]"; }));
    thread.RequestStop();
    ASSERT_TRUE(Eventually([&] { return !thread.IsRunning(); }));
    EXPECT_EQ(surface.world.GetSwingCount(), 3);

    surface.ClearStatusTexts();
    thread.Start();
    ASSERT_TRUE(Eventually([&] { return !surface.StatusTexts().empty(); }));
    EXPECT_EQ(surface.StatusTexts().front(), "[時間:0.0秒]");
    EXPECT_EQ(surface.world.GetSwingCount(), 0);
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
    TestGameThread thread;
    thread.SetEndDisplay(60s);
    thread.SetScreen(&surface);
    thread.Start();
    ASSERT_TRUE(Eventually([&] { return thread.GetMessageText() == "GameOver!!"; }));

    // As when the player leaves with Escape and at once starts a new game, which sets the flag.
    thread.RequestStop();
    ASSERT_TRUE(Eventually([&] { return !thread.IsRunning(); }));
    EXPECT_TRUE(surface.playing.load());
    EXPECT_TRUE(surface.StatusTexts().empty());
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
