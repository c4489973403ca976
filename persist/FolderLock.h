// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <atomic>
#include <chrono>
#include <string>

// An end for waits for folder locks that any thread may bring nearer while another waits: how a
// program that is asked to end cuts short a save waiting for another copy's lock.
class LockCutOff {
public:
    using Clock = std::chrono::steady_clock;

    // The end becomes when, unless it is nearer already.
    void BringNearer(Clock::time_point when);
    Clock::time_point Get() const;

private:
    std::atomic<Clock::rep> end{Clock::time_point::max().time_since_epoch().count()};
};

// An exclusive advisory lock (flock) on a directory, held while this lives. Processes that lock
// the same directory take turns; the lock makes no file and outlives any rename inside it.
class FolderLock {
public:
    // Polls for up to patience, and never past the cut-off when one is given. Without the lock by
    // then, or when the directory cannot be opened or locked, IsHeld() is false and GetError()
    // says why in a few words.
    FolderLock(const std::string& dir, std::chrono::milliseconds patience,
               const LockCutOff* cutOff = nullptr);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool IsHeld() const { return held; }
    // Whether the directory was missing: nothing there to share, so nothing worth reporting.
    bool IsMissing() const { return missing; }
    const std::string& GetError() const { return error; }

private:
    int fd = -1;
    bool held = false;
    bool missing = false;
    std::string error;
};
