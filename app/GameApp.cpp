// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/GameApp.h"

#include "app/MainDialog.h"
#include "app/QuitWatcher.h"
#include "app/ScoreBoard.h"
#include "app/SoundOutput.h"
#include "persist/ScoreTable.h"

#include <charconv>
#include <chrono>
#include <ostream>

namespace {

// At most this long the program waits at its end for another copy's lock on the folder: a
// player who pressed Exit can wait; a session that is ending sends a signal and soon kills.
constexpr std::chrono::milliseconds ExitPatience = ScoreTable::DefaultLockPatience;
constexpr std::chrono::milliseconds SignalPatience{5'000};
// How soon a signal that comes while the last save waits cuts that wait short.
constexpr std::chrono::milliseconds SignalPoll{20};

// The last save: what is on disk now, never the copy read at start, as another copy may have
// saved since. One wait for the lock for everything still to do, which a signal shortens.
void SaveLast(ScoreBoard& board, QuitWatcher& quitWatcher)
{
    board.FinishWithASave(ExitPatience);
    while (!board.WaitForEnd(SignalPoll)) {
        if (quitWatcher.TakeSignal())
            board.FinishWithASave(SignalPatience);
    }
    board.Finish();
}

} // namespace

GameApp::GameApp(ScoreTable& scoreTable)
    : table(scoreTable)
{
}

int GameApp::InitInstance(std::ostream& errors)
{
    // From before the load on, a signal ends the program as Exit does, saving the table.
    QuitWatcher quitWatcher;
    table.Load();
    // Made before the window, so that its thread finds the sound server while the window opens.
    SoundOutput sound;
    {
        MainDialog dialog(table);
        dialog.SetSound(&sound.GetMixer());
        if (fixedSeed)
            dialog.GetGameScreen().GetWorld().FixSeed(*fixedSeed);
        // The wait for the lock counts from the request, not from the window's close after it.
        QObject::connect(&quitWatcher, &QuitWatcher::QuitRequested, &dialog,
                         [&dialog] { dialog.GetScoreBoard().FinishWithASave(SignalPatience); });
        QObject::connect(&quitWatcher, &QuitWatcher::QuitRequested, &dialog, &MainDialog::OnQuitRequest);
        dialog.exec();
        SaveLast(dialog.GetScoreBoard(), quitWatcher);
        ReportTableProblems(table, errors, true);
    }
    return 0;
}

std::optional<std::uint32_t> ParseSeed(std::string_view text)
{
    std::uint32_t seed = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, seed);
    if (text.empty() || text.front() == '-' || error != std::errc() || stop != end)
        return std::nullopt;
    return seed;
}
