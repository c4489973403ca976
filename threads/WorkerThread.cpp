// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "threads/WorkerThread.h"

#include <chrono>
#include <utility>

namespace {

constexpr std::chrono::milliseconds ParkInterval{10};

} // namespace

WorkerThread::WorkerThread()
{
    Reset();
}

WorkerThread::~WorkerThread()
{
    StopAndJoin();
}

int WorkerThread::Start()
{
    StopAndJoin();
    Reset();
    auto body = [this] { ThreadProc(this); };
    thread = launcher ? launcher(std::move(body)) : std::thread(std::move(body));
    return 0;
}

int WorkerThread::RequestStop()
{
    stopRequested.store(true);
    return 0;
}

void WorkerThread::StopAndJoin()
{
    if (!thread.joinable())
        return;
    RequestStop();
    Join();
}

void WorkerThread::Join()
{
    if (thread.joinable() && thread.get_id() != std::this_thread::get_id())
        thread.join();
}

void WorkerThread::Reset()
{
    pauseRequested.store(false);
    stopRequested.store(false);
    running.store(false);
    halted.store(false);
    message.Set({});
    haltMessage.Set({});
}

std::string WorkerThread::GetMessageText() const
{
    return message.Get();
}

void WorkerThread::SetOwner(OwnerWindow* newOwner)
{
    owner = newOwner;
}

OwnerWindow* WorkerThread::GetOwner() const
{
    return owner;
}

void WorkerThread::SetLauncher(Launcher newLauncher)
{
    launcher = std::move(newLauncher);
}

void WorkerThread::ThreadProc(WorkerThread* worker)
{
    worker->running.store(true);
    try {
        worker->Run();
    } catch (...) {
        // A stop unwinds Run with AbortCode; anything else that escapes ends the task as quietly.
    }
    worker->running.store(false);
}

void WorkerThread::CheckPoint()
{
    if (pauseRequested.load()) {
        OnPause();
        while (pauseRequested.load()) {
            std::this_thread::sleep_for(ParkInterval);
            if (stopRequested.load())
                Abort();
        }
        OnResume();
    }
    while (halted.load()) {
        std::this_thread::sleep_for(ParkInterval);
        if (stopRequested.load())
            Abort();
    }
    if (stopRequested.load())
        Abort();
}

void WorkerThread::Abort()
{
    OnAbort();
    stopRequested.store(false);
    throw AbortCode;
}

void WorkerThread::SetMessageText(std::string text)
{
    message.Set(std::move(text));
}

void WorkerThread::Halt(std::string text)
{
    haltMessage.Set(std::move(text));
    halted.store(true);
    OnHalt();
    CheckPoint();
}
