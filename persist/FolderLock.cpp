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

// 30 s, or 0.5 s for a patience below a second.
std::string SecondsText(std::chrono::milliseconds span)
{
    const auto ms = span.count();
    if (ms % 1000 == 0)
        return std::to_string(ms / 1000) + " s";
    return std::to_string(ms / 1000) + "." + std::to_string(ms % 1000 / 100) + " s";
}

} // namespace

FolderLock::FolderLock(const std::string& dir, std::chrono::milliseconds patience)
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
        if (std::chrono::steady_clock::now() >= deadline) {
            error = "the lock on its folder stayed taken for " + SecondsText(patience);
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
