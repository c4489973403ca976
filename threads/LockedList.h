// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <span>
#include <utility>
#include <vector>

// A list of shared elements guarded by its own lock, held for one operation at a time.
// An element handed out by GetAt stays alive while its holder uses it, even if another thread
// runs DeleteAll meanwhile: the list only gives up its own share.
template <typename T>
class LockedList {
public:
    LockedList() = default;
    virtual ~LockedList() = default;
    LockedList(const LockedList&) = delete;
    LockedList& operator=(const LockedList&) = delete;

    // The element at a zero-based index, or null when the index is negative or not below the count.
    std::shared_ptr<T> GetAt(int index) const
    {
        std::lock_guard<std::mutex> guard(lock);
        if (index < 0 || static_cast<std::size_t>(index) >= items.size())
            return nullptr;
        return items[static_cast<std::size_t>(index)];
    }

    // Copies the elements from index first on into out, as many as fit, under one lock, and
    // returns how many: fewer, or none, where the list ends. Each copy keeps its element alive.
    int GetRange(int first, std::span<std::shared_ptr<T>> out) const
    {
        std::lock_guard<std::mutex> guard(lock);
        if (first < 0 || static_cast<std::size_t>(first) >= items.size())
            return 0;
        const std::size_t taken = std::min(out.size(), items.size() - static_cast<std::size_t>(first));
        std::copy_n(items.begin() + first, taken, out.begin());
        return static_cast<int>(taken);
    }

    // Read without the lock: a hint that GetAt's range check confirms.
    int GetCount() const { return count.load(std::memory_order_acquire); }

    void Add(std::shared_ptr<T> element)
    {
        std::lock_guard<std::mutex> guard(lock);
        items.push_back(std::move(element));
        count.store(static_cast<int>(items.size()), std::memory_order_release);
    }

    // Gives up every element, newest first; one that nobody else holds is destroyed at once.
    void DeleteAll()
    {
        std::lock_guard<std::mutex> guard(lock);
        while (!items.empty()) {
            std::shared_ptr<T> last = std::move(items.back());
            items.pop_back();
            count.store(static_cast<int>(items.size()), std::memory_order_release);
            last.reset();
        }
        std::vector<std::shared_ptr<T>>().swap(items);
    }

private:
    mutable std::mutex lock;
    std::vector<std::shared_ptr<T>> items;
    std::atomic<int> count{0};
};
