// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "persist/ReplayFile.h"
#include "persist/ReplayShelf.h"
#include "persist/ScoreTable.h"
#include "tests/persist/ScratchDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <sys/stat.h>

namespace {

const std::string FullFile = "[Score]\nScore1=5\nScore2=4\nScore3=3\nScore4=2\nScore5=1\n"
                             "Time1=50\nTime2=40\nTime3=30\nTime4=20\nTime5=10\n";

// A game of some minutes: weights carried for a while, one pass a move, then let go.
std::shared_ptr<Replay> GameOf(double seconds, int score, int weights = 3, int movesEach = 5)
{
    auto replay = std::make_shared<Replay>();
    replay->seed = 4'000'000'000U;
    replay->ruleVersion = 1;
    replay->seconds = seconds;
    replay->score = score;
    int pass = 10;
    for (int w = 0; w < weights; ++w) {
        replay->inputs.push_back({pass, ReplayInput::Kind::Anchor, 20 + w * 3 % 400, 30 + w * 7 % 300});
        for (int m = 1; m <= movesEach; ++m)
            replay->inputs.push_back({pass + m, ReplayInput::Kind::Drag, 20 + w * 3 % 400 + m * (w % 9 - 4),
                                      30 + w * 7 % 300 + m * (1 + w % 5)});
        pass += movesEach + 1;
        replay->inputs.push_back(
            {pass, w % 10 == 9 ? ReplayInput::Kind::Drop : ReplayInput::Kind::Release, 0, 0});
        if (w % 10 != 9)
            replay->inputs.back() = {pass, ReplayInput::Kind::Release,
                                     replay->inputs[replay->inputs.size() - 2].x,
                                     replay->inputs[replay->inputs.size() - 2].y};
        replay->swallowPasses.push_back(pass + 50);
        pass += 200;
    }
    replay->inputs.push_back({pass, ReplayInput::Kind::Pause, 0, 0});
    replay->inputs.push_back({pass, ReplayInput::Kind::Resume, 0, 0});
    replay->endPass = pass + 100;
    return replay;
}

class ReplayShelfOnDisk : public ::testing::Test {
protected:
    ReplayShelfOnDisk()
    {
        PutBytes(dir.File("Setting.ini"), FullFile);
        Hook(table, shelf);
    }
    static void Hook(ScoreTable& table, ReplayShelf& shelf)
    {
        table.afterSave = [&shelf](const ScoreTable& saved, bool lockHeld) { shelf.Saved(saved, lockHeld); };
    }
    // Every file of the folder and what it holds.
    std::map<std::string, std::string> Folder() const
    {
        std::map<std::string, std::string> files;
        for (const std::string& name : dir.Names())
            files[name] =
                std::filesystem::is_regular_file(dir.File(name)) ? BytesOf(dir.File(name)) : "(other)";
        return files;
    }
    int Record(ScoreTable& onTable, ReplayShelf& onShelf, double time, int score)
    {
        onShelf.Keep(GameOf(time, score));
        return onTable.RecordAndSave(time, score);
    }

    ScratchDir dir;
    std::ostringstream report;
    ReplayShelf shelf{report};
    ScoreTable table;
};

} // namespace

TEST(ReplayFile, ReadsBackWhatItWritesAndAFiveMinuteGameIsSmall)
{
    // 100 weights in five minutes, each carried for a second and moved on every pass of it.
    const std::shared_ptr<Replay> game = GameOf(300.0, 100, 100, 100);
    ASSERT_LE(game->endPass, 30'500);
    const std::string text = ReplayFile::Format(*game);
    EXPECT_LE(text.size(), 64U * 1024U);
    EXPECT_TRUE(text.starts_with("tocklet-replay 1\n"));
    Replay read;
    std::string error;
    ASSERT_TRUE(ReplayFile::Parse(text, read, error)) << error;
    EXPECT_EQ(read, *game);
}

TEST_F(ReplayShelfOnDisk, HostileFilesShowNoReplaySayWhyOnceAndTouchNothing)
{
    const std::string good = ReplayFile::Format(*GameOf(40.0, 4));
    std::string millions = good.substr(0, good.find("\na") + 1);
    for (int i = 0; i < 1'100'000; ++i)
        millions += "q0\n";
    millions += ".\n";
    std::string later = good;
    later.replace(0, later.find('\n'), "tocklet-replay 2");
    const struct {
        const char* what;
        std::string bytes;
        const char* why;
    } cases[] = {
        {"truncated", good.substr(0, good.rfind('\n', good.size() / 2) + 1), "cut short"},
        {"empty", "", "empty"},
        {"binary",
         std::string("\x7f"
                     "ELF\x02\x01\0\0\xff\xfe",
                     10),
         "not a replay"},
        {"a later version", later, "later version (2)"},
        {"inputs out of pass order", good.substr(0, good.size() - 2) + "a-3 10 10\n.\n",
         "before the one before"},
        {"a point far outside the field", good.substr(0, good.size() - 2) + "m0 99999 0\n.\n", "far outside"},
        {"an input after the end", good.substr(0, good.size() - 2) + "x99999\n.\n", "after the game's end"},
        {"millions of inputs", millions, "more inputs than a game can have"},
        {"over the size bound", std::string(ReplayFile::MaxSize + 1, 'a'), "larger than 4 MiB"},
        {"another game's replay", ReplayFile::Format(*GameOf(30.0, 3)), "another game"},
        {"a folder", "", "directory"},
        {"a dangling link", "", "leads nowhere"},
    };
    const std::string path = ReplayShelf::PathOf(40.0, 4);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(path);
        if (std::string(c.what) == "a folder")
            std::filesystem::create_directory(path);
        else if (std::string(c.what) == "a dangling link")
            std::filesystem::create_symlink(dir.File("nowhere"), path);
        else
            PutBytes(path, c.bytes);
        const auto before = Folder();
        ReplayShelf fresh(report);
        report.str("");
        EXPECT_EQ(fresh.Find(40.0, 4), nullptr);
        EXPECT_EQ(fresh.Find(40.0, 4), nullptr);
        const std::string said = report.str();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_NE(said.find(c.why), std::string::npos) << said;
        EXPECT_EQ(Folder(), before);
    }
    std::filesystem::remove_all(path);
    PutBytes(path, good);
    ASSERT_NE(shelf.Find(40.0, 4), nullptr);
}

TEST_F(ReplayShelfOnDisk, ARowShowsOnlyAReplayOfItsOwnTimeAndScore)
{
    ASSERT_TRUE(table.Load());
    ScoreTable other;
    ReplayShelf otherShelf(report);
    Hook(other, otherShelf);
    ASSERT_TRUE(other.Load());
    // Two copies in one folder, each with a record of its own, merged by the second save.
    ASSERT_EQ(Record(table, shelf, 45.2, 8), 1) << table.GetLastError();
    ASSERT_EQ(Record(other, otherShelf, 30.1, 9), 3) << other.GetLastError();
    for (ReplayShelf* reading : {&shelf, &otherShelf}) {
        ReplayShelf fresh(report);
        for (const auto& [time, score] : {std::pair{45.2, 8}, std::pair{30.1, 9}}) {
            const auto found = fresh.Find(time, score);
            ASSERT_NE(found, nullptr) << time;
            EXPECT_EQ(*found, *GameOf(time, score));
        }
        EXPECT_EQ(reading->GetHeldCount(), 0U);
    }
    EXPECT_EQ(shelf.Find(50.0, 5), nullptr) << "a row recorded before replays has none";

    // A row edited by hand is another game; so is a replay put in another row's place.
    ScoreTable edited;
    edited.Load();
    PutBytes(dir.File("Setting.ini"), "[Score]\nScore1=5\nScore2=8\nTime1=50\nTime2=45.3\n");
    std::filesystem::copy_file(ReplayShelf::PathOf(45.2, 8), ReplayShelf::PathOf(45.3, 8));
    report.str("");
    EXPECT_EQ(ReplayShelf(report).Find(45.3, 8), nullptr);
    EXPECT_NE(report.str().find("another game (45.2 s, score 8)"), std::string::npos) << report.str();
}

TEST_F(ReplayShelfOnDisk, ARecordLeavingTheFiveTakesItsReplayAndAnUnsavedOneKeepsIt)
{
    ASSERT_TRUE(table.Load());
    ASSERT_EQ(Record(table, shelf, 15.0, 1), 4);
    ASSERT_TRUE(std::filesystem::exists(ReplayShelf::PathOf(15.0, 1)));
    std::filesystem::create_directory(ReplayShelf::PathOf(11.0, 1));
    PutBytes(dir.File("notes.txt"), "mine");

    // The save fails: the game stays to be saved and its replay held, shown from memory.
    ::chmod(dir.File("Setting.ini").c_str(), 0444);
    EXPECT_EQ(Record(table, shelf, 60.0, 6), 0);
    ASSERT_FALSE(table.GetUnsaved().empty());
    EXPECT_EQ(shelf.GetHeldCount(), 1U);
    EXPECT_NE(shelf.Find(60.0, 6), nullptr);
    EXPECT_FALSE(std::filesystem::exists(ReplayShelf::PathOf(60.0, 6)));
    EXPECT_TRUE(std::filesystem::exists(ReplayShelf::PathOf(15.0, 1)));

    ::chmod(dir.File("Setting.ini").c_str(), 0644);
    ASSERT_TRUE(table.Save()) << table.GetLastError();
    EXPECT_EQ(shelf.GetHeldCount(), 0U);
    EXPECT_NE(ReplayShelf(report).Find(60.0, 6), nullptr);
    EXPECT_FALSE(std::filesystem::exists(ReplayShelf::PathOf(15.0, 1))) << "15 s left the five";
    EXPECT_TRUE(std::filesystem::is_directory(ReplayShelf::PathOf(11.0, 1))) << "not a file of ours";
    EXPECT_EQ(BytesOf(dir.File("notes.txt")), "mine");
}
