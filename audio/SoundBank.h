// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "audio/Synth.h"
#include "base/GameEventSink.h"

#include <vector>

// Every sound of the game, made once at start: a tock for each semitone of the tock's range,
// and one sound for each other event.
class SoundBank {
public:
    explicit SoundBank(int sampleRate);

    // The sound of an event; value is the rope length of a Release.
    const Synth::Samples& For(GameEvent event, int value) const;
    int SampleRate() const { return rate; }

private:
    int rate;
    std::vector<Synth::Samples> tocks;
    Synth::Samples tap;
    Synth::Samples shadowTone;
    Synth::Samples thud;
    Synth::Samples gameOver;
    Synth::Samples newRecord;
    Synth::Samples click;
};
