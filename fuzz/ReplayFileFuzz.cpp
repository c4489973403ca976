// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

// libFuzzer target over the replay reader and writer. Input: the text of a replay file.

#include "persist/ReplayFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Require(bool condition, const char* property)
{
    if (!condition) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Replay replay;
    std::string error;
    if (!ReplayFile::Parse(text, replay, error)) {
        Require(!error.empty(), "a refused file says why");
        Require(replay == Replay{}, "a refused file leaves the replay as it was");
        return 0;
    }
    int pass = 0;
    for (const ReplayInput& input : replay.inputs) {
        Require(input.pass >= pass && input.pass <= replay.endPass, "inputs in pass order within the game");
        Require(std::abs(input.x) <= Replay::MaxCoordinate && std::abs(input.y) <= Replay::MaxCoordinate,
                "points near the field");
        pass = input.pass;
    }
    Require(replay.inputs.size() <= Replay::MaxInputs, "a bounded count of inputs");
    const std::string written = ReplayFile::Format(replay);
    Replay again;
    Require(ReplayFile::Parse(written, again, error), "what is written reads back");
    Require(again == replay, "what is written reads back the same");
    Require(ReplayFile::Format(again) == written, "writing is stable");
    return 0;
}
