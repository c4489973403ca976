// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <iosfwd>

class ScoreTable;

// The program's course: load the score table, run the main window modally, save the table.
class GameApp {
public:
    explicit GameApp(ScoreTable& table);

    // Needs a QApplication. Returns the process's exit status: 0, also when the save failed,
    // which is reported as one line on errors.
    int InitInstance(std::ostream& errors);

private:
    ScoreTable& table;
};
