// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <array>
#include <string>

// The persistent game record kept in "Setting.ini": five scores, five times (the first is the
// best time) and the Regist and PlayNum counters. Loaded at start-up and saved at exit.
class ScoreTable {
public:
    static constexpr int Count = 5;

    virtual ~ScoreTable() = default;

    // Missing keys give 0 for scores and times and leave Regist and PlayNum as they are.
    // False when the file exists but cannot be read (GetLastError says why); the table then
    // holds what it would hold without the file.
    bool Load();
    // Writes every value back, keeping remarks after a ';'. False unless every value was written.
    bool Save();
    // Puts one game into the table: its time goes just before the first of the five times that it
    // beats (a longer time is better), the times from there on move one place down and the fifth
    // drops out; its score moves with it, so that scores[i] and times[i] always describe one game.
    // Nothing else is sorted. Returns the place it took (0 to Count - 1), or -1 when it beat none.
    int Record(double time, int score);
    // 0 <= index < Count; 0.0 outside.
    double GetTime(int index) const;
    std::string GetSettingsPath() const;
    // After a failed Load or Save: one line naming the file and the reason of the first failure.
    const std::string& GetLastError() const { return lastError; }

    std::array<int, Count> scores{};
    std::array<double, Count> times{};
    int regist = 0;
    int playNum = 1;

private:
    std::string lastError;
};

extern ScoreTable theScoreTable;
