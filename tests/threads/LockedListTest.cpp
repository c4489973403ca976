// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "threads/LockedList.h"
#include "threads/LockedString.h"

#include <array>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Noted {
    Noted(std::vector<char>& logRef, char nameValue)
        : log(logRef)
        , name(nameValue)
    {
    }
    ~Noted() { log.push_back(name); }
    std::vector<char>& log;
    char name;
};

} // namespace

TEST(LockedList, GetAtOutsideTheRangeGivesNull)
{
    LockedList<int> list;
    EXPECT_EQ(list.GetAt(0), nullptr);
    EXPECT_EQ(list.GetAt(-1), nullptr);
    list.Add(std::make_shared<int>(7));
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(*list.GetAt(0), 7);
    EXPECT_EQ(list.GetAt(1), nullptr);
    EXPECT_EQ(list.GetAt(-1), nullptr);
}

TEST(LockedList, KeepsInsertionOrder)
{
    LockedList<int> list;
    for (int i = 0; i < 25; ++i)
        list.Add(std::make_shared<int>(i * i));
    ASSERT_EQ(list.GetCount(), 25);
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(*list.GetAt(i), i * i);
}

TEST(LockedList, DeleteAllReleasesNewestFirst)
{
    std::vector<char> log;
    LockedList<Noted> list;
    list.Add(std::make_shared<Noted>(log, 'A'));
    list.Add(std::make_shared<Noted>(log, 'B'));
    list.Add(std::make_shared<Noted>(log, 'C'));
    list.DeleteAll();
    EXPECT_EQ(log, (std::vector<char>{'C', 'B', 'A'}));
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetAt(0), nullptr);

    list.DeleteAll(); // on an empty list: nothing happens
    list.Add(std::make_shared<Noted>(log, 'D'));
    EXPECT_EQ(list.GetCount(), 1);
}

TEST(LockedList, AnElementHeldElsewhereOutlivesDeleteAll)
{
    std::vector<char> log;
    LockedList<Noted> list;
    list.Add(std::make_shared<Noted>(log, 'A'));
    list.Add(std::make_shared<Noted>(log, 'B'));
    std::shared_ptr<Noted> held = list.GetAt(0);
    list.DeleteAll();
    EXPECT_EQ(log, (std::vector<char>{'B'}));
    EXPECT_EQ(held->name, 'A');
    held.reset();
    EXPECT_EQ(log, (std::vector<char>{'B', 'A'}));
}

TEST(LockedList, DestroyingTheListLeavesElementsHeldElsewhereAlive)
{
    std::vector<char> log;
    std::shared_ptr<Noted> held;
    {
        LockedList<Noted> list;
        held = std::make_shared<Noted>(log, 'A');
        list.Add(held);
    }
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(held->name, 'A');
}

TEST(LockedList, GetRangeCopiesWhatFitsFromTheFirstIndexOn)
{
    LockedList<int> list;
    for (int i = 0; i < 10; ++i)
        list.Add(std::make_shared<int>(i));
    const struct {
        int first;
        std::size_t room;
        int expected; // elements copied; they are first, first + 1, ...
    } cases[] = {
        {0, 4, 4}, {8, 4, 2}, {9, 1, 1}, {10, 4, 0}, {11, 4, 0}, {-1, 4, 0}, {3, 0, 0}, {0, 16, 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.first << " into " << c.room);
        std::vector<std::shared_ptr<int>> out(c.room);
        const int copied = list.GetRange(c.first, out);
        ASSERT_EQ(copied, c.expected);
        for (int k = 0; k < copied; ++k)
            EXPECT_EQ(*out[static_cast<std::size_t>(k)], c.first + k);
        for (std::size_t k = static_cast<std::size_t>(copied); k < c.room; ++k)
            EXPECT_EQ(out[k], nullptr);
    }
}

TEST(LockedList, ElementsFetchedInARangeOutliveDeleteAll)
{
    std::vector<char> log;
    LockedList<Noted> list;
    for (const char name : {'A', 'B', 'C'})
        list.Add(std::make_shared<Noted>(log, name));
    std::array<std::shared_ptr<Noted>, 2> held;
    ASSERT_EQ(list.GetRange(1, held), 2);
    list.DeleteAll();
    EXPECT_EQ(log, (std::vector<char>{'A'}));
    EXPECT_EQ(held[0]->name, 'B');
    EXPECT_EQ(held[1]->name, 'C');
}

// A reader fetching batches while another thread adds and deletes everything: under the
// sanitizers this catches a batch that reads the list unlocked or an element freed while held.
TEST(LockedList, RangesReadWhileAnotherThreadAddsAndDeletesStayWhole)
{
    struct Counted {
        explicit Counted(int value)
            : value(value)
            , check(value * 7)
        {
        }
        ~Counted() { check = -1; }
        int value;
        int check;
    };
    LockedList<Counted> list;
    std::atomic<bool> done{false};
    std::atomic<int> batchesRead{0};
    std::thread writer([&] {
        // Until the reader has met the list full often enough, so that the two surely overlap.
        for (int round = 0; round < 100 || batchesRead.load() < 500; ++round) {
            for (int i = 0; i < 50; ++i)
                list.Add(std::make_shared<Counted>(i));
            list.DeleteAll();
        }
        done = true;
    });
    std::array<std::shared_ptr<Counted>, 8> batch;
    int broken = 0;
    while (!done.load()) {
        for (int first = 0; first < list.GetCount();) {
            const int copied = list.GetRange(first, batch);
            if (copied == 0)
                break;
            for (int k = 0; k < copied; ++k) {
                const Counted& element = *batch[static_cast<std::size_t>(k)];
                broken += element.check == element.value * 7 ? 0 : 1;
            }
            batchesRead.fetch_add(1);
            first += copied;
        }
    }
    writer.join();
    EXPECT_EQ(broken, 0);
}

// Long texts live on the heap: a Get copying while a Set replaces them would read freed or
// half-written bytes, which ThreadSanitizer and AddressSanitizer report and the check sees.
TEST(LockedString, GetsDuringSetsSeeOneWholeText)
{
    const std::array<std::string, 2> texts{std::string(4000, 'a'), std::string(3000, 'b')};
    LockedString text;
    text.Set(texts[0]);
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 20000; ++i)
            text.Set(texts[static_cast<std::size_t>(i % 2)]);
        done = true;
    });
    int torn = 0;
    while (!done.load()) {
        const std::string seen = text.Get();
        torn += seen == texts[0] || seen == texts[1] ? 0 : 1;
    }
    writer.join();
    EXPECT_EQ(torn, 0);
}
