// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/Replay.h"

#include <cstddef>
#include <string>
#include <string_view>

// A replay as a small text file: a first line naming the format and its version, the game's
// seed, rule, time, score and end, the passes of its swallows, then one line for each input
// (a carried weight's moves on consecutive passes share one), and a closing line that tells a
// whole file from a cut one. Passes and points are written as steps from the ones before.
namespace ReplayFile {

constexpr std::string_view Magic = "tocklet-replay";
constexpr int Version = 1;
// Larger files are refused unread; a replay that would be larger is not written.
constexpr std::size_t MaxSize = std::size_t{4} << 20;

std::string Format(const Replay& replay);
// False, with the reason in a few words, for anything Format would not have written: the
// replay is then as it was.
bool Parse(std::string_view text, Replay& replay, std::string& error);

enum class LoadResult { Loaded, Missing, Failed };
// Never blocks or follows a link that leads nowhere; a directory, a device or a file over
// MaxSize is refused unread.
LoadResult Load(const std::string& path, Replay& replay, std::string& error);
// Replaces the file at once (TextFile::Replace): a killed save leaves the old file or the new.
bool Save(const std::string& path, const Replay& replay, std::string& error);

} // namespace ReplayFile
