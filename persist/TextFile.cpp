// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "persist/TextFile.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <signal.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr int MaxLinkHops = 40;
constexpr std::string_view TemporaryMark = ".tmp-";

// strerror_r, since a save and a load may report errors on two threads at once.
std::string ErrnoText(int error)
{
    char buffer[256];
    return ::strerror_r(error, buffer, sizeof buffer);
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd)
        : fd(fd)
    {
    }
    ~FileDescriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

private:
    int fd;
};

std::string DirOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Join(const std::string& dir, std::string_view name)
{
    std::string joined = dir;
    if (joined.empty() || joined.back() != '/')
        joined += '/';
    joined += name;
    return joined;
}

// Follows symbolic links to the path they finally name, which need not exist.
bool ResolveLinks(const std::string& path, std::string& target, std::string& error)
{
    target = path;
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        std::string link(256, '\0');
        for (;;) {
            const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
            if (length < 0) {
                error = "cannot follow its symbolic link: " + ErrnoText(errno);
                return false;
            }
            if (static_cast<std::size_t>(length) < link.size()) {
                link.resize(static_cast<std::size_t>(length));
                break;
            }
            link.resize(link.size() * 2);
        }
        target = !link.empty() && link.front() == '/' ? link : Join(DirOf(target), link);
    }
    error = "it is a chain of too many symbolic links";
    return false;
}

// Temporary files this process is writing now, which a clean-up must leave alone.
std::mutex inProgressLock;
std::set<std::string> inProgress;

void MarkInProgress(const std::string& name, bool writing)
{
    std::lock_guard<std::mutex> guard(inProgressLock);
    if (writing)
        inProgress.insert(name);
    else
        inProgress.erase(name);
}

bool IsInProgress(const std::string& name)
{
    std::lock_guard<std::mutex> guard(inProgressLock);
    return inProgress.count(name) != 0;
}

std::string TemporaryPrefix(const std::string& target)
{
    return "." + BaseOf(target) + std::string(TemporaryMark);
}

// ".<name>.tmp-<pid>-<unique>" beside the target, so that a later run can tell whose it is.
std::string TemporaryName(const std::string& target)
{
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return TemporaryPrefix(target) + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1))
           + "." + std::to_string(static_cast<unsigned long long>(ticks) % 1000000007ULL);
}

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const std::size_t chunk = data.size() < (std::size_t{1} << 30) ? data.size() : std::size_t{1} << 30;
        const ssize_t written = ::write(fd, data.data(), chunk);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {
            errno = EIO;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Whether the file may be changed; root, which the kernel lets write anything, is held to the
// permission bits as a read-only attribute.
bool IsWritable(const std::string& path, const struct stat& st)
{
    return (st.st_mode & 0222) != 0 && ::access(path.c_str(), W_OK) == 0;
}

// A new file under a fresh temporary name beside a target, marked as in progress while this
// lives. Until it has been renamed over the target, going out of scope closes and removes it.
class TemporaryFile {
public:
    // Fd() is -1 when no file could be made; OpenError() then says why.
    TemporaryFile(const std::string& target, mode_t mode)
    {
        const std::string dir = DirOf(target);
        for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
            path = Join(dir, TemporaryName(target));
            MarkInProgress(path, true);
            fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
            if (fd < 0) {
                openError = errno;
                MarkInProgress(path, false);
                path.clear();
                if (openError != EEXIST)
                    break;
            }
        }
    }
    ~TemporaryFile()
    {
        if (fd >= 0)
            ::close(fd);
        if (path.empty())
            return;
        if (!renamed)
            ::unlink(path.c_str());
        MarkInProgress(path, false);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int Fd() const { return fd; }
    int OpenError() const { return openError; }
    // Closes now, so that a failing close can be reported.
    bool Close() { return ::close(std::exchange(fd, -1)) == 0; }
    bool RenameOver(const std::string& target)
    {
        renamed = ::rename(path.c_str(), target.c_str()) == 0;
        return renamed;
    }

private:
    std::string path;
    int fd = -1;
    int openError = 0;
    bool renamed = false;
};

// Writes text into a new temporary file beside target and renames it over target.
bool WriteAndRename(const std::string& target, const struct stat* old, const std::string& text,
                    std::string& error)
{
    const std::string dir = DirOf(target);
    TemporaryFile temporary(target, old ? 0600 : 0666);
    if (temporary.Fd() < 0) {
        error = "cannot create a temporary file in " + dir + ": " + ErrnoText(temporary.OpenError());
        return false;
    }
    const auto fail = [&](const std::string& what) {
        error = what + ": " + ErrnoText(errno);
        return false;
    };
    if (!WriteAll(temporary.Fd(), text))
        return fail("cannot write the temporary file");
    if (old) {
        // Changing the owner clears set-id bits, so the mode comes after it.
        if (::fchown(temporary.Fd(), old->st_uid, old->st_gid) != 0) {
            // Without the right to give it away, the file belongs to this process's user.
        }
        if (::fchmod(temporary.Fd(), old->st_mode & 07777) != 0)
            return fail("cannot keep the file's permissions");
    }
    if (::fsync(temporary.Fd()) != 0)
        return fail("cannot flush the temporary file to disk");
    if (!temporary.Close())
        return fail("cannot write the temporary file");
    if (!temporary.RenameOver(target))
        return fail("cannot rename the temporary file over it");

    // Makes the rename itself durable. The new text is in place already, so a failure here
    // (some file systems cannot flush a directory) does not undo the save.
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

} // namespace

namespace TextFile {

LoadResult Load(const std::string& path, std::string& text, std::string& error)
{
    text.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT)
            return LoadResult::Missing;
        error = ErrnoText(errno);
        return LoadResult::Failed;
    }
    FileDescriptor file(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        error = ErrnoText(errno);
        return LoadResult::Failed;
    }
    if (S_ISDIR(st.st_mode)) {
        error = "it is a directory";
        return LoadResult::Failed;
    }
    if (!S_ISREG(st.st_mode)) {
        error = "it is not a regular file";
        return LoadResult::Failed;
    }
    if (static_cast<unsigned long long>(st.st_size) > MaxSize) {
        error = "it is larger than " + std::to_string(MaxSize >> 20) + " MiB";
        return LoadResult::Failed;
    }
    // The size is only a hint: the file may grow or shrink while it is read.
    text.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == text.size()) {
            if (text.size() > MaxSize) {
                text.clear();
                error = "it is larger than " + std::to_string(MaxSize >> 20) + " MiB";
                return LoadResult::Failed;
            }
            text.resize(text.size() + (text.size() >> 1) + 4096);
        }
        const ssize_t got = ::read(fd, text.data() + filled, text.size() - filled);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            error = ErrnoText(errno);
            text.clear();
            return LoadResult::Failed;
        }
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    text.resize(filled);
    return LoadResult::Loaded;
}

bool Replace(const std::string& path, const std::string& text, std::string& error)
{
    std::string target;
    if (!ResolveLinks(path, target, error))
        return false;
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        error = "cannot examine it: " + ErrnoText(errno);
        return false;
    }
    if (exists) {
        if (S_ISDIR(old.st_mode)) {
            error = "it is a directory";
            return false;
        }
        if (!S_ISREG(old.st_mode)) {
            error = "it is not a regular file";
            return false;
        }
        if (!IsWritable(target, old)) {
            error = "the file is read-only";
            return false;
        }
    }
    return WriteAndRename(target, exists ? &old : nullptr, text, error);
}

std::optional<Stamp> StampOf(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return Stamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
}

std::string FolderOf(const std::string& path)
{
    std::string target;
    std::string error;
    return DirOf(ResolveLinks(path, target, error) ? target : path);
}

void RemoveStaleTemporaries(const std::string& path)
{
    std::string target;
    std::string error;
    if (!ResolveLinks(path, target, error))
        return;
    const std::string dir = DirOf(target);
    const std::string prefix = TemporaryPrefix(target);
    DIR* listing = ::opendir(dir.c_str());
    if (!listing)
        return;
    // readdir is safe on a stream of this call's own, as glibc keeps streams apart.
    while (const dirent* entry = ::readdir(listing)) { // NOLINT(concurrency-mt-unsafe)
        const std::string_view name = entry->d_name;
        if (!name.starts_with(prefix))
            continue;
        const std::string_view rest = name.substr(prefix.size());
        pid_t pid = 0;
        const auto parsed = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
        if (parsed.ec != std::errc() || pid <= 0 || parsed.ptr == rest.data() + rest.size()
            || *parsed.ptr != '-')
            continue;
        bool stale = false;
        if (pid == ::getpid())
            stale = !IsInProgress(Join(dir, name));
        else
            stale = ::kill(pid, 0) != 0 && errno == ESRCH;
        if (stale)
            ::unlinkat(::dirfd(listing), entry->d_name, 0);
    }
    ::closedir(listing);
}

std::string Printable(const std::string& text)
{
    std::string shown = text;
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            c = '?';
    }
    return shown;
}

} // namespace TextFile
