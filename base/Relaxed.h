// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <atomic>

// A field that one thread writes while another reads it, for example a swing's position that
// the game thread moves while the window paints it. Every access is a relaxed atomic: a reader
// sees a whole value, old or new, never a torn one, and pays no more than a plain load on x86.
template <typename T>
class Relaxed {
public:
    Relaxed(T initial = T{}) noexcept
        : value(initial)
    {
    }
    Relaxed(const Relaxed&) = delete;
    Relaxed& operator=(const Relaxed&) = delete;

    Relaxed& operator=(T newValue) noexcept
    {
        value.store(newValue, std::memory_order_relaxed);
        return *this;
    }

    operator T() const noexcept { return value.load(std::memory_order_relaxed); }

    // Not an atomic read-modify-write: each such field has a single writer at a time.
    Relaxed& operator+=(T delta) noexcept { return *this = T(*this) + delta; }
    Relaxed& operator-=(T delta) noexcept { return *this = T(*this) - delta; }

private:
    std::atomic<T> value;
};
