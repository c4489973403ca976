// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Whole-file reading and replacing of small text files. A replacement never leaves the file
// half written: the new text goes into a temporary file in the same directory, is flushed to
// disk and renamed over the old file. Errors come back as a short reason without the path.
namespace TextFile {

// Larger files are refused rather than read into memory.
constexpr std::size_t MaxSize = std::size_t{128} << 20;

enum class LoadResult { Loaded, Missing, Failed };

// Never blocks: a FIFO, a device or a directory is refused without being read.
LoadResult Load(const std::string& path, std::string& text, std::string& error);

// A symbolic link stays and the file it leads to is replaced. A file without any write
// permission bit counts as read-only even for root. The old file's permissions and, where the
// process may set it, its owner are kept. On failure the old file is as it was and no temporary
// file is left.
bool Replace(const std::string& path, const std::string& text, std::string& error);

// Tells one version of a file from another: a replacement makes a new file, and an edit in place
// changes its size or its modification time.
struct Stamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    bool operator==(const Stamp&) const = default;
};

// The stamp of the file that path leads to; empty when there is none or it cannot be examined.
std::optional<Stamp> StampOf(const std::string& path);

// The directory in which Replace renames the file: that of the file its symbolic links lead to.
std::string FolderOf(const std::string& path);

// Removes temporary files beside path that a replacement left when its process was killed.
void RemoveStaleTemporaries(const std::string& path);

// The text with control characters shown as '?', so that a message stays on one line.
std::string Printable(const std::string& text);

} // namespace TextFile
