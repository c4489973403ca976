// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/DisplayCheck.h"
#include "app/GameApp.h"
#include "app/Program.h"
#include "persist/ScoreTable.h"

#include <QApplication>

#include <iostream>

int main(int argc, char* argv[])
{
    if (!RequireDisplay(argc, argv))
        return 1;
    QApplication application(argc, argv);
    SetUpApplication(application);
    GameApp game(theScoreTable);
    return game.InitInstance(std::cerr);
}
