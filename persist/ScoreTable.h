// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "persist/TextFile.h"

#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class LockCutOff;
class SettingsFile;

// The persistent game record kept in "Setting.ini": five scores, five times (the first is the
// best time) and the Regist and PlayNum counters. Several processes may share the file: every
// save re-reads it under a lock on its folder, so that one never writes back a stale copy, and
// nothing is written without that lock. A game recorded here, and a choice of sound, is kept
// until a save has put it into the file; every save tries it again.
class ScoreTable {
public:
    static constexpr int Count = 5;
    // How long a save waits for the lock on the folder before it gives up, writing nothing. The
    // lock goes with its holder's death, so it is held this long only by a stopped or stalled
    // process.
    static constexpr std::chrono::milliseconds DefaultLockPatience{30'000};
    // No game lasts longer (a day and more) or hangs more weights: a place with a time or score
    // above these, below 0 or not a number at all is one no game made, and reads as empty.
    static constexpr double LargestTime = 99'999.9;
    static constexpr int LargestScore = 99'999;

    struct Game {
        double time = 0.0;
        int score = 0;
        friend bool operator==(const Game&, const Game&) = default;
    };

    // Reads the table and removes what killed saves left. Missing keys give 0 for scores and
    // times and leave Regist and PlayNum as they are; the places are tidied (see TidyPlaces).
    // False when the file exists but cannot be read (GetLastError says why); the table then
    // holds what it would hold without the file.
    bool Load();
    // Reads the table as it is on disk now, as Load does; false, and the table as it was, when
    // the file cannot be read. Costs one stat when the file is the one last read or saved. With
    // a game or a choice of sound still to be saved it saves instead (see Save), which reads the
    // file too.
    bool Refresh(const LockCutOff* cutOff = nullptr);
    // Writes back the table as it is on disk now (see Update) with every game and the choice of
    // sound still to be saved put into it: one write for all. Once it returns true they are in
    // the file.
    bool Save(const LockCutOff* cutOff = nullptr);
    // Records the game into the table (see Record) and keeps it to be saved; -1 when it beat none.
    int Remember(double time, int score);
    // Remembers the game and saves. Returns the place it took in the table as it is on disk now,
    // or -1; GetLastError() is empty when it was saved.
    int RecordAndSave(double time, int score);
    // Puts the player's choice of sound into the table and keeps it to be saved, as Remember
    // does a game.
    void ChooseSound(bool on);
    // Chooses the sound and saves.
    bool SaveSound(bool on);
    // Under an exclusive lock on the file's folder: reads the table as the file holds it now
    // (as Refresh), applies change to it, tidies the places and writes every value back,
    // keeping remarks. The table
    // holds the changed values afterwards, even when nothing was written; when the file cannot
    // be read, change applies to the table as it was. The file is left alone when it cannot be
    // read and when the lock is not had within lockPatience, or by the cut-off when one is
    // given. False unless every value was written.
    bool Update(const std::function<void(ScoreTable&)>& change, const LockCutOff* cutOff = nullptr);
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
    // The games recorded that are not in the file yet, oldest first.
    const std::vector<Game>& GetUnsaved() const { return unsaved; }
    // The choice of sound that is not in the file yet, if any.
    std::optional<bool> GetUnsavedSound() const { return unsavedSound; }

    std::array<int, Count> scores{};
    std::array<double, Count> times{};
    int regist = 0;
    int playNum = 1;
    std::chrono::milliseconds lockPatience = DefaultLockPatience;
    // [Sound] On: a file without the key means on.
    bool soundOn = true;
    // Called by Update once the file holds the table, before the folder's lock is let go;
    // lockHeld is whether that lock is held, as it is for every save that writes. For the
    // files kept beside the table.
    std::function<void(const ScoreTable& table, bool lockHeld)> afterSave;

private:
    bool ReadFrom(SettingsFile& file, const char* failure);
    bool WriteTo(SettingsFile& file);
    // Save, giving the place of the last game still to be saved, or -1.
    bool SaveUnsaved(int& lastPlace, const LockCutOff* cutOff);
    // Empties the places that no game makes, rounds every time to the tenth it is shown and
    // written as (as a game's own time is) and moves the empty places last, the others keeping
    // their order: the best time is never an empty place while a later one holds a game.
    void TidyPlaces();

    std::vector<Game> unsaved;
    std::optional<bool> unsavedSound;
    // The places as the file held them when last read or written: what a save whose read fails
    // puts the unsaved games into, so that none is counted twice.
    std::array<int, Count> fileScores{};
    std::array<double, Count> fileTimes{};
    std::string lastError;
    // The file held [Sound] On=0 or 1 when last read: only then, or once sound is off, is it written.
    bool soundKeyRead = false;
    // The version of the file that the table holds; empty when unknown.
    std::optional<TextFile::Stamp> readStamp;
};

extern ScoreTable theScoreTable;
