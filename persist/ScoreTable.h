// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "persist/TextFile.h"

#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

class SettingsFile;

// The persistent game record kept in "Setting.ini": five scores, five times (the first is the
// best time) and the Regist and PlayNum counters. Several processes may share the file: every
// save re-reads it under a lock on its folder, so that one never writes back a stale copy.
class ScoreTable {
public:
    static constexpr int Count = 5;
    // How long a save waits for another process's save in the same folder before going on.
    static constexpr std::chrono::seconds LockPatience{2};

    // Reads the table and removes what killed saves left. Missing keys give 0 for scores and
    // times and leave Regist and PlayNum as they are. False when the file exists but cannot be
    // read (GetLastError says why); the table then holds what it would hold without the file.
    bool Load();
    // Reads the table as it is on disk now, as Load does; false, and the table as it was, when
    // the file cannot be read. Costs one stat when the file is the one last read or saved.
    bool Refresh();
    // Writes back the table as it is on disk now (see Update), with nothing added.
    bool Save();
    // Records one game (see Record) into the table as it is on disk now and saves it (see
    // Update). Returns the place it took, or -1; GetLastError() is empty when it was saved.
    int RecordAndSave(double time, int score);
    // Under an exclusive lock on the file's folder: reads the table as the file holds it now
    // (as Refresh), applies change to it and writes every value back, keeping remarks. The table
    // holds the changed values afterwards, even when the write failed; when the file cannot be
    // read, change applies to the table as it was and the file is left alone. A lock not had
    // within LockPatience is given up on: the save goes on, and GetLockWarning says so. False
    // unless every value was written.
    bool Update(const std::function<void(ScoreTable&)>& change);
    // Puts one game into the table: its time goes just before the first of the five times that it
    // beats (a longer time is better), the times from there on move one place down and the fifth
    // drops out; its score moves with it, so that scores[i] and times[i] always describe one game.
    // Nothing else is sorted. Returns the place it took (0 to Count - 1), or -1 when it beat none.
    int Record(double time, int score);
    // 0 <= index < Count; 0.0 outside.
    double GetTime(int index) const;
    std::string GetSettingsPath() const;
    // After a failed read or save: one line naming the file and the reason of the first failure.
    const std::string& GetLastError() const { return lastError; }
    // After a save that went on without the folder's lock: one line naming the file and why.
    const std::string& GetLockWarning() const { return lockWarning; }

    std::array<int, Count> scores{};
    std::array<double, Count> times{};
    int regist = 0;
    int playNum = 1;

private:
    bool ReadFrom(SettingsFile& file, const char* failure);
    bool WriteTo(SettingsFile& file);

    std::string lastError;
    std::string lockWarning;
    // The version of the file that the table holds; empty when unknown.
    std::optional<TextFile::Stamp> readStamp;
};

extern ScoreTable theScoreTable;
