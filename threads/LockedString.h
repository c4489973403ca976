// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <mutex>
#include <string>

// A UTF-8 text shared between threads; each operation holds the lock for the copy alone.
class LockedString {
public:
    void Set(std::string newText)
    {
        std::lock_guard<std::mutex> guard(lock);
        text = std::move(newText);
    }

    std::string Get() const
    {
        std::lock_guard<std::mutex> guard(lock);
        return text;
    }

private:
    mutable std::mutex lock;
    std::string text;
};
