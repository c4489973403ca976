// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "persist/ScoreTable.h"

#include "base/SecondsText.h"
#include "persist/FolderLock.h"
#include "persist/NumberText.h"
#include "persist/SettingsFile.h"
#include "persist/TextFile.h"

#include <algorithm>
#include <optional>

ScoreTable theScoreTable;

namespace {

constexpr const char* ScoreSection = "Score";
constexpr const char* DataSection = "Data";
constexpr const char* SoundSection = "Sound";
constexpr const char* SoundKey = "On";

std::string ScoreKey(int index)
{
    return "Score" + std::to_string(index + 1);
}

std::string TimeKey(int index)
{
    return "Time" + std::to_string(index + 1);
}

// [Sound] On: 0 or 1, maybe with white space and a remark; anything else is not understood.
std::optional<bool> ParseSoundOn(const std::string& text)
{
    const std::string value = text.substr(0, text.find(';'));
    const std::size_t first = value.find_first_not_of(" \t");
    const std::size_t last = value.find_last_not_of(" \t");
    if (first == std::string::npos || first != last || (value[first] != '0' && value[first] != '1'))
        return std::nullopt;
    return value[first] == '1';
}

} // namespace

bool ScoreTable::Load()
{
    SettingsFile file;
    file.path = GetSettingsPath();
    file.RemoveStaleTemporaries();
    // Taken before the reading: a change in between makes the next Refresh read once more.
    readStamp = TextFile::StampOf(file.path);
    if (ReadFrom(file, "cannot be read"))
        return true;
    readStamp.reset();
    scores.fill(0);
    times.fill(0.0);
    fileScores = scores;
    fileTimes = times;
    return false;
}

bool ScoreTable::Refresh(const LockCutOff* cutOff)
{
    if (!unsaved.empty() || unsavedSound)
        return Save(cutOff);
    lastError.clear();
    SettingsFile file;
    file.path = GetSettingsPath();
    const std::optional<TextFile::Stamp> stamp = TextFile::StampOf(file.path);
    if (stamp && stamp == readStamp)
        return true;
    if (!ReadFrom(file, "cannot be read"))
        return false;
    readStamp = stamp;
    return true;
}

bool ScoreTable::Save(const LockCutOff* cutOff)
{
    int lastPlace = -1;
    return SaveUnsaved(lastPlace, cutOff);
}

int ScoreTable::Remember(double time, int score)
{
    const int place = Record(time, score);
    // A game that beat none of the five changes nothing to save.
    if (place >= 0)
        unsaved.push_back(Game{time, score});
    return place;
}

void ScoreTable::ChooseSound(bool on)
{
    soundOn = on;
    unsavedSound = on;
}

bool ScoreTable::SaveSound(bool on)
{
    ChooseSound(on);
    return Save();
}

int ScoreTable::RecordAndSave(double time, int score)
{
    const bool kept = Remember(time, score) >= 0;
    int lastPlace = -1;
    SaveUnsaved(lastPlace, nullptr);
    return kept ? lastPlace : -1;
}

bool ScoreTable::SaveUnsaved(int& lastPlace, const LockCutOff* cutOff)
{
    lastPlace = -1;
    const bool saved = Update(
        [&](ScoreTable& table) {
            for (const Game& game : unsaved)
                lastPlace = table.Record(game.time, game.score);
            if (unsavedSound)
                table.soundOn = *unsavedSound;
        },
        cutOff);
    if (saved) {
        unsaved.clear();
        unsavedSound.reset();
    }
    return saved;
}

bool ScoreTable::Update(const std::function<void(ScoreTable&)>& change, const LockCutOff* cutOff)
{
    SettingsFile file;
    file.path = GetSettingsPath();
    std::optional<FolderLock> lock;
    if (!file.path.empty())
        lock.emplace(TextFile::FolderOf(file.path), lockPatience, cutOff);
    // A save without the lock could be overwritten by the holder's older copy, and nobody would
    // know. A missing folder is nothing to share: the write fails on its own.
    const bool locked = !lock || lock->IsHeld() || lock->IsMissing();
    file.RemoveStaleTemporaries();
    // A file that exists but cannot be read is kept: a table made without it would wipe it.
    const bool read = ReadFrom(file, "not saved: cannot be read");
    if (!read) {
        scores = fileScores;
        times = fileTimes;
    }
    if (!locked)
        lastError = TextFile::Printable(file.path) + ": not saved: " + lock->GetError();
    if (change)
        change(*this);
    TidyPlaces();
    const bool saved = read && locked && WriteTo(file);
    if (saved && afterSave)
        afterSave(*this, lock && lock->IsHeld());
    if (saved) {
        fileScores = scores;
        fileTimes = times;
    }
    // Under the lock nobody else has replaced the file since: it holds this table.
    readStamp.reset();
    if (saved && lock && lock->IsHeld())
        readStamp = TextFile::StampOf(file.path);
    return saved;
}

// One reading of the file, so that a save by another process between two values cannot mix two
// versions of the table. The batch stays open for a write.
bool ScoreTable::ReadFrom(SettingsFile& file, const char* failure)
{
    lastError.clear();
    if (!file.BeginBatch(failure)) {
        lastError = file.GetLastError();
        return false;
    }
    std::string value;
    for (int i = 0; i < Count; ++i) {
        file.Read(ScoreSection, ScoreKey(i), value);
        scores[i] = ParseInt(value);
    }
    for (int i = 0; i < Count; ++i) {
        file.Read(ScoreSection, TimeKey(i), value);
        times[i] = ParseDouble(value);
    }
    if (file.Read(DataSection, "Regist", value))
        regist = ParseInt(value);
    if (file.Read(DataSection, "PlayNum", value))
        playNum = ParseInt(value);
    TidyPlaces();
    fileScores = scores;
    fileTimes = times;
    // A value not understood counts as no key: on, and left as it is until the player chooses.
    const std::optional<bool> sound =
        file.Read(SoundSection, SoundKey, value) ? ParseSoundOn(value) : std::nullopt;
    soundKeyRead = sound.has_value();
    soundOn = sound.value_or(true);
    return true;
}

// Such values would be drawn across the title and the records, and a time kept to more digits
// than are shown would be written back as a number of hundreds of characters.
void ScoreTable::TidyPlaces()
{
    std::array<Game, Count> places{};
    std::size_t kept = 0;
    for (std::size_t i = 0; i < Count; ++i) {
        const double time = times[i];
        const int score = scores[i];
        // Written so that a NaN fails it too.
        const bool gameTime = time >= 0.0 && time <= LargestTime;
        if (!gameTime || score < 0 || score > LargestScore)
            continue;
        const double shown = ShownSeconds(time);
        if (shown > 0.0)
            places[kept++] = Game{shown, score};
    }
    for (std::size_t i = 0; i < Count; ++i) {
        times[i] = places[i].time;
        scores[i] = places[i].score;
    }
}

// Every value reaches the file in one replacement, when the batch is committed: a save cut short
// leaves the old table whole, never some values of each.
bool ScoreTable::WriteTo(SettingsFile& file)
{
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
    if (soundKeyRead || !soundOn)
        write(SoundSection, SoundKey, soundOn ? "1" : "0");
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
