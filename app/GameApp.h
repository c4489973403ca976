// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string_view>

class ScoreTable;

// The program's course: load the score table, run the main window modally, save the table.
class GameApp {
public:
    explicit GameApp(ScoreTable& table);

    // Every game of the run starts from this seed, so that a game can be played again.
    void FixSeed(std::uint32_t seed) { fixedSeed = seed; }

    // Needs a QApplication. Returns the process's exit status: 0, also when the save failed,
    // which is reported as one line on errors.
    int InitInstance(std::ostream& errors);

private:
    ScoreTable& table;
    std::optional<std::uint32_t> fixedSeed;
};

// A seed as a player writes it: decimal digits for a number from 0 to 4294967295, nothing else.
std::optional<std::uint32_t> ParseSeed(std::string_view text);
