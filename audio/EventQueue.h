// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/GameEventSink.h"

#include <array>
#include <atomic>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>

// A bounded queue of game events that any thread may push to without a lock and one thread
// pops from. A push to a full queue drops the event rather than wait.
class EventQueue {
public:
    static constexpr std::size_t Capacity = 64;
    // Positions map to cells by a mask, and a freed cell waits for the position one lap on.
    static_assert(std::has_single_bit(Capacity), "the capacity must be a power of two");

    struct Entry {
        GameEvent event = GameEvent::ButtonClick;
        int value = 0;
    };

    EventQueue();

    // Any thread; false when the queue was full and the entry is dropped.
    bool Push(Entry entry) noexcept;
    // The one consuming thread only.
    std::optional<Entry> Pop() noexcept;

private:
    // Each cell's sequence tells whose turn it is: the producer of position p writes when it
    // equals p, the consumer reads when it equals p + 1.
    struct Cell {
        std::atomic<std::size_t> sequence{0};
        Entry entry;
    };
    static constexpr std::size_t Mask = Capacity - 1;

    std::array<Cell, Capacity> cells;
    std::atomic<std::size_t> tail{0};
    // The consumer's alone.
    std::size_t head = 0;
};
