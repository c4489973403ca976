// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "tests/threads/Eventually.h"
#include "threads/DialogThread.h"
#include "threads/OwnerWindow.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <map>
#include <thread>

using namespace std::chrono_literals;

namespace {

// A window with controls 1001 and 1002; it remembers their enabled state.
class FakeWindow : public OwnerWindow {
public:
    void RequestRepaint(bool) override {}
    void RequestRepaint(const Rect&, bool) override {}
    void GameEnded(const GameResult&) override {}
    void ReturnedToTitle() override {}
    bool EnableControl(int controlId, bool enable) override
    {
        ++calls;
        if (controlId != 1001 && controlId != 1002)
            return false;
        enabled[controlId] = enable;
        return true;
    }
    std::map<int, bool> enabled;
    int calls = 0;
};

class LoopingDialogThread : public DialogThread {
public:
    ~LoopingDialogThread() override { StopAndJoin(); }
    void Run() override
    {
        for (;;) {
            std::this_thread::sleep_for(1ms);
            CheckPoint();
        }
    }
};

} // namespace

TEST(DialogThread, RefreshWithEmptyListsNeedsNoOwner)
{
    DialogThread thread;
    thread.RefreshControls(); // no owner set: must not be touched
    SUCCEED();
}

TEST(DialogThread, RefreshFollowsTheRunningFlag)
{
    FakeWindow window;
    LoopingDialogThread thread;
    thread.SetOwner(&window);
    thread.AddEnabledWhileRunning(1001);
    thread.AddEnabledWhileStopped(1002);
    thread.AddEnabledWhileStopped(4242); // the window has no such control: skipped

    thread.RefreshControls();
    EXPECT_FALSE(window.enabled[1001]);
    EXPECT_TRUE(window.enabled[1002]);
    EXPECT_EQ(window.calls, 3);

    thread.Start();
    ASSERT_TRUE(Eventually([&] { return thread.IsRunning(); }));
    thread.RefreshControls();
    EXPECT_TRUE(window.enabled[1001]);
    EXPECT_FALSE(window.enabled[1002]);

    thread.StopAndJoin();
    thread.RefreshControls();
    EXPECT_FALSE(window.enabled[1001]);
    EXPECT_TRUE(window.enabled[1002]);
}

TEST(DialogThread, ResetControlsEmptiesBothLists)
{
    FakeWindow window;
    DialogThread thread;
    thread.SetOwner(&window);
    thread.AddEnabledWhileRunning(1001);
    thread.ResetControls();
    thread.RefreshControls();
    EXPECT_EQ(window.calls, 0);
}
