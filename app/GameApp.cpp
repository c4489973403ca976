// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/GameApp.h"

#include "app/MainDialog.h"
#include "app/QuitWatcher.h"
#include "persist/ScoreTable.h"

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
    {
        MainDialog dialog;
        QObject::connect(&quitWatcher, &QuitWatcher::QuitRequested, &dialog, &MainDialog::OnQuitRequest);
        dialog.exec();
        if (!table.Save())
            errors << "tocklet: " << table.GetLastError() << '\n';
    }
    return 0;
}
