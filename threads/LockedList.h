#pragma once

#include <atomic>
#include <memory>
#include <mutex>
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
