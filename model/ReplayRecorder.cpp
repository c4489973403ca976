// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "model/ReplayRecorder.h"

#include <cstdlib>

void ReplayRecorder::Begin(std::uint32_t seed, int ruleVersion, bool on)
{
    passes = 0;
    swallowed = 0;
    replay.reset();
    if (!on)
        return;
    replay = std::make_unique<Replay>();
    replay->seed = seed;
    replay->ruleVersion = ruleVersion;
}

void ReplayRecorder::Note(ReplayInput::Kind kind, int x, int y)
{
    if (!replay)
        return;
    if (std::abs(x) > Replay::MaxCoordinate || std::abs(y) > Replay::MaxCoordinate || passes > Replay::MaxPass
        || replay->inputs.size() >= Replay::MaxInputs) {
        Abandon();
        return;
    }
    // Of two drags between the same two passes only the later one is seen by the world.
    std::vector<ReplayInput>& inputs = replay->inputs;
    if (kind == ReplayInput::Kind::Drag && !inputs.empty() && inputs.back().kind == kind
        && inputs.back().pass == passes) {
        inputs.back().x = x;
        inputs.back().y = y;
        return;
    }
    inputs.push_back(ReplayInput{passes, kind, x, y});
}

void ReplayRecorder::NoteSwallows(int swallowedSoFar)
{
    if (replay) {
        if (passes > Replay::MaxPass || replay->swallowPasses.size() >= Replay::MaxInputs) {
            Abandon();
        } else {
            for (int i = swallowed; i < swallowedSoFar; ++i)
                replay->swallowPasses.push_back(passes);
        }
    }
    swallowed = swallowedSoFar;
}

std::unique_ptr<Replay> ReplayRecorder::Take()
{
    if (replay && passes > Replay::MaxPass)
        Abandon();
    if (replay)
        replay->endPass = passes;
    return std::move(replay);
}

void ReplayRecorder::Abandon()
{
    replay.reset();
}
