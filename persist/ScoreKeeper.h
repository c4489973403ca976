// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "persist/FolderLock.h"
#include "persist/ReplayShelf.h"
#include "persist/ScoreTable.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Saves and re-reads the score table on a thread of its own, so that a save that waits for
// another copy's lock or a slow disk never holds up the window. The window records games and
// asks for re-reads here and shows copies of the table; the table itself belongs to the keeper's
// thread from construction until Finish. Jobs asked for while one runs are done together next.
class ScoreKeeper {
public:
    // Called on the keeper's thread after each job, with the table as the job left it; saved
    // tells a save (a game was to be put in) from a re-read. Not called once FinishWithASave
    // was asked for: its caller reads the table after Finish.
    using Done = std::function<void(const ScoreTable& table, bool saved)>;

    ScoreKeeper(ScoreTable& table, Done done);
    ~ScoreKeeper();
    ScoreKeeper(const ScoreKeeper&) = delete;
    ScoreKeeper& operator=(const ScoreKeeper&) = delete;

    // The table as the last job left it, with every game and choice asked for since put in;
    // any thread.
    ScoreTable GetView() const;
    // Puts the game into the view at once and into the file by a save on the keeper's thread.
    // Returns the place it took in the view, or -1. A game that took a place keeps its replay
    // (its time and score the game's), written beside the file by the save that puts it in.
    int Record(double time, int score, std::shared_ptr<const Replay> replay = nullptr);
    // Re-reads the file, or saves when games are still to be saved.
    void Refresh();
    // Puts the choice of sound into the view at once and into the file by a save.
    void SaveSound(bool on);
    // Takes nothing more, and asks for a last save after the jobs asked for so far: the table as
    // it is on disk then, with every game and choice not yet saved put in. Every wait for the
    // folder's lock from now on, the one in flight included, ends within patience; a later call
    // can only bring that end nearer. Returns at once; Finish waits for the save.
    void FinishWithASave(std::chrono::milliseconds patience);
    // Waits up to timeout for the keeper's thread to end, which it does once it is finishing
    // and has done its last job. True when it has ended or there is none.
    bool WaitForEnd(std::chrono::milliseconds timeout);
    // Does what was asked for so far and ends the keeper's thread; the table is the caller's
    // again. Nothing asked for afterwards is done.
    void Finish();
    // The replays of the table's rows.
    ReplayShelf& GetReplays() { return replays; }

private:
    void Work();
    // Has the keeper's thread do what is queued, or does it here when there is no such thread.
    void Wake();
    // Takes the queue, whose lock guard holds, and does its jobs without the lock.
    void DoQueuedJobs(std::unique_lock<std::mutex>& guard);
    bool HasJobs() const { return refreshWanted || !games.empty() || soundWanted || lastSaveWanted; }

    ScoreTable& table;
    Done done;
    ReplayShelf replays;
    mutable std::mutex lock;
    std::condition_variable wake;
    std::condition_variable ended;
    ScoreTable view;
    std::vector<ScoreTable::Game> games;
    bool refreshWanted = false;
    std::optional<bool> soundWanted;
    bool lastSaveWanted = false;
    bool finishing = false;
    bool callDone = true;
    bool threadEnded = false;
    LockCutOff cutOff;
    std::thread thread;
};
