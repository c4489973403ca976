// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/GameApp.h"

#include "app/MainDialog.h"
#include "app/QuitWatcher.h"
#include "app/ScoreBoard.h"
#include "app/SoundOutput.h"
#include "persist/ScoreTable.h"

#include <charconv>
#include <ostream>

GameApp::GameApp(ScoreTable& scoreTable)
    : table(scoreTable)
{
}

int GameApp::InitInstance(std::ostream& errors)
{
    // From before the load on, a signal ends the program as Exit does, saving the table.
    const QuitWatcher quitWatcher;
    table.Load();
    // Opened once, before the window: the first release is heard.
    SoundOutput sound;
    {
        MainDialog dialog(table);
        dialog.SetSound(&sound.GetMixer());
        if (fixedSeed)
            dialog.GetGameScreen().GetWorld().FixSeed(*fixedSeed);
        QObject::connect(&quitWatcher, &QuitWatcher::QuitRequested, &dialog, &MainDialog::OnQuitRequest);
        dialog.exec();
        dialog.FinishSaves();
        // What is on disk now, never the copy read at start: another copy may have saved since.
        table.Save();
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
