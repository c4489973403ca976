// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/Replay.h"

#include <iostream>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

class ScoreTable;

// The replays of the table's rows, one file for each beside "Setting.ini", named after the
// row's time and score. A row has a replay only when the file's own time and score are the
// row's, so a table merged by another copy or edited by hand never shows another game. A
// record's replay is held here until a save has put the record into the file. Every operation
// may be called from any thread.
class ReplayShelf {
public:
    // Where a file that cannot be shown is reported, in one line, once for each file.
    explicit ReplayShelf(std::ostream& report = std::cerr);

    // Holds the replay of a game the table remembered until a save puts the game in the file.
    void Keep(std::shared_ptr<const Replay> replay);
    // After a save, with the folder's lock held when lockHeld is: writes each replay held whose
    // game is in the table now and lets go of those whose game is not; with the lock, also
    // removes the replay files of games the table no longer holds. A replay whose write failed
    // is held for the next save.
    void Saved(const ScoreTable& table, bool lockHeld);
    // The replay of a row, held or in its file; null when there is none that is the row's.
    std::shared_ptr<const Replay> Find(double time, int score);
    std::size_t GetHeldCount() const;

    // The file of a row's replay in the folder of "Setting.ini"; empty without a working directory.
    static std::string PathOf(double time, int score);
    static bool IsReplayName(const std::string& name);

private:
    // With the lock held.
    void Report(const std::string& path, const std::string& why);
    void RemoveLeftOver(const std::string& folder, const std::set<std::string>& kept);

    std::ostream& report;
    mutable std::mutex lock;
    std::vector<std::shared_ptr<const Replay>> held;
    std::set<std::string> reported;
};
