// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "persist/ScoreKeeper.h"
#include "persist/ScoreTable.h"

#include "persist/IniDocument.h"
#include "persist/NumberText.h"
#include "tests/persist/ScratchDir.h"

#include <array>
#include <atomic>
#include <cfloat>
#include <chrono>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <latch>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

const std::string DefaultFile = "[Score]\nScore1=0\nScore2=0\nScore3=0\nScore4=0\nScore5=0\n"
                                "Time1=0\nTime2=0\nTime3=0\nTime4=0\nTime5=0\n"
                                "[Data]\nRegist=0\nPlayNum=1\n";

const std::string FullFile = "[Score]\nScore1=5\nScore2=4\nScore3=3\nScore4=2\nScore5=1\n"
                             "Time1=50\nTime2=40\nTime3=30\nTime4=20\nTime5=10\n";

class ScoreTableOnDisk : public ::testing::Test {
protected:
    std::string SettingsPath() const { return dir.File("Setting.ini"); }
    std::string Bytes() const { return BytesOf(SettingsPath()); }
    void Put(const std::string& bytes) const { PutBytes(SettingsPath(), bytes); }
    std::optional<std::string> Stored(const char* section, const char* key) const
    {
        return IniDocument(Bytes()).Find(section, key);
    }

    ScratchDir dir;
    ScoreTable table;
};

// Puts the process into a locale whose decimal point is ',', as a German desktop session does;
// builds one for this process when none is installed. Back to "C" when it goes.
class CommaLocale {
public:
    explicit CommaLocale(const std::string& scratch)
    {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "ru_RU.UTF-8"}) {
            if (std::setlocale(LC_ALL, name) && IsComma())
                return;
        }
        const std::string locales = scratch + "/locales";
        ::mkdir(locales.c_str(), 0755);
        const std::string build = "localedef -i de_DE -f UTF-8 '" + locales + "/de_DE.UTF-8' >/dev/null 2>&1";
        if (std::system(build.c_str()) == -1)
            return;
        ::setenv("LOCPATH", locales.c_str(), 1);
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
            std::setlocale(LC_ALL, "C");
    }
    ~CommaLocale()
    {
        std::setlocale(LC_ALL, "C");
        ::unsetenv("LOCPATH");
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    static bool IsComma() { return std::string(std::localeconv()->decimal_point) == ","; }
};

// Polls for up to 10 s.
bool WaitFor(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// How many descriptors of this process are open on the directory: a save opens one to lock it
// and keeps it while it waits.
int DescriptorsOn(const std::string& dir)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code gone;
        if (std::filesystem::read_symlink(entry.path(), gone) == dir)
            ++count;
    }
    return count;
}

} // namespace

TEST_F(ScoreTableOnDisk, RunWithoutAFileLeavesTheDefaultFile)
{
    EXPECT_TRUE(table.Load());
    EXPECT_EQ(table.GetTime(0), 0.0);
    EXPECT_EQ(table.playNum, 1);
    EXPECT_EQ(table.regist, 0);
    EXPECT_EQ(table.GetSettingsPath(), SettingsPath());
    EXPECT_TRUE(table.Save()) << table.GetLastError();
    EXPECT_EQ(Bytes(), DefaultFile);
}

TEST_F(ScoreTableOnDisk, EmptyPlayNumCountsAsAbsentAndIsWrittenBackAsOne)
{
    Put("[Data]\nPlayNum=\nRegist=  \n");
    table.regist = 4;
    EXPECT_TRUE(table.Load());
    EXPECT_EQ(table.playNum, 1);
    EXPECT_EQ(table.regist, 4);
    table.regist = 0;
    EXPECT_TRUE(table.Save());
    EXPECT_EQ(Stored("Data", "PlayNum"), "1");
    EXPECT_EQ(Stored("Data", "Regist"), "0");
}

TEST_F(ScoreTableOnDisk, TimeWithARemarkReadsAsTheNumberAndKeepsTheRemark)
{
    Put("[Score]\nTime1=12.5  ;remark\n");
    EXPECT_TRUE(table.Load());
    EXPECT_EQ(table.GetTime(0), 12.5);
    EXPECT_TRUE(table.Save());
    EXPECT_EQ(Stored("Score", "Time1"), "12.5  ;remark");
    const std::string once = Bytes();
    EXPECT_TRUE(table.Load());
    EXPECT_TRUE(table.Save());
    EXPECT_EQ(Bytes(), once) << "a second run must leave the file as it is";
}

TEST_F(ScoreTableOnDisk, BestTimeIsTheFirstTimeEvenWhenALaterOneIsSmaller)
{
    Put("[Score]\nTime1=30.5\nTime2=10.2\n");
    EXPECT_TRUE(table.Load());
    EXPECT_EQ(table.GetTime(0), 30.5);
    EXPECT_EQ(table.GetTime(1), 10.2);
    EXPECT_EQ(table.GetTime(5), 0.0);
    EXPECT_EQ(table.GetTime(-1), 0.0);
}

TEST_F(ScoreTableOnDisk, ValueThatIsNoNumberReadsAsZeroAndIsWrittenBackAsZero)
{
    Put("[Score]\nScore3=many\nScore4=lots  ;noted\n");
    EXPECT_TRUE(table.Load());
    EXPECT_EQ(table.scores[2], 0);
    EXPECT_EQ(table.scores[3], 0);
    EXPECT_TRUE(table.Save());
    EXPECT_EQ(Stored("Score", "Score3"), "0");
    EXPECT_EQ(Stored("Score", "Score4"), "0  ;noted");
}

// Such places would run across the title and the records, or show a game that never was: each
// reads as empty, and the places after it move up, so that the best time is never an empty
// place above a game. They are written back so; the other lines stay.
TEST_F(ScoreTableOnDisk, PlacesNoGameMakesReadAsEmptyAndTheOthersMoveUp)
{
    const struct {
        const char* time;
        const char* score;
    } odd[] = {
        {"1e308", "3"}, {"inf", "3"},       {"nan", "3"},    {"-5", "3"},   {"100000", "3"},
        {"12.5", "-3"}, {"12.5", "100000"}, {"1e-300", "3"}, {"0.04", "3"}, {"0", "3"},
    };
    for (const auto& place : odd) {
        SCOPED_TRACE(std::string(place.time) + " s, " + place.score + " weights");
        Put(std::string("[Score]\nTime1=") + place.time + "\nScore1=" + place.score
            + "\nTime2=99999.9\nScore2=99999\nTime4=20.5\nScore4=2\n[Mine]\nkept=1e308\n");
        ASSERT_TRUE(table.Load());
        EXPECT_EQ(table.GetTime(0), 99999.9);
        EXPECT_EQ(table.times, (std::array<double, ScoreTable::Count>{99999.9, 20.5}));
        EXPECT_EQ(table.scores, (std::array<int, ScoreTable::Count>{99999, 2}));
        ASSERT_TRUE(table.Save());
        EXPECT_EQ(Stored("Score", "Time1"), "99999.9");
        EXPECT_EQ(Stored("Score", "Score2"), "2");
        EXPECT_EQ(Stored("Score", "Time4"), "0");
        EXPECT_EQ(Stored("Score", "Score4"), "0");
        EXPECT_EQ(Stored("Mine", "kept"), "1e308");
    }
}

// A time is kept and written as the tenth it is shown as, as a game's own time is: whatever was
// put in, the file gets a short number that reads back as the same time.
TEST_F(ScoreTableOnDisk, TimesAreWrittenAsTheTenthsTheyShow)
{
    const std::pair<double, const char*> cases[] = {
        {0.1, "0.1"},
        {1.0 / 3, "0.3"},
        {0.30000000000000004, "0.3"},
        {0.06, "0.1"},
        {12.34, "12.3"},
        {12.36, "12.4"},
        {11.0, "11"},
        {99999.9, "99999.9"},
        {0.04, "0"},
        {1e-7, "0"},
        {1e-300, "0"},
        {5e-324, "0"},
        {2.2250738585072014e-308, "0"},
        {-0.0, "0"},
        {-2.5, "0"},
        {123456.789, "0"},
        {1e22, "0"},
        {DBL_MAX, "0"},
    };
    for (const auto& [time, text] : cases) {
        SCOPED_TRACE(time);
        ScoreTable saved;
        ASSERT_TRUE(saved.Update([time = time](ScoreTable& changed) {
            changed.times[0] = time;
            changed.scores[0] = 1;
        })) << saved.GetLastError();
        EXPECT_EQ(Stored("Score", "Time1"), text);
        ScoreTable loaded;
        ASSERT_TRUE(loaded.Load());
        EXPECT_EQ(loaded.times, saved.times);
        EXPECT_EQ(loaded.scores, saved.scores);
    }
}

TEST(ScoreTable, RecordPutsTheGameBeforeTheFirstTimeItBeats)
{
    using Times = std::array<double, ScoreTable::Count>;
    using Scores = std::array<int, ScoreTable::Count>;
    const Times full{50, 40, 30, 20, 10};
    const Scores fullScores{5, 4, 3, 2, 1};
    const struct {
        const char* what;
        Times times;
        Scores scores;
        double time;
        int score;
        int place;
        Times timesAfter;
        Scores scoresAfter;
    } cases[] = {
        {"beats the first", full, fullScores, 60, 6, 0, {60, 50, 40, 30, 20}, {6, 5, 4, 3, 2}},
        {"beats a middle one", full, fullScores, 35, 7, 2, {50, 40, 35, 30, 20}, {5, 4, 7, 3, 2}},
        {"beats the fifth only", full, fullScores, 15, 8, 4, {50, 40, 30, 20, 15}, {5, 4, 3, 2, 8}},
        {"beats none", full, fullScores, 3, 9, -1, full, fullScores},
        {"ties the fifth", full, fullScores, 10, 9, -1, full, fullScores},
        {"ties the second", full, fullScores, 40, 9, 2, {50, 40, 40, 30, 20}, {5, 4, 9, 3, 2}},
        {"first into an empty table", {}, {}, 12.5, 3, 0, {12.5, 0, 0, 0, 0}, {3, 0, 0, 0, 0}},
        {"zero slot after two games",
         {30, 20, 0, 0, 0},
         {3, 2, 0, 0, 0},
         5,
         1,
         2,
         {30, 20, 5, 0, 0},
         {3, 2, 1, 0, 0}},
        {"Time2 above Time1",
         {10, 30, 0, 0, 0},
         {1, 3, 0, 0, 0},
         20,
         2,
         0,
         {20, 10, 30, 0, 0},
         {2, 1, 3, 0, 0}},
        {"below both unsorted",
         {10, 30, 0, 0, 0},
         {1, 3, 0, 0, 0},
         5,
         2,
         2,
         {10, 30, 5, 0, 0},
         {1, 3, 2, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScoreTable table;
        table.times = c.times;
        table.scores = c.scores;
        table.regist = 3;
        table.playNum = 9;
        EXPECT_EQ(table.Record(c.time, c.score), c.place);
        EXPECT_EQ(table.times, c.timesAfter);
        EXPECT_EQ(table.scores, c.scoresAfter);
        EXPECT_EQ(table.regist, 3);
        EXPECT_EQ(table.playNum, 9);
    }
}

TEST_F(ScoreTableOnDisk, RecordedGameLeavesEachRemarkOnItsKeysLine)
{
    Put("; my scores\n[Score]\nScore1=5\nScore2=4\nScore3=3\nScore4=2\nScore5=1\n"
        "Time1=50  ;first\nTime2=40  ;second\nTime3=30\nTime4=20\nTime5=10\n\n"
        "[Other]\nkeep=me\n[Data]\nRegist=2\nPlayNum=7\n");
    ASSERT_TRUE(table.Load());
    ASSERT_EQ(table.RecordAndSave(60, 6), 0);
    ASSERT_EQ(table.GetLastError(), "");
    EXPECT_EQ(Bytes(), "; my scores\n[Score]\nScore1=6\nScore2=5\nScore3=4\nScore4=3\nScore5=2\n"
                       "Time1=60  ;first\nTime2=50  ;second\nTime3=40\nTime4=30\nTime5=20\n\n"
                       "[Other]\nkeep=me\n[Data]\nRegist=2\nPlayNum=7\n");
}

TEST(NumberText, TimesAreWrittenPlainAndShort)
{
    const std::pair<double, const char*> cases[] = {
        {0.0, "0"},
        {12.5, "12.5"},
        {0.1, "0.1"},
        {1e-7, "0.0000001"},
        {-2.5, "-2.5"},
        {123456.789, "123456.789"},
        {1e21, "1000000000000000000000"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatTime(value), text);
    EXPECT_EQ(FormatInt(INT_MIN), "-2147483648");
}

TEST(NumberText, IntegersReadAsAtoiWouldWithoutOverflowing)
{
    const std::pair<const char*, int> cases[] = {
        {"42", 42},
        {"  -7  ;x", -7},
        {"+13", 13},
        {"\t\n\v\f\r 5", 5},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"- 5", 0},
        {"+-5", 0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"99999999999999999999999", INT_MAX},
        {"-99999999999999999999999", INT_MIN},
        {"0x10", 0},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ParseInt(text), value) << '"' << text << '"';
}

TEST(NumberText, TimesReadAsAtofWould)
{
    const std::pair<const char*, double> cases[] = {
        {"12.5  ;remark", 12.5}, {"  -1e3x", -1000.0}, {".5", 0.5}, {"1,5", 1.0}, {"abc", 0.0}, {"", 0.0},
        {"0x1p3", 8.0},          {"+2.5", 2.5},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ParseDouble(text), value) << '"' << text << '"';
}

TEST_F(ScoreTableOnDisk, NumbersKeepTheirPointUnderACommaLocale)
{
    const CommaLocale locale(dir.path);
    if (!CommaLocale::IsComma())
        GTEST_SKIP() << "no locale with a decimal comma is installed and none could be built";
    ASSERT_EQ(std::atof("12.5"), 12.0) << "the C library should now stop at the '.'";

    Put("[Score]\nTime1=12.5\n");
    ASSERT_TRUE(table.Load());
    EXPECT_EQ(table.GetTime(0), 12.5);
    ASSERT_TRUE(table.Update([](ScoreTable& changed) { changed.times = {0.1, 0.7, 12345.6, 2.5, 99999.9}; }));
    EXPECT_EQ(Stored("Score", "Time1"), "0.1");
    EXPECT_EQ(Stored("Score", "Time4"), "2.5");
    ScoreTable loaded;
    ASSERT_TRUE(loaded.Load());
    EXPECT_EQ(loaded.times, table.times);
}

TEST_F(ScoreTableOnDisk, HandEditedFileKeepsEveryLineTheSaveDoesNotChange)
{
    const std::string edited = "\xEF\xBB\xBF; my scores\r\n"
                               "[SCORE]\r\n"
                               "  score1 = 120  ;best ever\r\n"
                               "Score2=\"90\"\r\n"
                               "Score3=80\r\nScore4=70\r\nScore5=60\r\n"
                               "Time1=12.5\r\nTime2=13\r\nTime3=14\r\nTime4=15\r\nTime5=16\r\n"
                               "\r\n"
                               "[Other]\r\nkeep=me\r\n"
                               "[data]\r\nregist=1\r\nplaynum=7";
    Put(edited);
    ASSERT_TRUE(table.Load());
    EXPECT_EQ(table.scores[0], 120);
    EXPECT_EQ(table.scores[1], 90);
    EXPECT_EQ(table.playNum, 7);
    ASSERT_TRUE(table.Save());
    EXPECT_EQ(Bytes(), edited) << "writing back the values read changes nothing";

    ASSERT_TRUE(table.Update([](ScoreTable& changed) {
        changed.scores[4] = 65;
        changed.playNum = 8;
    }));
    std::string expected = edited;
    expected.replace(expected.find("Score5=60"), 9, "Score5=65");
    expected.replace(expected.find("playnum=7"), 9, "playnum=8");
    EXPECT_EQ(Bytes(), expected);
}

TEST_F(ScoreTableOnDisk, FailedSaveSaysSoInOneLineAndKeepsTheFile)
{
    const std::string old = "[Score]\nScore1=5\n";
    Put(old);
    ::chmod(SettingsPath().c_str(), 0444);
    ASSERT_TRUE(table.Load());
    EXPECT_FALSE(table.Update([](ScoreTable& changed) { changed.scores[0] = 6; }));
    const std::string& error = table.GetLastError();
    EXPECT_NE(error.find(SettingsPath()), std::string::npos) << error;
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    EXPECT_EQ(Bytes(), old);
}

TEST_F(ScoreTableOnDisk, DirectoryInPlaceOfTheFileGivesDefaultsAndAFailedSave)
{
    ::mkdir(SettingsPath().c_str(), 0755);
    table.scores[0] = 9;
    EXPECT_FALSE(table.Load());
    EXPECT_NE(table.GetLastError().find("directory"), std::string::npos) << table.GetLastError();
    EXPECT_EQ(table.scores[0], 0);
    EXPECT_EQ(table.playNum, 1);
    EXPECT_FALSE(table.Save());
    EXPECT_NE(table.GetLastError().find(SettingsPath()), std::string::npos) << table.GetLastError();
    struct stat st {};
    ::stat(SettingsPath().c_str(), &st);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST_F(ScoreTableOnDisk, LoadRemovesWhatAKilledSaveLeftBehind)
{
    const std::string stale = dir.File(".Setting.ini.tmp-4194305-3.77");
    PutBytes(stale, "[Score]\nScore1=");
    EXPECT_TRUE(table.Load());
    EXPECT_EQ(dir.Names(), std::vector<std::string>{});
}

// Two copies of the program in one folder, each holding the table it read at start.
TEST_F(ScoreTableOnDisk, TwoTablesOnOneFileKeepEachOthersRecords)
{
    using Times = std::array<double, ScoreTable::Count>;
    using Scores = std::array<int, ScoreTable::Count>;
    // A time of 0 is a save as at Exit, which records nothing.
    struct Step {
        char table;
        double time;
        int score;
    };
    const Step exitA{'A', 0, 0};
    const Step exitB{'B', 0, 0};
    const Times both{50, 45.2, 40, 30.1, 30};
    const Scores bothScores{5, 8, 4, 9, 3};
    const struct {
        const char* what;
        std::vector<Step> steps;
        Times times;
        Scores scores;
    } cases[] = {
        {"A records first, A exits first", {{'A', 45.2, 8}, {'B', 30.1, 9}, exitA, exitB}, both, bothScores},
        {"A records first, B exits first", {{'A', 45.2, 8}, {'B', 30.1, 9}, exitB, exitA}, both, bothScores},
        {"B records first, A exits first", {{'B', 30.1, 9}, {'A', 45.2, 8}, exitA, exitB}, both, bothScores},
        {"B records first, B exits first", {{'B', 30.1, 9}, {'A', 45.2, 8}, exitB, exitA}, both, bothScores},
        {"B records nothing", {{'A', 45.2, 8}, exitB}, {50, 45.2, 40, 30, 20}, {5, 8, 4, 3, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Put(FullFile);
        ScoreTable a;
        ScoreTable b;
        ASSERT_TRUE(a.Load());
        ASSERT_TRUE(b.Load());
        for (const Step& step : c.steps) {
            ScoreTable& saving = step.table == 'A' ? a : b;
            if (step.time == 0)
                EXPECT_TRUE(saving.Save()) << saving.GetLastError();
            else
                EXPECT_GE(saving.RecordAndSave(step.time, step.score), 0) << saving.GetLastError();
            ScoreTable onDisk;
            ASSERT_TRUE(onDisk.Load());
            EXPECT_EQ(saving.times, onDisk.times) << "after a save the table is the one on disk";
        }
        ScoreTable onDisk;
        ASSERT_TRUE(onDisk.Load());
        EXPECT_EQ(onDisk.times, c.times);
        EXPECT_EQ(onDisk.scores, c.scores);
    }
}

TEST_F(ScoreTableOnDisk, SavesAtTheSameMomentAllKeepTheirRecords)
{
    Put(FullFile);
    constexpr int Savers = 5;
    std::latch start(Savers);
    std::vector<std::thread> savers;
    for (int i = 0; i < Savers; ++i) {
        savers.emplace_back([&start, i] {
            ScoreTable table;
            table.Load();
            start.arrive_and_wait();
            table.RecordAndSave(60 + i, 60 + i);
        });
    }
    for (std::thread& saver : savers)
        saver.join();
    ScoreTable onDisk;
    ASSERT_TRUE(onDisk.Load());
    EXPECT_EQ(onDisk.times, (std::array<double, ScoreTable::Count>{64, 63, 62, 61, 60}));
    EXPECT_EQ(onDisk.scores, (std::array<int, ScoreTable::Count>{64, 63, 62, 61, 60}));
}

// The holder of the lock (a copy stopped in the middle of its save) would write back its own
// older table over a save made without it: the game stays unsaved, and the next save with the
// lock puts it in.
TEST_F(ScoreTableOnDisk, ALockThatStaysTakenKeepsTheGameUnsavedAndTheFileAsItWas)
{
    Put(FullFile);
    const int folder = ::open(dir.path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::flock(folder, LOCK_EX), 0);
    table.lockPatience = std::chrono::milliseconds(300);
    EXPECT_EQ(table.RecordAndSave(45.2, 8), 1);
    const std::string error = table.GetLastError();
    EXPECT_EQ(Bytes(), FullFile);
    EXPECT_EQ(table.GetUnsaved(), (std::vector<ScoreTable::Game>{{45.2, 8}}));
    EXPECT_EQ(table.times, (std::array<double, ScoreTable::Count>{50, 45.2, 40, 30, 20}));
    ::close(folder);
    EXPECT_NE(error.find(SettingsPath() + ": not saved: "), std::string::npos) << error;
    EXPECT_NE(error.find("lock"), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;

    ASSERT_TRUE(table.Save()) << table.GetLastError();
    EXPECT_TRUE(table.GetUnsaved().empty());
    EXPECT_EQ(Stored("Score", "Time2"), "45.2");
    EXPECT_EQ(Stored("Score", "Time3"), "40");
}

// A copy whose save holds the lock for seconds (slow storage, a process stopped mid-save) is
// waited for: a save that went on without the lock would be overwritten by the holder's.
TEST_F(ScoreTableOnDisk, ASaveWaitsForASlowHolderAndBothRecordsStay)
{
    Put(FullFile);
    std::latch locked(1);
    std::thread holder([&locked] {
        ScoreTable slow;
        slow.Update([&locked](ScoreTable& changed) {
            changed.Record(35.8, 1);
            locked.count_down();
            std::this_thread::sleep_for(std::chrono::seconds(3));
        });
    });
    locked.wait();
    EXPECT_EQ(table.RecordAndSave(35.7, 2), 3);
    holder.join();
    EXPECT_EQ(table.GetLastError(), "");
    ScoreTable onDisk;
    ASSERT_TRUE(onDisk.Load());
    EXPECT_EQ(onDisk.times, (std::array<double, ScoreTable::Count>{50, 40, 35.8, 35.7, 30}));
}

// A full disk or a read-only file: the game stays in the table, shown as not saved, and every
// later save puts it in, once.
TEST_F(ScoreTableOnDisk, AGameWhoseSaveFailedIsSavedByALaterOne)
{
    Put(FullFile);
    ::chmod(SettingsPath().c_str(), 0444);
    ASSERT_TRUE(table.Load());
    EXPECT_EQ(table.RecordAndSave(45.2, 8), 1);
    EXPECT_NE(table.GetLastError(), "");
    EXPECT_FALSE(table.Save());
    EXPECT_EQ(table.GetUnsaved(), (std::vector<ScoreTable::Game>{{45.2, 8}}));
    EXPECT_EQ(table.times, (std::array<double, ScoreTable::Count>{50, 45.2, 40, 30, 20}));
    EXPECT_EQ(Bytes(), FullFile);

    ::chmod(SettingsPath().c_str(), 0644);
    EXPECT_TRUE(table.Refresh()) << "the title's return saves it";
    EXPECT_TRUE(table.GetUnsaved().empty());
    ScoreTable onDisk;
    ASSERT_TRUE(onDisk.Load());
    EXPECT_EQ(onDisk.times, (std::array<double, ScoreTable::Count>{50, 45.2, 40, 30, 20}));
    EXPECT_EQ(onDisk.scores, (std::array<int, ScoreTable::Count>{5, 8, 4, 3, 2}));
}

// A file that cannot be read at a save (here a directory in its place) is left alone, and each
// such save puts the game waiting into the table as it was, so that it is counted once.
TEST_F(ScoreTableOnDisk, SavesThatCannotReadTheFileCountAGameOnce)
{
    Put(FullFile);
    ASSERT_TRUE(table.Load());
    ASSERT_EQ(::unlink(SettingsPath().c_str()), 0);
    ASSERT_EQ(::mkdir(SettingsPath().c_str(), 0755), 0);
    EXPECT_EQ(table.RecordAndSave(45.2, 8), 1);
    EXPECT_FALSE(table.Save());
    EXPECT_FALSE(table.Save());
    EXPECT_NE(table.GetLastError().find("cannot be read"), std::string::npos) << table.GetLastError();
    EXPECT_EQ(table.times, (std::array<double, ScoreTable::Count>{50, 45.2, 40, 30, 20}));
    EXPECT_EQ(table.GetUnsaved(), (std::vector<ScoreTable::Game>{{45.2, 8}}));

    ASSERT_EQ(::rmdir(SettingsPath().c_str()), 0);
    Put(FullFile);
    ASSERT_TRUE(table.Save()) << table.GetLastError();
    ScoreTable onDisk;
    ASSERT_TRUE(onDisk.Load());
    EXPECT_EQ(onDisk.times, (std::array<double, ScoreTable::Count>{50, 45.2, 40, 30, 20}));
}

// The window records games while the keeper's thread saves: the view shows each at once, and
// each reaches the file.
TEST_F(ScoreTableOnDisk, TheKeeperSavesGamesRecordedWhileItSaves)
{
    Put(FullFile);
    ASSERT_TRUE(table.Load());
    std::atomic<int> jobs{0};
    ScoreKeeper keeper(table, [&jobs](const ScoreTable&, bool) { ++jobs; });
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(keeper.Record(60 + i, 60 + i), 0);
        EXPECT_EQ(keeper.GetView().GetTime(0), 60 + i);
        keeper.Refresh();
    }
    keeper.Finish();
    EXPECT_GE(jobs.load(), 1);
    EXPECT_TRUE(table.GetUnsaved().empty());
    ScoreTable onDisk;
    ASSERT_TRUE(onDisk.Load());
    EXPECT_EQ(onDisk.times, (std::array<double, ScoreTable::Count>{64, 63, 62, 61, 60}));
    EXPECT_EQ(keeper.GetView().times, onDisk.times);
}

// A choice of sound made while a game waits to be saved goes into the file with it, in one
// write; a choice whose save failed is kept and made by a later save, as a game is.
TEST_F(ScoreTableOnDisk, AChoiceOfSoundIsSavedWithTheGamesWaitingAndKeptUntilSaved)
{
    Put(FullFile);
    ASSERT_TRUE(table.Load());
    table.Remember(45.2, 8);
    ASSERT_TRUE(table.SaveSound(false)) << table.GetLastError();
    EXPECT_TRUE(table.GetUnsaved().empty());
    EXPECT_EQ(Stored("Score", "Time2"), "45.2");
    EXPECT_EQ(Stored("Sound", "On"), "0");

    const int folder = ::open(dir.path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::flock(folder, LOCK_EX), 0);
    table.lockPatience = std::chrono::milliseconds(100);
    EXPECT_FALSE(table.SaveSound(true));
    ::close(folder);
    EXPECT_EQ(table.GetUnsavedSound(), true);
    EXPECT_TRUE(table.soundOn);
    EXPECT_TRUE(table.Refresh()) << table.GetLastError();
    EXPECT_EQ(table.GetUnsavedSound(), std::nullopt);
    EXPECT_EQ(Stored("Sound", "On"), "1");
}

// A game or a choice of sound asked for while the keeper's save waits for another copy's lock is
// shown at once, and still when that save ends: the job that takes it comes after.
TEST_F(ScoreTableOnDisk, WhatIsAskedForWhileASaveWaitsStaysInTheView)
{
    const struct {
        const char* what;
        std::function<void(ScoreKeeper&)> ask;
        std::function<bool(const ScoreTable&)> shows;
    } cases[] = {
        {"a game", [](ScoreKeeper& keeper) { keeper.Record(60, 6); },
         [](const ScoreTable& view) { return view.GetTime(0) == 60; }},
        {"sound off", [](ScoreKeeper& keeper) { keeper.SaveSound(false); },
         [](const ScoreTable& view) { return !view.soundOn; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Put(FullFile);
        ScoreTable kept;
        ASSERT_TRUE(kept.Load());
        const int folder = ::open(dir.path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ASSERT_EQ(::flock(folder, LOCK_EX), 0);
        ScoreKeeper* watched = nullptr;
        std::optional<bool> shownWhenTheWaitEnded;
        ScoreKeeper keeper(kept, [&](const ScoreTable&, bool) {
            if (!shownWhenTheWaitEnded)
                shownWhenTheWaitEnded = c.shows(watched->GetView());
        });
        watched = &keeper;
        keeper.Record(45.2, 8);
        ASSERT_TRUE(WaitFor([&] { return DescriptorsOn(dir.path) == 2; }))
            << "the save never waited for the lock";
        c.ask(keeper);
        EXPECT_TRUE(c.shows(keeper.GetView()));
        ::close(folder);
        keeper.Finish();
        EXPECT_EQ(shownWhenTheWaitEnded, true);
        EXPECT_TRUE(c.shows(keeper.GetView())) << "after the next job";
    }
}

// The program's end cuts short a save that waits for another copy's lock, and its last save waits
// no longer: nothing is written, the game stays unsaved for the caller to name, and no job calls
// back once the end was asked for.
TEST_F(ScoreTableOnDisk, TheLastSaveCutsShortAWaitForTheLockInFlight)
{
    Put(FullFile);
    ASSERT_TRUE(table.Load());
    table.lockPatience = std::chrono::hours(1);
    const int folder = ::open(dir.path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(::flock(folder, LOCK_EX), 0);
    std::atomic<int> calls{0};
    ScoreKeeper keeper(table, [&calls](const ScoreTable&, bool) { ++calls; });
    keeper.Record(45.2, 8);
    ASSERT_TRUE(WaitFor([&] { return DescriptorsOn(dir.path) == 2; }))
        << "the save never waited for the lock";
    keeper.FinishWithASave(std::chrono::milliseconds(0));
    const bool ended = WaitFor([&] { return keeper.WaitForEnd(std::chrono::milliseconds(0)); });
    ::close(folder);
    keeper.Finish();
    EXPECT_TRUE(ended) << "the wait for the lock went on";
    EXPECT_EQ(calls.load(), 0);
    EXPECT_EQ(Bytes(), FullFile);
    EXPECT_EQ(table.GetUnsaved(), (std::vector<ScoreTable::Game>{{45.2, 8}}));
    EXPECT_NE(table.GetLastError().find("lock"), std::string::npos) << table.GetLastError();
}

// The window reads the view while the keeper's thread replaces it after each job (a race that
// ThreadSanitizer sees).
TEST_F(ScoreTableOnDisk, TheViewIsReadWhileTheKeeperReplacesIt)
{
    Put(FullFile);
    ASSERT_TRUE(table.Load());
    ScoreKeeper keeper(table, {});
    std::atomic<bool> recorded{false};
    std::thread window([&] {
        while (!recorded.load())
            EXPECT_GE(keeper.GetView().GetTime(0), 50);
    });
    for (int i = 0; i < 20; ++i) {
        keeper.Record(60 + i, 1);
        keeper.Refresh();
    }
    keeper.Finish();
    recorded = true;
    window.join();
    EXPECT_EQ(keeper.GetView().GetTime(0), 79);
}

TEST_F(ScoreTableOnDisk, SoundChoiceIsKeptInItsOwnKeyThroughOtherCopiesSaves)
{
    Put(FullFile);
    ScoreTable other;
    ASSERT_TRUE(table.Load());
    ASSERT_TRUE(other.Load());
    EXPECT_TRUE(table.soundOn) << "a file without the key means sound on";
    ASSERT_TRUE(table.Save());
    const std::string saved = Bytes();
    EXPECT_EQ(saved.find("Sound"), std::string::npos) << "nobody chose: no key is added";

    ASSERT_TRUE(table.SaveSound(false));
    EXPECT_EQ(Bytes(), saved + "[Sound]\nOn=0\n") << "every other line stays as it was";
    // A copy that read the file before the choice records a game and keeps it.
    ASSERT_GE(other.RecordAndSave(99.0, 1), 0);
    EXPECT_FALSE(other.soundOn);
    EXPECT_EQ(Stored("Sound", "On"), "0");
    ScoreTable next;
    ASSERT_TRUE(next.Load());
    EXPECT_FALSE(next.soundOn);

    ASSERT_TRUE(next.SaveSound(true));
    EXPECT_EQ(Stored("Sound", "On"), "1");
}

TEST_F(ScoreTableOnDisk, SoundValueNotUnderstoodMeansOnAndStaysUntilThePlayerChooses)
{
    const struct {
        const char* value;
        bool on;
    } cases[] = {
        {"0", false},  {"1", true}, {"0  ;muted", false}, {"yes", true}, {"true", true},
        {"abc", true}, {"", true},  {"01", true},         {"2", true},   {"-1", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("On=") + c.value);
        Put(FullFile + "[Data]\nRegist=0\nPlayNum=1\n[Sound]\nOn=" + c.value + "\n");
        const std::string before = Bytes();
        ASSERT_TRUE(table.Load());
        EXPECT_EQ(table.soundOn, c.on);
        ASSERT_TRUE(table.Save());
        EXPECT_EQ(Bytes(), before);
    }
    ASSERT_TRUE(table.SaveSound(false));
    EXPECT_EQ(Stored("Sound", "On"), "0") << "M writes the choice over what was not understood";
}
