// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/DisplayCheck.h"
#include "app/GameApp.h"
#include "app/Program.h"
#include "app/Translation.h"
#include "persist/ScoreTable.h"

#include <QApplication>

#include <cstdlib>
#include <iostream>
#include <memory>

int main(int argc, char* argv[])
{
    DisplayHold display;
    if (!RequireDisplay(argc, argv, display))
        return 1;
    const std::unique_ptr<QApplication> application = OpenApplication(argc, argv);
    // Qt's own connection is open now.
    display.reset();
    SetUpApplication(*application);
    UseDesktopLanguage();
    GameApp game(theScoreTable);
    // Read at start-up, before any thread that could change the environment.
    if (const char* seed = std::getenv("TOCKLET_SEED"); seed != nullptr) { // NOLINT(concurrency-mt-unsafe)
        if (const auto parsed = ParseSeed(seed))
            game.FixSeed(*parsed);
        else
            std::cerr << "tocklet: TOCKLET_SEED is not a number from 0 to 4294967295; the games are "
                         "seeded from the clock\n";
    }
    return game.InitInstance(std::cerr);
}
