// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/Replay.h"
#include "model/ReplayPlayer.h"
#include "threads/GameThread.h"
#include "threads/WorkerThread.h"

#include <QCoreApplication>
#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

class GameScreen;

// Plays a row's recorded game again in the window's field, on a thread of its own in place of
// the game thread: a pass every GameThread::PassInterval divided by the pace, with the world's
// sounds. At the end it shows the record's own time and score, or, when the game departs from
// its record, says so and stops there; either way the records show again after the end display.
// It never reports a game to the window: a replay changes no table.
class ReplayThread : public WorkerThread {
    Q_DECLARE_TR_FUNCTIONS(ReplayThread)

public:
    static constexpr int MinPace = 1;
    static constexpr int MaxPace = 8;
    // Long enough to read the sentence that says the replay departed.
    static constexpr std::chrono::milliseconds DepartedDisplayDuration{5000};
    // On the replay's thread as the end display begins: Ended or Departed.
    using Ended = std::function<void(ReplayPlayer::State state)>;

    ReplayThread();
    ~ReplayThread() override;

    // On the window's thread while neither a game nor a replay runs: the play scene of the
    // replay of the record at place (0 the best) on the screen, which outlives the thread, and
    // the replay under way. False, with one line on standard error, when no thread can be made.
    bool Play(GameScreen& screen, std::shared_ptr<const Replay> replay, int place, Ended ended);
    // On the window's thread: ends the replay at once and puts its play scene away.
    void Stop();
    // Play without starting: the texts of the replay of the record at place.
    void Prepare(GameScreen& screen, std::shared_ptr<const Replay> replay, int place, Ended ended);
    // Any thread: the pace doubled (step 1) or halved (step -1) within MinPace and MaxPace.
    // Returns the pace now.
    int ChangePace(int step);
    int GetPace() const { return pace.load(); }

    // What a reader hears as a replay starts and as its pace changes, in the window's words.
    QString StartedText() const;
    static QString PaceText(int pace);
    QString EndText(ReplayPlayer::State state) const;
    // The status line at the replay's end: the record's own time and score.
    std::string EndLine() const;

    void Run() override;
    void OnPause() override;
    void OnResume() override;

private:
    std::string StatusLine(double seconds, int shownPace) const;
    void ShowEnd(ReplayPlayer::State state);
    void RepaintOwner(bool erase);

    GameScreen* screen = nullptr;
    std::shared_ptr<const Replay> replay;
    Ended ended;
    // Looked up on the window's thread by Prepare, read on the replay's.
    std::string label;
    std::string departedText;
    GameThread::PlayTimeText playTime;
    std::string scoreWords;
    std::atomic<int> pace{MinPace};
    // Used only on the replay's thread.
    std::chrono::steady_clock::time_point nextPass;
    std::string messageBeforePause;
};
