// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "persist/ReplayShelf.h"

#include "persist/NumberText.h"
#include "persist/ReplayFile.h"
#include "persist/ScoreTable.h"
#include "persist/SettingsFile.h"
#include "persist/TextFile.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::string_view Prefix = "Tocklet-replay-";
constexpr std::string_view Suffix = ".txt";
constexpr std::string_view TemporaryMark = ".tmp-";

std::string NameOf(double time, int score)
{
    return std::string(Prefix) + FormatTime(time) + "-" + std::to_string(score) + std::string(Suffix);
}

std::string FolderOfSettings()
{
    const std::string settings = SettingsFile::GetSettingsPath();
    return settings.empty() ? std::string() : TextFile::FolderOf(settings);
}

bool IsRow(double time, int score)
{
    return time > 0.0 || score > 0;
}

} // namespace

ReplayShelf::ReplayShelf(std::ostream& reportStream)
    : report(reportStream)
{
}

void ReplayShelf::Keep(std::shared_ptr<const Replay> replay)
{
    if (!replay)
        return;
    const std::lock_guard<std::mutex> guard(lock);
    held.push_back(std::move(replay));
}

std::size_t ReplayShelf::GetHeldCount() const
{
    const std::lock_guard<std::mutex> guard(lock);
    return held.size();
}

std::string ReplayShelf::PathOf(double time, int score)
{
    const std::string folder = FolderOfSettings();
    return folder.empty() ? std::string() : folder + "/" + NameOf(time, score);
}

bool ReplayShelf::IsReplayName(const std::string& name)
{
    return name.starts_with(Prefix) && name.ends_with(Suffix) && name.size() > Prefix.size() + Suffix.size();
}

void ReplayShelf::Saved(const ScoreTable& table, bool lockHeld)
{
    const std::string folder = FolderOfSettings();
    if (folder.empty())
        return;
    std::set<std::string> rows;
    for (int i = 0; i < ScoreTable::Count; ++i) {
        if (IsRow(table.times[i], table.scores[i]))
            rows.insert(NameOf(table.times[i], table.scores[i]));
    }
    const std::lock_guard<std::mutex> guard(lock);
    std::vector<std::shared_ptr<const Replay>> unwritten;
    for (const std::shared_ptr<const Replay>& replay : held) {
        const std::string name = NameOf(replay->seconds, replay->score);
        // A game that has left the five, or never entered them, has no row to keep a replay for.
        if (!rows.contains(name))
            continue;
        std::string path = folder;
        path += "/";
        path += name;
        std::string error;
        if (!ReplayFile::Save(path, *replay, error)) {
            Report(path, "not saved: " + error);
            unwritten.push_back(replay);
        }
    }
    held = std::move(unwritten);
    // Without the lock another copy may be writing the replay of a row this table does not have yet.
    if (lockHeld)
        RemoveLeftOver(folder, rows);
}

void ReplayShelf::RemoveLeftOver(const std::string& folder, const std::set<std::string>& kept)
{
    DIR* listing = ::opendir(folder.c_str());
    if (!listing)
        return;
    std::vector<std::string> temporaryTargets;
    // readdir is safe on a stream of this call's own, as glibc keeps streams apart.
    while (const dirent* entry = ::readdir(listing)) { // NOLINT(concurrency-mt-unsafe)
        const std::string name = entry->d_name;
        // ".<name>.tmp-<pid>-..." is what a killed save of <name> left.
        const std::size_t mark = name.find(TemporaryMark);
        if (name.starts_with('.') && mark != std::string::npos && IsReplayName(name.substr(1, mark - 1))) {
            temporaryTargets.push_back(folder + "/" + name.substr(1, mark - 1));
            continue;
        }
        if (!IsReplayName(name) || kept.contains(name))
            continue;
        // Only a plain file of ours goes: a directory or a link in its place is left alone.
        struct stat st {};
        if (::fstatat(::dirfd(listing), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            ::unlinkat(::dirfd(listing), entry->d_name, 0);
    }
    ::closedir(listing);
    for (const std::string& target : temporaryTargets)
        TextFile::RemoveStaleTemporaries(target);
}

std::shared_ptr<const Replay> ReplayShelf::Find(double time, int score)
{
    if (!IsRow(time, score))
        return nullptr;
    {
        const std::lock_guard<std::mutex> guard(lock);
        const auto found =
            std::find_if(held.begin(), held.end(), [&](const std::shared_ptr<const Replay>& replay) {
                return replay->seconds == time && replay->score == score;
            });
        if (found != held.end())
            return *found;
    }
    const std::string path = PathOf(time, score);
    if (path.empty())
        return nullptr;
    auto replay = std::make_shared<Replay>();
    std::string error;
    switch (ReplayFile::Load(path, *replay, error)) {
    case ReplayFile::LoadResult::Missing: return nullptr;
    case ReplayFile::LoadResult::Failed: {
        const std::lock_guard<std::mutex> guard(lock);
        Report(path, "no replay shown: " + error);
        return nullptr;
    }
    case ReplayFile::LoadResult::Loaded: break;
    }
    if (replay->seconds != time || replay->score != score) {
        const std::lock_guard<std::mutex> guard(lock);
        Report(path, "no replay shown: it records another game (" + FormatTime(replay->seconds) + " s, score "
                         + std::to_string(replay->score) + ")");
        return nullptr;
    }
    return replay;
}

void ReplayShelf::Report(const std::string& path, const std::string& why)
{
    if (reported.insert(path).second)
        report << "tocklet: " << TextFile::Printable(path) << ": " << why << "\n" << std::flush;
}
