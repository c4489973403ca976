// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "persist/ScoreTable.h"

#include "persist/NumberText.h"
#include "persist/SettingsFile.h"

#include <algorithm>

ScoreTable theScoreTable;

namespace {

constexpr const char* ScoreSection = "Score";
constexpr const char* DataSection = "Data";

std::string ScoreKey(int index)
{
    return "Score" + std::to_string(index + 1);
}

std::string TimeKey(int index)
{
    return "Time" + std::to_string(index + 1);
}

} // namespace

bool ScoreTable::Load()
{
    lastError.clear();
    SettingsFile file;
    file.path = GetSettingsPath();
    file.RemoveStaleTemporaries();
    // One reading of the file, so that a save by another process between two values cannot
    // mix two versions of the table.
    if (!file.BeginBatch())
        lastError = file.GetLastError();
    std::string value;
    const auto read = [&](const char* section, const std::string& key) {
        const bool found = file.Read(section, key, value);
        if (lastError.empty())
            lastError = file.GetLastError();
        return found;
    };
    for (int i = 0; i < Count; ++i) {
        read(ScoreSection, ScoreKey(i));
        scores[i] = ParseInt(value);
    }
    for (int i = 0; i < Count; ++i) {
        read(ScoreSection, TimeKey(i));
        times[i] = ParseDouble(value);
    }
    if (read(DataSection, "Regist"))
        regist = ParseInt(value);
    if (read(DataSection, "PlayNum"))
        playNum = ParseInt(value);
    file.CommitBatch();
    return lastError.empty();
}

bool ScoreTable::Save()
{
    lastError.clear();
    SettingsFile file;
    file.path = GetSettingsPath();
    file.RemoveStaleTemporaries();
    // Every value reaches the file in one replacement: a save cut short leaves the old table
    // whole, never some values of each. Without a batch each write reports why it failed.
    file.BeginBatch();
    bool allWritten = true;
    const auto write = [&](const char* section, const std::string& key, const std::string& value) {
        if (file.Write(section, key, value, 1))
            return;
        allWritten = false;
        if (lastError.empty())
            lastError = file.GetLastError();
    };
    for (int i = 0; i < Count; ++i)
        write(ScoreSection, ScoreKey(i), FormatInt(scores[i]));
    for (int i = 0; i < Count; ++i)
        write(ScoreSection, TimeKey(i), FormatTime(times[i]));
    write(DataSection, "Regist", FormatInt(regist));
    write(DataSection, "PlayNum", FormatInt(playNum));
    if (!file.CommitBatch()) {
        allWritten = false;
        if (lastError.empty())
            lastError = file.GetLastError();
    }
    return allWritten;
}

int ScoreTable::Record(double time, int score)
{
    const auto beaten = std::find_if(times.begin(), times.end(), [time](double old) { return time > old; });
    if (beaten == times.end())
        return -1;
    const auto place = beaten - times.begin();
    std::copy_backward(beaten, times.end() - 1, times.end());
    *beaten = time;
    const auto scorePlace = scores.begin() + place;
    std::copy_backward(scorePlace, scores.end() - 1, scores.end());
    *scorePlace = score;
    return static_cast<int>(place);
}

double ScoreTable::GetTime(int index) const
{
    return index >= 0 && index < Count ? times[static_cast<std::size_t>(index)] : 0.0;
}

std::string ScoreTable::GetSettingsPath() const
{
    return SettingsFile::GetSettingsPath();
}
