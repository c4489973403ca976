// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "model/ReplayPlayer.h"

#include "base/PassRate.h"
#include "model/ShadowRule.h"
#include "model/World.h"

#include <utility>

namespace {

constexpr double SecondsPerPass = 1.0 / PassesPerSecond;

} // namespace

ReplayPlayer::ReplayPlayer(World& world, std::shared_ptr<const Replay> replay)
    : world(world)
    , replay(std::move(replay))
{
}

ReplayPlayer::State ReplayPlayer::Start()
{
    pass = 0;
    nextInput = 0;
    nextSwallow = 0;
    pausedInRecord = false;
    departure.clear();
    pointer.reset();
    state = State::Playing;
    world.ResetGame(replay->seed);
    // A drag left over from before must not reach into the recorded game.
    world.dragging = false;
    if (replay->ruleVersion != ShadowRule::Version)
        Depart("it was recorded under rule " + std::to_string(replay->ruleVersion) + ", this game plays rule "
               + std::to_string(ShadowRule::Version));
    return state;
}

ReplayPlayer::State ReplayPlayer::Step()
{
    if (state != State::Playing)
        return state;
    ApplyInputsDue();
    world.Tick();
    ++pass;
    Check();
    return state;
}

double ReplayPlayer::GetSeconds() const
{
    return state == State::Ended ? replay->seconds : pass * SecondsPerPass;
}

int ReplayPlayer::GetScore() const
{
    return state == State::Ended ? replay->score : world.GetHungCount();
}

void ReplayPlayer::ApplyInputsDue()
{
    const std::vector<ReplayInput>& inputs = replay->inputs;
    for (; nextInput < inputs.size() && inputs[nextInput].pass == pass; ++nextInput) {
        const ReplayInput& input = inputs[nextInput];
        if (input.kind == ReplayInput::Kind::Anchor || input.kind == ReplayInput::Kind::Drag
            || input.kind == ReplayInput::Kind::Release)
            pointer = Point{input.x, input.y};
        else if (input.kind == ReplayInput::Kind::Drop)
            pointer.reset();
        switch (input.kind) {
        case ReplayInput::Kind::Anchor: world.BeginSwing(input.x, input.y); break;
        case ReplayInput::Kind::Drag: world.DragSwing(input.x, input.y); break;
        case ReplayInput::Kind::Release: world.ReleaseSwing(input.x, input.y); break;
        case ReplayInput::Kind::Drop: world.DropSwing(); break;
        case ReplayInput::Kind::Pause: pausedInRecord = true; break;
        case ReplayInput::Kind::Resume: pausedInRecord = false; break;
        }
    }
}

void ReplayPlayer::Check()
{
    // The weights swallowed so far are those the record has up to this pass.
    const std::vector<int>& swallows = replay->swallowPasses;
    while (nextSwallow < swallows.size() && swallows[nextSwallow] <= pass)
        ++nextSwallow;
    if (world.GetSwallowCount() != static_cast<int>(nextSwallow)) {
        Depart(std::to_string(world.GetSwallowCount()) + " weights swallowed so far, the record has "
               + std::to_string(nextSwallow));
        return;
    }
    const bool over = world.IsGameOver() || world.IsFinished();
    if (!over && pass < replay->endPass)
        return;
    if (!over) {
        Depart("the game goes on where the record ends");
        return;
    }
    if (pass != replay->endPass) {
        Depart("the game ends where the record goes on to pass " + std::to_string(replay->endPass));
        return;
    }
    if (world.GetHungCount() != replay->score) {
        Depart("the game ends with score " + std::to_string(world.GetHungCount()) + ", the record with "
               + std::to_string(replay->score));
        return;
    }
    state = State::Ended;
}

void ReplayPlayer::Depart(const std::string& how)
{
    state = State::Departed;
    departure = "pass " + std::to_string(pass) + ": " + how;
}
