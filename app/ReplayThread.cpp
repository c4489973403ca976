// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/ReplayThread.h"

#include "app/Translation.h"
#include "render/GameScreen.h"
#include "threads/OwnerWindow.h"

#include <algorithm>
#include <cstdio>
#include <system_error>
#include <thread>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

// A replay that falls this far behind its pace (a busy machine) plays on from now rather than
// racing through the passes it missed.
constexpr std::chrono::milliseconds MostBehind{50};

} // namespace

ReplayThread::ReplayThread() = default;

ReplayThread::~ReplayThread()
{
    StopAndJoin();
}

void ReplayThread::Prepare(GameScreen& screen, std::shared_ptr<const Replay> replay, int place, Ended ended)
{
    this->screen = &screen;
    this->replay = std::move(replay);
    this->ended = std::move(ended);
    label = tr("リプレイ %1位").arg(place + 1).toStdString();
    departedText = tr("このリプレイはこの版のゲームと合いません").toStdString();
    playTime = MakePlayTimeText();
    scoreWords = tr("スコア:%1").toStdString();
    pace.store(MinPace);
}

bool ReplayThread::Play(GameScreen& screen, std::shared_ptr<const Replay> replay, int place, Ended ended)
{
    StopAndJoin();
    screen.BeginReplay();
    Prepare(screen, std::move(replay), place, std::move(ended));
    screen.SetPlaying(true);
    try {
        Start();
    } catch (const std::system_error& error) {
        std::fprintf(stderr, "tocklet: the replay could not start: %s\n", error.what());
        screen.EndReplay();
        return false;
    }
    return true;
}

void ReplayThread::Stop()
{
    StopAndJoin();
    if (screen)
        screen->EndReplay();
}

int ReplayThread::ChangePace(int step)
{
    const int now = pace.load();
    const int next = std::clamp(step > 0 ? now * 2 : now / 2, MinPace, MaxPace);
    pace.store(next);
    return next;
}

QString ReplayThread::StartedText() const
{
    return tr("%1を再生　P:一時停止　→←:速さ　Esc:記録へ").arg(QString::fromStdString(label));
}

QString ReplayThread::PaceText(int shownPace)
{
    return tr("速さ×%1").arg(shownPace);
}

QString ReplayThread::EndText(ReplayPlayer::State state) const
{
    if (state == ReplayPlayer::State::Departed)
        return QString::fromStdString(departedText);
    return QStringLiteral("GameOver!! ") + QString::fromStdString(EndLine());
}

std::string ReplayThread::EndLine() const
{
    return playTime(replay->seconds) + "　"
           + QString::fromStdString(scoreWords).arg(replay->score).toStdString() + "　" + label;
}

void ReplayThread::Run()
{
    if (!screen || !replay)
        return;
    ReplayPlayer player(screen->GetWorld(), replay);
    SetMessageText("");
    ReplayPlayer::State state = player.Start();
    nextPass = Clock::now();
    while (state == ReplayPlayer::State::Playing) {
        state = player.Step();
        screen->SetReplayPointer(player.GetPointer());
        if (state != ReplayPlayer::State::Playing)
            break;
        const int shownPace = pace.load();
        screen->SetStatusText(StatusLine(player.GetSeconds(), shownPace));
        // A frame for as many passes as one pass's time holds at this pace.
        if (player.GetPass() % shownPace == 0)
            RepaintOwner(false);
        nextPass += std::chrono::duration_cast<Clock::duration>(GameThread::PassInterval) / shownPace;
        const Clock::time_point now = Clock::now();
        if (nextPass < now - MostBehind)
            nextPass = now;
        std::this_thread::sleep_until(nextPass);
        CheckPoint();
    }
    ShowEnd(state);
}

std::string ReplayThread::StatusLine(double seconds, int shownPace) const
{
    // The time where a game shows it, so that a replay's end reads as the game's did.
    std::string line = playTime(seconds) + "　" + label;
    if (shownPace > MinPace)
        line += " ×" + std::to_string(shownPace);
    return line;
}

void ReplayThread::ShowEnd(ReplayPlayer::State state)
{
    const bool asRecorded = state == ReplayPlayer::State::Ended;
    if (asRecorded) {
        screen->SetStatusText(EndLine());
        SetMessageText("GameOver!!");
    } else {
        screen->SetFieldNotice(departedText);
    }
    if (ended)
        ended(state);
    RepaintOwner(true);

    const auto deadline =
        Clock::now() + (asRecorded ? GameThread::EndDisplayDuration : DepartedDisplayDuration);
    while (Clock::now() < deadline) {
        std::this_thread::sleep_for(
            std::min<Clock::duration>(GameThread::PassInterval, deadline - Clock::now()));
        CheckPoint();
    }
    screen->EndReplay();
    SetMessageText("");
    RepaintOwner(true);
    if (OwnerWindow* window = GetOwner())
        window->ReturnedToTitle();
}

void ReplayThread::OnPause()
{
    messageBeforePause = GetMessageText();
    SetMessageText(GameThread::PauseText);
    RepaintOwner(false);
}

void ReplayThread::OnResume()
{
    SetMessageText(std::move(messageBeforePause));
    messageBeforePause.clear();
    nextPass = Clock::now();
    RepaintOwner(false);
}

void ReplayThread::RepaintOwner(bool erase)
{
    if (OwnerWindow* window = GetOwner())
        window->RequestRepaint(erase);
}
