// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "tests/threads/Eventually.h"
#include "threads/WorkerThread.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <stdexcept>
#include <system_error>
#include <thread>

using namespace std::chrono_literals;

namespace {

// Counts its passes; each pass ends in a check-point. It can be held between check-points.
class CountingTask : public WorkerThread {
public:
    ~CountingTask() override { StopAndJoin(); }

    void Run() override
    {
        workerId = std::this_thread::get_id();
        runs.fetch_add(1);
        concurrent.fetch_add(1);
        if (concurrent.load() > 1)
            overlapped = true;
        struct Leave {
            std::atomic<int>& counter;
            ~Leave() { counter.fetch_sub(1); }
        } leave{concurrent};
        for (;;) {
            while (hold.load()) {
                parked = true;
                std::this_thread::sleep_for(1ms);
            }
            parked = false;
            passes.fetch_add(1);
            std::this_thread::sleep_for(1ms);
            CheckPoint();
        }
    }

    void OnAbort() override { aborts.fetch_add(1); }
    void OnPause() override
    {
        pauses.fetch_add(1);
        pauseHookOnWorker = std::this_thread::get_id() == workerId.load();
    }
    void OnResume() override { resumes.fetch_add(1); }

    std::atomic<std::thread::id> workerId{};
    std::atomic<int> pauses{0};
    std::atomic<int> resumes{0};
    std::atomic<bool> pauseHookOnWorker{false};
    std::atomic<int> runs{0};
    std::atomic<int> passes{0};
    std::atomic<int> aborts{0};
    std::atomic<int> concurrent{0};
    std::atomic<bool> overlapped{false};
    std::atomic<bool> hold{false};
    std::atomic<bool> parked{false};
};

class ReturningTask : public WorkerThread {
public:
    ~ReturningTask() override { StopAndJoin(); }
    void Run() override { SetMessageText("done"); }
};

class ThrowingTask : public WorkerThread {
public:
    ~ThrowingTask() override { StopAndJoin(); }
    void Run() override { throw std::runtime_error("lost"); }
};

class HaltingTask : public WorkerThread {
public:
    ~HaltingTask() override { StopAndJoin(); }
    void Run() override
    {
        Halt("halted");
        returnedFromHalt = true;
    }
    void OnHalt() override { haltHooks.fetch_add(1); }
    std::atomic<bool> returnedFromHalt{false};
    std::atomic<int> haltHooks{0};
};

} // namespace

TEST(WorkerThread, FreshWorkerIsIdleWithAnEmptyMessage)
{
    CountingTask task;
    EXPECT_FALSE(task.IsRunning());
    EXPECT_FALSE(task.IsStopRequested());
    EXPECT_EQ(task.GetMessageText(), "");
    EXPECT_EQ(task.GetOwner(), nullptr);
}

TEST(WorkerThread, CheckPointWithoutFlagsReturnsAtOnce)
{
    CountingTask task;
    const auto before = std::chrono::steady_clock::now();
    task.CheckPoint();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 5ms);
}

TEST(WorkerThread, StopTakesEffectAtTheNextCheckPoint)
{
    CountingTask task;
    task.Start();
    ASSERT_TRUE(Eventually([&] { return task.passes.load() >= 3; }));
    EXPECT_TRUE(task.IsRunning());

    task.hold = true; // hold the worker between two check-points
    ASSERT_TRUE(Eventually([&] { return task.parked.load(); }));
    const int heldAt = task.passes.load();
    task.RequestStop();
    task.RequestStop(); // twice is the same as once
    std::this_thread::sleep_for(20ms);
    EXPECT_TRUE(task.IsRunning()) << "a stop must wait for the next check-point";
    EXPECT_EQ(task.aborts.load(), 0);

    task.hold = false;
    ASSERT_TRUE(Eventually([&] { return !task.IsRunning(); }));
    EXPECT_EQ(task.aborts.load(), 1);
    EXPECT_FALSE(task.IsStopRequested()) << "the abort clears the request before throwing";
    EXPECT_EQ(task.passes.load(), heldAt + 1) << "the pass under way finishes, no other starts";
}

TEST(WorkerThread, StopBeforeStartIsForgotten)
{
    CountingTask task;
    task.RequestStop();
    task.Start();
    ASSERT_TRUE(Eventually([&] { return task.passes.load() >= 5; }));
    EXPECT_TRUE(task.IsRunning());
    EXPECT_EQ(task.aborts.load(), 0);
}

TEST(WorkerThread, StartWhileRunningReplacesTheOldWorker)
{
    CountingTask task;
    task.Start();
    ASSERT_TRUE(Eventually([&] { return task.passes.load() >= 2; }));
    for (int i = 0; i < 20; ++i) {
        task.RequestStop();
        task.Start(); // a new game before the old loop reached its check-point
    }
    ASSERT_TRUE(Eventually([&] { return task.runs.load() == 21 && task.IsRunning(); }));
    EXPECT_FALSE(task.overlapped.load()) << "two workers ran on one object";
    EXPECT_EQ(task.aborts.load(), 20);
}

TEST(WorkerThread, RunThatReturnsEndsTheThreadQuietly)
{
    ReturningTask task;
    task.Start();
    ASSERT_TRUE(Eventually([&] { return task.GetMessageText() == "done" && !task.IsRunning(); }));
    EXPECT_FALSE(task.IsStopRequested());

    task.Start(); // a second start resets the message and runs again
    ASSERT_TRUE(Eventually([&] { return task.GetMessageText() == "done" && !task.IsRunning(); }));
}

TEST(WorkerThread, OtherExceptionsAreSwallowed)
{
    ThrowingTask task;
    task.Start();
    ASSERT_TRUE(Eventually([&] { return !task.IsRunning(); }));
}

TEST(WorkerThread, HaltParksUntilAStopAndNeverReturns)
{
    HaltingTask task;
    task.Start();
    ASSERT_TRUE(Eventually([&] { return task.IsHalted(); }));
    std::this_thread::sleep_for(30ms);
    EXPECT_TRUE(task.IsRunning());
    EXPECT_EQ(task.haltHooks.load(), 1);

    task.RequestStop();
    ASSERT_TRUE(Eventually([&] { return !task.IsRunning(); }));
    EXPECT_FALSE(task.returnedFromHalt.load());
    EXPECT_TRUE(task.IsHalted()) << "only the next start clears the halt";
    task.Reset();
    EXPECT_FALSE(task.IsHalted());
}

TEST(WorkerThread, PauseHoldsTheWorkerAndAStopStillEndsIt)
{
    CountingTask task;
    task.Start();
    ASSERT_TRUE(Eventually([&] { return task.passes.load() >= 2; }));
    task.SetPauseRequested(true);
    std::this_thread::sleep_for(20ms); // let a pass in flight reach its check-point
    const int pausedAt = task.passes.load();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(task.passes.load(), pausedAt);

    task.SetPauseRequested(false);
    ASSERT_TRUE(Eventually([&] { return task.passes.load() > pausedAt; }));

    task.SetPauseRequested(true);
    std::this_thread::sleep_for(20ms);
    task.RequestStop();
    ASSERT_TRUE(Eventually([&] { return !task.IsRunning(); }));
    EXPECT_EQ(task.aborts.load(), 1);
}

TEST(WorkerThread, PauseHooksRunOnTheWorkerOncePerPark)
{
    CountingTask task;
    task.Start();
    ASSERT_TRUE(Eventually([&] { return task.passes.load() >= 1; }));

    task.SetPauseRequested(true);
    ASSERT_TRUE(Eventually([&] { return task.pauses.load() == 1; }));
    const int pausedAt = task.passes.load();
    std::this_thread::sleep_for(40ms);
    EXPECT_EQ(task.pauses.load(), 1) << "one call as the park begins, not one per nap";
    EXPECT_EQ(task.resumes.load(), 0);
    EXPECT_EQ(task.passes.load(), pausedAt) << "no pass once the pause hook has run";
    EXPECT_TRUE(task.pauseHookOnWorker.load());

    task.SetPauseRequested(false);
    ASSERT_TRUE(Eventually([&] { return task.resumes.load() == 1 && task.passes.load() > pausedAt; }));

    // A stop ends the park without the resume hook.
    task.SetPauseRequested(true);
    ASSERT_TRUE(Eventually([&] { return task.pauses.load() == 2; }));
    task.RequestStop();
    ASSERT_TRUE(Eventually([&] { return !task.IsRunning(); }));
    EXPECT_EQ(task.resumes.load(), 1);
    EXPECT_EQ(task.aborts.load(), 1);
}

TEST(WorkerThread, DestroyingARunningWorkerStopsAndJoinsIt)
{
    auto task = std::make_unique<CountingTask>();
    task->Start();
    ASSERT_TRUE(Eventually([&] { return task->passes.load() >= 2; }));
    task.reset(); // the sanitizers catch a thread left working on the freed task
}

TEST(WorkerThread, AStartWithoutAThreadLeavesNoneRunningAndALaterStartWorks)
{
    CountingTask task;
    task.Start();
    ASSERT_TRUE(Eventually([&] { return task.passes.load() >= 2; }));
    task.SetLauncher([](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    });
    EXPECT_THROW(task.Start(), std::system_error);
    EXPECT_FALSE(task.IsRunning()) << "the old worker is stopped and no new one runs";
    EXPECT_EQ(task.runs.load(), 1);

    task.SetLauncher({});
    task.Start();
    EXPECT_TRUE(Eventually([&] { return task.runs.load() == 2 && task.IsRunning(); }));
}
