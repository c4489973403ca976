// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "persist/ScoreKeeper.h"

#include <system_error>
#include <utility>

ScoreKeeper::ScoreKeeper(ScoreTable& keptTable, Done doneCallback)
    : table(keptTable)
    , done(std::move(doneCallback))
    , view(keptTable)
{
    table.afterSave = [this](const ScoreTable& saved, bool lockHeld) { replays.Saved(saved, lockHeld); };
    try {
        thread = std::thread(&ScoreKeeper::Work, this);
    } catch (const std::system_error&) {
        // Without a thread of its own the keeper does each job as it is asked for.
    }
}

ScoreKeeper::~ScoreKeeper()
{
    Finish();
}

ScoreTable ScoreKeeper::GetView() const
{
    const std::lock_guard<std::mutex> guard(lock);
    return view;
}

int ScoreKeeper::Record(double time, int score, std::shared_ptr<const Replay> replay)
{
    int place = -1;
    {
        const std::lock_guard<std::mutex> guard(lock);
        if (finishing)
            return -1;
        place = view.Remember(time, score);
        games.push_back(ScoreTable::Game{time, score});
        if (place >= 0)
            replays.Keep(std::move(replay));
    }
    Wake();
    return place;
}

void ScoreKeeper::Refresh()
{
    {
        const std::lock_guard<std::mutex> guard(lock);
        if (finishing)
            return;
        refreshWanted = true;
    }
    Wake();
}

void ScoreKeeper::SaveSound(bool on)
{
    {
        const std::lock_guard<std::mutex> guard(lock);
        if (finishing)
            return;
        view.ChooseSound(on);
        soundWanted = on;
    }
    Wake();
}

void ScoreKeeper::Wake()
{
    if (thread.joinable()) {
        wake.notify_one();
        return;
    }
    std::unique_lock<std::mutex> guard(lock);
    DoQueuedJobs(guard);
}

void ScoreKeeper::FinishWithASave(std::chrono::milliseconds patience)
{
    cutOff.BringNearer(LockCutOff::Clock::now() + patience);
    {
        const std::lock_guard<std::mutex> guard(lock);
        if (finishing)
            return;
        finishing = true;
        lastSaveWanted = true;
        callDone = false;
    }
    Wake();
}

bool ScoreKeeper::WaitForEnd(std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> guard(lock);
    return !thread.joinable() || ended.wait_for(guard, timeout, [this] { return threadEnded; });
}

void ScoreKeeper::Finish()
{
    {
        const std::lock_guard<std::mutex> guard(lock);
        finishing = true;
    }
    wake.notify_one();
    if (thread.joinable())
        thread.join();
    table.afterSave = nullptr;
}

void ScoreKeeper::Work()
{
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        wake.wait(guard, [this] { return HasJobs() || finishing; });
        if (!HasJobs())
            break;
        DoQueuedJobs(guard);
    }
    threadEnded = true;
    ended.notify_all();
}

void ScoreKeeper::DoQueuedJobs(std::unique_lock<std::mutex>& guard)
{
    const std::vector<ScoreTable::Game> taken = std::exchange(games, {});
    const std::optional<bool> sound = std::exchange(soundWanted, std::nullopt);
    const bool last = std::exchange(lastSaveWanted, false);
    refreshWanted = false;
    guard.unlock();
    for (const ScoreTable::Game& game : taken)
        table.Remember(game.time, game.score);
    if (sound)
        table.ChooseSound(*sound);
    // Saves, once for all, when something waits to be saved, from this job or from an earlier
    // one that failed.
    const bool saving = last || !table.GetUnsaved().empty() || table.GetUnsavedSound();
    if (last)
        table.Save(&cutOff);
    else
        table.Refresh(&cutOff);
    guard.lock();
    // What was asked for meanwhile is shown already and is not in the table yet: the view keeps
    // it on top of the table until the next job takes it.
    view = table;
    for (const ScoreTable::Game& game : games)
        view.Remember(game.time, game.score);
    if (soundWanted)
        view.ChooseSound(*soundWanted);
    const bool report = callDone;
    guard.unlock();
    if (done && report)
        done(table, saving);
    guard.lock();
}
