// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <chrono>
#include <string>

// An exclusive advisory lock (flock) on a directory, held while this lives. Processes that lock
// the same directory take turns; the lock makes no file and outlives any rename inside it.
class FolderLock {
public:
    // Polls for up to patience. Without the lock by then, or when the directory cannot be
    // opened or locked, IsHeld() is false and GetError() says why in a few words.
    FolderLock(const std::string& dir, std::chrono::milliseconds patience);
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
