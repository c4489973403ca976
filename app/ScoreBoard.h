// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "persist/ScoreKeeper.h"
#include "persist/ScoreTable.h"

#include <QString>

#include <chrono>
#include <functional>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class Screen;

// The score's side of the main window: the table, saved and re-read on the keeper's thread,
// the last game of the run, and what the title and the records show of them.
// Its texts are the window's, and keep the window's name for the translations.
class ScoreBoard {
public:
    // kept is called on the keeper's thread after each of its jobs, once a save's problems
    // are reported; the table must outlive the board, and is the caller's again after Finish.
    ScoreBoard(ScoreTable& table, std::function<void()> kept);

    // Waits for the saves asked for so far; nothing more is saved.
    void Finish();
    // The last save and the wait for it, as ScoreKeeper's: Finish waits for it.
    void FinishWithASave(std::chrono::milliseconds patience) { keeper.FinishWithASave(patience); }
    bool WaitForEnd(std::chrono::milliseconds timeout) { return keeper.WaitForEnd(timeout); }
    // Re-reads the file, records of other copies included.
    void Refresh();
    bool IsSoundOn() const;
    // Kept at once, so that the next start is as silent.
    void SaveSound(bool on);
    // A lost game goes onto the title and into the table, which is saved at once with its
    // replay, if any. Returns its place in the records (0 the new best time), or -1 for none.
    int Record(double seconds, int score, std::shared_ptr<const Replay> replay = nullptr);
    // The replay of the row shown at place, as the keeper's last job found it; null for none.
    std::shared_ptr<const Replay> ReplayAt(int place) const;

    // The title's best time, the last game's line and the records with the last game marked.
    void ShowOn(Screen& screen) const;
    // The title's line for the last game lost, without the mark of a time not yet saved;
    // only once a game was recorded.
    QString LastGameLine() const;

private:
    // The last game lost in this run, as its line on the title tells it.
    struct LostGame {
        ScoreTable::Game game;
        bool newBest = false;
    };

    // On the keeper's thread after each job: the replays of the table's rows, read from their
    // files there so that the window never waits on one.
    void FindReplays(const ScoreTable& table);
    std::shared_ptr<const Replay> ReplayOf(double time, int score) const;

    // Before the keeper, whose thread fills them.
    mutable std::mutex replaysLock;
    std::vector<std::shared_ptr<const Replay>> rowReplays;
    ScoreKeeper keeper;
    std::optional<LostGame> lastGame;
    // The last game recorded in this run, marked on the records wherever it stands now.
    std::optional<ScoreTable::Game> lastRecorded;
};

// One line on errors when the table's last save failed (a lock given up on among the reasons),
// with the times and the choice of sound it leaves unsaved, kept to be saved again or, at the
// exit, lost.
void ReportTableProblems(const ScoreTable& table, std::ostream& errors, bool atExit);
