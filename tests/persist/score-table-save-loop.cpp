// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

// Saves the score table in a loop, for tests that kill a save half-way. Every field differs
// between the two tables it alternates, so a save cut short between two values would show.
// With "replay" it saves one of two large replays into the folder's replay file instead.
//   score-table-save-loop <directory> <first table: 0 or 1> <saves, 0 for as many as 60 s allow>
//     [replay]
// Exits 0 after the saves, 1 when one fails (the reason on standard error), 2 on bad arguments.

#include "persist/ReplayFile.h"
#include "persist/ReplayShelf.h"
#include "persist/ScoreTable.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

void Fill(ScoreTable& table, int variant)
{
    for (int i = 0; i < ScoreTable::Count; ++i) {
        table.scores[i] = variant == 0 ? i + 1 : 100 * (i + 1);
        table.times[i] = variant == 0 ? 10.5 + i : 0.25 * (i + 1);
    }
    table.regist = variant;
    table.playNum = variant == 0 ? 1 : 42;
}

// A long game, so that a save takes long enough to be caught half-way.
Replay LongGame(int variant)
{
    Replay replay;
    replay.ruleVersion = 1;
    replay.seconds = 40.0;
    replay.score = 4;
    replay.seed = static_cast<std::uint32_t>(variant);
    for (int i = 0; i < 200'000; ++i)
        replay.inputs.push_back({i, ReplayInput::Kind::Drag, i % 300 + variant, i % 200});
    replay.endPass = 200'000;
    return replay;
}

} // namespace

int main(int argc, char* argv[])
{
    const bool replays = argc == 5 && std::string(argv[4]) == "replay";
    if ((argc != 4 && !replays) || ::chdir(argv[1]) != 0) {
        std::fprintf(stderr, "usage: score-table-save-loop <directory> <0|1> <saves> [replay]\n");
        return 2;
    }
    const int first = std::atoi(argv[2]) == 0 ? 0 : 1;
    const long saves = std::atol(argv[3]);
    // Bounded, so that a loop its test forgot to kill ends on its own.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    if (replays) {
        const Replay games[] = {LongGame(0), LongGame(1)};
        for (long i = 0; saves == 0 ? std::chrono::steady_clock::now() < deadline : i < saves; ++i) {
            std::string error;
            if (!ReplayFile::Save(ReplayShelf::PathOf(40.0, 4), games[(first + i) % 2], error)) {
                std::fprintf(stderr, "score-table-save-loop: %s\n", error.c_str());
                return 1;
            }
        }
        return 0;
    }
    ScoreTable table;
    for (long i = 0; saves == 0 ? std::chrono::steady_clock::now() < deadline : i < saves; ++i) {
        if (!table.Update([&](ScoreTable& changed) { Fill(changed, static_cast<int>((first + i) % 2)); })) {
            std::fprintf(stderr, "score-table-save-loop: %s\n", table.GetLastError().c_str());
            return 1;
        }
    }
    return 0;
}
