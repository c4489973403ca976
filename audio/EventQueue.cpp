// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "audio/EventQueue.h"

EventQueue::EventQueue()
{
    for (std::size_t i = 0; i < Capacity; ++i)
        cells[i].sequence.store(i, std::memory_order_relaxed);
}

bool EventQueue::Push(Entry entry) noexcept
{
    std::size_t position = tail.load(std::memory_order_relaxed);
    for (;;) {
        Cell& cell = cells[position & Mask];
        const std::size_t sequence = cell.sequence.load(std::memory_order_acquire);
        const auto lead = static_cast<std::ptrdiff_t>(sequence - position);
        if (lead == 0) {
            // On failure position is reloaded: another producer took this cell first.
            if (tail.compare_exchange_weak(position, position + 1, std::memory_order_relaxed)) {
                cell.entry = entry;
                cell.sequence.store(position + 1, std::memory_order_release);
                return true;
            }
        } else if (lead < 0) {
            return false;
        } else {
            position = tail.load(std::memory_order_relaxed);
        }
    }
}

std::optional<EventQueue::Entry> EventQueue::Pop() noexcept
{
    Cell& cell = cells[head & Mask];
    if (cell.sequence.load(std::memory_order_acquire) != head + 1)
        return std::nullopt;
    const Entry entry = cell.entry;
    cell.sequence.store(head + Capacity, std::memory_order_release);
    ++head;
    return entry;
}
