// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/GameEventSink.h"

#include <algorithm>
#include <vector>

// Hands every event to each of its sinks in the order they were added, so that all of them
// (the sound, a screen reader) hear the same moments. Sinks are added and removed only while
// no game runs; Notify waits on nothing of its own.
class GameEventFanOut : public GameEventSink {
public:
    // Not owned; a sink already there or null is not added again.
    void Add(GameEventSink* sink)
    {
        if (sink && std::find(sinks.begin(), sinks.end(), sink) == sinks.end())
            sinks.push_back(sink);
    }
    void Remove(GameEventSink* sink)
    {
        sinks.erase(std::remove(sinks.begin(), sinks.end(), sink), sinks.end());
    }

    void Notify(GameEvent event, int value) noexcept override
    {
        for (GameEventSink* sink : sinks)
            sink->Notify(event, value);
    }

private:
    std::vector<GameEventSink*> sinks;
};
