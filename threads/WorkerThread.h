// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "threads/LockedString.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>

class OwnerWindow;

// A cancellable background task. Run executes on a thread of its own and calls CheckPoint where
// it can stop; after RequestStop the next CheckPoint unwinds Run by throwing the int -1, which
// the thread procedure swallows. At most one thread runs per object, and none outlives it.
// A concrete task calls StopAndJoin first thing in its destructor: Run may use the task's own
// members, which are gone by the time this base destructor runs.
class WorkerThread {
public:
    static constexpr int AbortCode = -1;
    // Makes the thread that runs body. std::thread's constructor by default; it throws
    // std::system_error when the system has no thread to give, which a test stands in for.
    using Launcher = std::function<std::thread(std::function<void()> body)>;

    WorkerThread();
    virtual ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Stops and joins a worker that still runs, then starts a new one. Returns 0. When no
    // thread can be made it throws the launcher's std::system_error: then none runs, running
    // stays clear, and a later Start tries again.
    int Start();
    // Asks the worker to stop at its next check-point and returns 0 at once.
    int RequestStop();
    // Asks for a stop and waits until the worker has left Run.
    void StopAndJoin();
    void Reset();

    std::string GetMessageText() const;
    void SetOwner(OwnerWindow* newOwner);
    OwnerWindow* GetOwner() const;
    // Only while no worker runs; an empty launcher puts std::thread's back.
    void SetLauncher(Launcher newLauncher);

    bool IsRunning() const { return running.load(); }
    bool IsStopRequested() const { return stopRequested.load(); }
    bool IsHalted() const { return halted.load(); }
    // While set, CheckPoint parks the worker in 10 ms naps until it is cleared or a stop comes.
    void SetPauseRequested(bool pause) { pauseRequested.store(pause); }
    bool IsPauseRequested() const { return pauseRequested.load(); }

    virtual void CheckPoint();
    virtual void Run() = 0;
    virtual void OnHalt() {}
    virtual void OnReserved1() {}
    virtual void OnReserved2() {}
    virtual void OnAbort() {}
    virtual void SetMessageText(std::string text);
    // Parks the worker until a stop is requested; never returns normally.
    virtual void Halt(std::string text);
    // Called on the worker by CheckPoint as it parks for a pause, and as it leaves the park when
    // the pause is lifted; a stop during the pause aborts without OnResume.
    virtual void OnPause() {}
    virtual void OnResume() {}

protected:
    static void ThreadProc(WorkerThread* worker);

    std::atomic<bool> pauseRequested{false};
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> running{false};
    std::atomic<bool> halted{false};
    LockedString message;
    LockedString haltMessage;

private:
    [[noreturn]] void Abort();
    void Join();

    OwnerWindow* owner = nullptr;
    Launcher launcher;
    std::thread thread;
};
