#include "threads/LockedList.h"
#include "threads/LockedString.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Noted {
    Noted(std::vector<char>& logRef, char nameValue) : log(logRef), name(nameValue) {}
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

TEST(LockedString, GetReturnsASeparateCopy)
{
    LockedString text;
    EXPECT_EQ(text.Get(), "");
    std::string source = "[時間:0.0秒]";
    text.Set(source);
    std::string copy = text.Get();
    EXPECT_EQ(copy, source);
    copy += "x";
    EXPECT_EQ(text.Get(), source);
}
