// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "persist/FolderLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr std::chrono::milliseconds PollInterval{20};

std::string ErrnoText(int error)
{
    char buffer[256];
    return ::strerror_r(error, buffer, sizeof buffer);
}

} // namespace

void LockCutOff::BringNearer(Clock::time_point when)
{
    const Clock::rep wanted = when.time_since_epoch().count();
    Clock::rep current = end.load();
    while (wanted < current && !end.compare_exchange_weak(current, wanted)) {
    }
}

LockCutOff::Clock::time_point LockCutOff::Get() const
{
    return Clock::time_point(Clock::duration(end.load()));
}

FolderLock::FolderLock(const std::string& dir, std::chrono::milliseconds patience, const LockCutOff* cutOff)
{
    // Read-only is enough for flock, and a folder that may not be written can still be shared.
    fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        missing = errno == ENOENT;
        error = "cannot open its folder to lock it: " + ErrnoText(errno);
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            held = true;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            error = "cannot lock its folder: " + ErrnoText(errno);
            return;
        }
        const auto now = std::chrono::steady_clock::now();
        // No time in the words: a cut-off may end a wait at once.
        if (now >= deadline || (cutOff && now >= cutOff->Get())) {
            error = "the lock on its folder stayed taken";
            return;
        }
        std::this_thread::sleep_for(PollInterval);
    }
}

FolderLock::~FolderLock()
{
    // Closing the only descriptor of the open directory releases the lock.
    if (fd >= 0)
        ::close(fd);
}
