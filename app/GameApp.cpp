// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/GameApp.h"

#include "app/MainDialog.h"
#include "persist/ScoreTable.h"

#include <ostream>

GameApp::GameApp(ScoreTable& scoreTable)
    : table(scoreTable)
{
}

int GameApp::InitInstance(std::ostream& errors)
{
    table.Load();
    {
        MainDialog dialog;
        dialog.exec();
        if (!table.Save())
            errors << "tocklet: " << table.GetLastError() << '\n';
    }
    return 0;
}
