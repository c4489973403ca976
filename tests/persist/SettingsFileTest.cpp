// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "persist/SettingsFile.h"

#include "persist/IniDocument.h"
#include "tests/persist/ScratchDir.h"

#include <algorithm>
#include <csignal>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

using namespace std::chrono_literals;

namespace {

// Above the largest process id Linux can hand out, so that no process ever has it.
constexpr int NeverAProcess = 4194305;

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode;
}

// Runs check in a process without root's power to ignore permissions: a child that became
// "nobody" when the test runs as root. nullopt when that cannot be arranged.
std::optional<bool> AsUnprivileged(const std::function<bool()>& check)
{
    if (::geteuid() != 0)
        return check();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 2)
        return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

class SettingsFileOnDisk : public ::testing::Test {
protected:
    SettingsFileOnDisk() { file.path = dir.File("Setting.ini"); }

    std::string Bytes() const { return BytesOf(file.path); }
    void Put(const std::string& bytes) const { PutBytes(file.path, bytes); }

    // The one-line error of the last call, checked to name the file.
    std::string Error() const
    {
        const std::string error = file.GetLastError();
        EXPECT_NE(error.find(file.path), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        return error;
    }

    bool TemporariesLeft() const
    {
        for (const std::string& name : dir.Names()) {
            if (name.find(".tmp-") != std::string::npos)
                return true;
        }
        return false;
    }

    ScratchDir dir;
    SettingsFile file;
};

} // namespace

TEST_F(SettingsFileOnDisk, PathIsSettingIniInTheWorkingDirectory)
{
    EXPECT_EQ(SettingsFile::GetCurrentDir(), dir.path + "/");
    EXPECT_EQ(SettingsFile::GetSettingsPath(), dir.path + "/Setting.ini");
}

TEST_F(SettingsFileOnDisk, VanishedWorkingDirectoryGivesNoPathAndFailsClearly)
{
    ::mkdir(dir.File("gone").c_str(), 0755);
    ASSERT_EQ(::chdir(dir.File("gone").c_str()), 0);
    ::rmdir(dir.File("gone").c_str());
    EXPECT_EQ(SettingsFile::GetCurrentDir(), "");
    SettingsFile orphan;
    orphan.path = SettingsFile::GetSettingsPath();
    EXPECT_EQ(orphan.path, "");
    std::string value;
    EXPECT_FALSE(orphan.Read("Score", "Score1", value));
    EXPECT_FALSE(orphan.Write("Score", "Score1", "1", 1));
    EXPECT_EQ(orphan.GetLastError(), "Setting.ini: not saved: the working directory could not be read");
    ASSERT_EQ(::chdir(dir.path.c_str()), 0);
}

TEST_F(SettingsFileOnDisk, KeepCommentCarriesTheRemarkOverOnlyWhenOne)
{
    struct Case {
        const char* line;
        int keepComment;
        const char* value;
        const char* written;
    };
    const Case cases[] = {
        {"Score1=120  ;remark", 1, "150", "Score1=150  ;remark"},
        {"Score1=;remark", 1, "150", "Score1=150  ;remark"},
        {"Score1=120", 1, "150", "Score1=150"},
        {"Score1=120 ; a ; b", 1, "7", "Score1=7  ; a ; b"},
        {"Score1=120  ;remark", 0, "150", "Score1=150"},
        {"Score1=120  ;remark", 2, "150", "Score1=150"},
        {"Score1=120  ;remark", -1, "150", "Score1=150"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line + std::string(" keepComment ") + std::to_string(c.keepComment));
        Put(std::string("[Score]\n") + c.line + "\n[Data]\nRegist=0\n");
        EXPECT_TRUE(file.Write("Score", "Score1", c.value, c.keepComment));
        EXPECT_EQ(Bytes(), std::string("[Score]\n") + c.written + "\n[Data]\nRegist=0\n");
    }
}

TEST_F(SettingsFileOnDisk, AbsentKeyIsWrittenAsGivenAtTheEndOfItsSection)
{
    Put("[Score]\nScore2=3\n\n[Data]\nRegist=0\n");
    EXPECT_TRUE(file.Write("Score", "Score1", "150", 1));
    EXPECT_EQ(Bytes(), "[Score]\nScore2=3\nScore1=150\n\n[Data]\nRegist=0\n");
}

TEST_F(SettingsFileOnDisk, EmptyValueAndMissingFileReadAsAbsent)
{
    std::string value = "stale";
    EXPECT_FALSE(file.Read("Score", "Score1", value));
    EXPECT_EQ(value, "");
    EXPECT_EQ(file.GetLastError(), "");
    EXPECT_TRUE(dir.Names().empty()) << "a read must not create the file";

    Put("[Score]\nScore1=\n");
    value = "stale";
    EXPECT_FALSE(file.Read("score", "SCORE1", value));
    EXPECT_EQ(value, "");
}

TEST_F(SettingsFileOnDisk, FirstWriteCreatesTheFileWithTheUsualPermissions)
{
    const mode_t mask = ::umask(022);
    ::umask(mask);
    EXPECT_TRUE(file.Write("Score", "Score1", "0", 1));
    EXPECT_EQ(Bytes(), "[Score]\nScore1=0\n");
    EXPECT_EQ(ModeOf(file.path) & 07777, 0666 & ~mask);
    EXPECT_FALSE(TemporariesLeft());
}

TEST_F(SettingsFileOnDisk, ReplacingKeepsTheFilePermissions)
{
    Put("[Score]\nScore1=1\n");
    ::chmod(file.path.c_str(), 0604);
    EXPECT_TRUE(file.Write("Score", "Score1", "2", 1));
    EXPECT_EQ(Bytes(), "[Score]\nScore1=2\n");
    EXPECT_EQ(ModeOf(file.path) & 07777, 0604u);
}

TEST_F(SettingsFileOnDisk, ReadOnlyFileIsRefusedAndKeptEvenForRoot)
{
    const std::string old = "[Score]\r\nScore1=1  ;mine\r\n";
    Put(old);
    ::chmod(file.path.c_str(), 0444);
    EXPECT_FALSE(file.Write("Score", "Score1", "2", 1));
    EXPECT_NE(Error().find("read-only"), std::string::npos);
    EXPECT_EQ(Bytes(), old);
    EXPECT_EQ(ModeOf(file.path) & 07777, 0444u);
    EXPECT_FALSE(TemporariesLeft());

    // Nothing to change: the file already holds the value.
    EXPECT_TRUE(file.Write("Score", "Score1", "1", 1));
    std::string value;
    EXPECT_TRUE(file.Read("Score", "Score1", value));
    EXPECT_EQ(value, "1  ;mine");
}

TEST_F(SettingsFileOnDisk, ReadOnlyDirectoryIsRefusedAndTheFileKept)
{
    ::chmod(dir.path.c_str(), 0755);
    const std::string locked = dir.File("locked");
    ::mkdir(locked.c_str(), 0755);
    file.path = locked + "/Setting.ini";
    const std::string old = "[Score]\nScore1=1\n";
    Put(old);
    ::chmod(file.path.c_str(), 0666);
    ::chmod(locked.c_str(), 0555);

    const std::optional<bool> failedClearly = AsUnprivileged([&] {
        SettingsFile other;
        other.path = file.path;
        const bool written = other.Write("Score", "Score1", "2", 1);
        const std::string error = other.GetLastError();
        return !written && error.find(file.path) != std::string::npos
               && error.find("Permission denied") != std::string::npos;
    });
    if (!failedClearly)
        GTEST_SKIP()
            << "running as root without the right to become another user: a read-only directory cannot be shown";
    EXPECT_TRUE(*failedClearly) << "the write should fail, naming the file and the denied permission";
    EXPECT_EQ(Bytes(), old);
    for (const auto& entry : std::filesystem::directory_iterator(locked))
        EXPECT_EQ(entry.path().filename(), "Setting.ini");
}

TEST_F(SettingsFileOnDisk, DirectoryInPlaceOfTheFileIsNeitherReadNorReplaced)
{
    ::mkdir(file.path.c_str(), 0755);
    std::string value;
    EXPECT_FALSE(file.Read("Score", "Score1", value));
    EXPECT_NE(Error().find("directory"), std::string::npos);
    EXPECT_FALSE(file.Write("Score", "Score1", "1", 1));
    EXPECT_NE(Error().find("directory"), std::string::npos);
    EXPECT_TRUE(S_ISDIR(ModeOf(file.path)));
    EXPECT_FALSE(TemporariesLeft());
}

TEST_F(SettingsFileOnDisk, FifoInPlaceOfTheFileIsRefusedWithoutWaiting)
{
    ASSERT_EQ(::mkfifo(file.path.c_str(), 0644), 0);
    std::string value;
    EXPECT_FALSE(file.Read("Score", "Score1", value));
    EXPECT_NE(Error().find("not a regular file"), std::string::npos);
    EXPECT_FALSE(file.Write("Score", "Score1", "1", 1));
    EXPECT_TRUE(S_ISFIFO(ModeOf(file.path)));
    EXPECT_FALSE(TemporariesLeft());
}

TEST_F(SettingsFileOnDisk, BinaryFileKeepsEveryByteAndGetsTheValueAppended)
{
    std::mt19937 random(7);
    std::string junk(1 << 16, '\0');
    for (char& c : junk) {
        c = static_cast<char>(random() & 0xFF);
        if (c == '[')
            c = '\0';
    }
    junk += "x"; // no line ending at the end
    Put(junk);
    EXPECT_TRUE(file.Write("Score", "Score1", "5", 1));
    const std::string bytes = Bytes();
    ASSERT_GT(bytes.size(), junk.size());
    EXPECT_EQ(bytes.substr(0, junk.size()), junk);
    std::string value;
    EXPECT_TRUE(file.Read("Score", "Score1", value));
    EXPECT_EQ(value, "5");
}

TEST_F(SettingsFileOnDisk, VeryLongLineStaysWhole)
{
    const std::string line = "; " + std::string(5 << 20, 'z') + "\r\n";
    Put(line + "[Score]\r\nScore1=1\r\n");
    EXPECT_TRUE(file.Write("Score", "Score1", "2", 1));
    EXPECT_EQ(Bytes(), line + "[Score]\r\nScore1=2\r\n");
}

TEST_F(SettingsFileOnDisk, FileOverTheSizeLimitIsRefusedUnread)
{
    Put("[Score]\nScore1=1\n");
    ASSERT_EQ(::truncate(file.path.c_str(), (129 << 20)), 0); // sparse: takes no space
    std::string value;
    EXPECT_FALSE(file.Read("Score", "Score1", value));
    EXPECT_NE(Error().find("larger than"), std::string::npos);
    EXPECT_FALSE(file.Write("Score", "Score1", "2", 1));
    struct stat st {};
    ::stat(file.path.c_str(), &st);
    EXPECT_EQ(st.st_size, 129 << 20);
    EXPECT_FALSE(TemporariesLeft());
}

TEST_F(SettingsFileOnDisk, MissingDirectoryFailsAndCreatesNothing)
{
    file.path = dir.File("missing/Setting.ini");
    std::string value;
    EXPECT_FALSE(file.Read("Score", "Score1", value));
    EXPECT_EQ(file.GetLastError(), "") << "an unreachable file reads as absent";
    EXPECT_FALSE(file.Write("Score", "Score1", "1", 1));
    EXPECT_NE(Error().find("No such file or directory"), std::string::npos);
    EXPECT_TRUE(dir.Names().empty());
}

TEST_F(SettingsFileOnDisk, ValueWithALineBreakIsRefusedNotWrittenAsExtraLines)
{
    const std::string old = "[Score]\nScore1=1\n";
    Put(old);
    EXPECT_FALSE(file.Write("Score", "Score1", "2\n[Data]\nRegist=9", 1));
    EXPECT_NE(Error().find("line break"), std::string::npos);
    EXPECT_EQ(Bytes(), old);
    EXPECT_FALSE(file.Write("Sc\rore", "Score1", "2", 1));
    EXPECT_EQ(Bytes(), old);
}

TEST_F(SettingsFileOnDisk, SymbolicLinkStaysAndItsTargetIsReplaced)
{
    ::mkdir(dir.File("real").c_str(), 0755);
    PutBytes(dir.File("real/kept.ini"), "[Score]\nScore1=1\n");
    ASSERT_EQ(::symlink("real/kept.ini", file.path.c_str()), 0);
    EXPECT_TRUE(file.Write("Score", "Score1", "2", 1));
    EXPECT_TRUE(S_ISLNK(ModeOf(file.path)));
    EXPECT_EQ(BytesOf(dir.File("real/kept.ini")), "[Score]\nScore1=2\n");

    // A link to a file not there yet: the file is made where the link leads.
    ::unlink(file.path.c_str());
    ASSERT_EQ(::symlink("real/new.ini", file.path.c_str()), 0);
    EXPECT_TRUE(file.Write("Score", "Score1", "3", 1));
    EXPECT_TRUE(S_ISLNK(ModeOf(file.path)));
    EXPECT_EQ(BytesOf(dir.File("real/new.ini")), "[Score]\nScore1=3\n");
}

TEST_F(SettingsFileOnDisk, LoopingSymbolicLinksFailClearly)
{
    ASSERT_EQ(::symlink("other", file.path.c_str()), 0);
    ASSERT_EQ(::symlink("Setting.ini", dir.File("other").c_str()), 0);
    EXPECT_FALSE(file.Write("Score", "Score1", "1", 1));
    EXPECT_NE(Error().find("symbolic links"), std::string::npos);
}

TEST_F(SettingsFileOnDisk, TemporariesOfDeadProcessesAreRemovedOthersKept)
{
    Put("[Score]\nScore1=1\n");
    const std::string dead = ".Setting.ini.tmp-" + std::to_string(NeverAProcess) + "-0.1";
    const std::string mine = ".Setting.ini.tmp-" + std::to_string(::getpid()) + "-999.1";
    const std::string living = ".Setting.ini.tmp-" + std::to_string(::getppid()) + "-0.1";
    const std::string foreign = ".Other.ini.tmp-" + std::to_string(NeverAProcess) + "-0.1";
    for (const std::string& name : {dead, mine, living, foreign})
        PutBytes(dir.File(name), "half");
    file.RemoveStaleTemporaries();
    std::vector<std::string> names = dir.Names();
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected = {"Setting.ini", living, foreign};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
}

TEST_F(SettingsFileOnDisk, SaveKilledHalfWayLeavesTheOldOrTheNewFileWhole)
{
    const std::string oldText = "[Score]\nScore1=" + std::string(1 << 20, 'a') + "\n";
    const std::string newText = "[Score]\nScore1=" + std::string(1 << 20, 'b') + "\n";
    Put(oldText);
    const pid_t child = ::fork();
    if (child == 0) {
        // Bounded, so that a child whose parent died before killing it does not save forever.
        SettingsFile writer;
        writer.path = file.path;
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        for (int i = 0; std::chrono::steady_clock::now() < deadline; ++i)
            writer.Write("Score", "Score1", std::string(1 << 20, i % 2 == 0 ? 'b' : 'a'), 0);
        ::_exit(0);
    }
    std::this_thread::sleep_for(150ms);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string bytes = Bytes();
    EXPECT_TRUE(bytes == oldText || bytes == newText) << "the file is damaged";
    file.RemoveStaleTemporaries();
    EXPECT_FALSE(TemporariesLeft());
}

TEST_F(SettingsFileOnDisk, ThreadsSharingOneFileLoseNoValue)
{
    const auto writeKeys = [this](char prefix) {
        for (int i = 0; i < 15; ++i)
            file.Write("Score", prefix + std::to_string(i), std::to_string(i), 1);
    };
    std::thread first(writeKeys, 'a');
    std::thread second(writeKeys, 'b');
    first.join();
    second.join();
    const IniDocument written(Bytes());
    for (const char prefix : {'a', 'b'}) {
        for (int i = 0; i < 15; ++i)
            EXPECT_EQ(written.Find("Score", prefix + std::to_string(i)), std::to_string(i));
    }
}

TEST_F(SettingsFileOnDisk, ErrorStaysOnOneLineWhateverThePath)
{
    const std::string odd = dir.File("line\nbreak");
    ::mkdir(odd.c_str(), 0755);
    file.path = odd + "/Setting.ini";
    ::mkdir(file.path.c_str(), 0755);
    EXPECT_FALSE(file.Write("Score", "Score1", "1", 1));
    EXPECT_EQ(file.GetLastError().find('\n'), std::string::npos);
    EXPECT_NE(file.GetLastError().find("line?break/Setting.ini"), std::string::npos) << file.GetLastError();
}

TEST_F(SettingsFileOnDisk, BatchReachesTheFileOnlyAtCommitAndAllAtOnce)
{
    const std::string old = "[Score]\r\nScore1=1  ;mine\r\n";
    Put(old);
    ASSERT_TRUE(file.BeginBatch());
    EXPECT_TRUE(file.Write("Score", "Score1", "2", 1));
    EXPECT_TRUE(file.Write("Data", "PlayNum", "3", 1));
    std::string value;
    EXPECT_TRUE(file.Read("Score", "Score1", value));
    EXPECT_EQ(value, "2  ;mine") << "reads in a batch see its writes";
    EXPECT_EQ(Bytes(), old) << "nothing reaches the file before the commit";
    EXPECT_TRUE(file.CommitBatch());
    EXPECT_EQ(Bytes(), "[Score]\r\nScore1=2  ;mine\r\n[Data]\r\nPlayNum=3\r\n");
    EXPECT_FALSE(TemporariesLeft());

    // Back to reading the file itself.
    Put("[Score]\nScore1=9\n");
    EXPECT_TRUE(file.Read("Score", "Score1", value));
    EXPECT_EQ(value, "9");
}

TEST_F(SettingsFileOnDisk, BatchReadsOneVersionOfTheFile)
{
    Put("[Score]\nScore1=1\nScore2=1\n");
    ASSERT_TRUE(file.BeginBatch());
    std::string first;
    EXPECT_TRUE(file.Read("Score", "Score1", first));
    Put("[Score]\nScore1=2\nScore2=2\n");
    std::string second;
    EXPECT_TRUE(file.Read("Score", "Score2", second));
    EXPECT_EQ(first + second, "11");
    EXPECT_TRUE(file.CommitBatch());
    EXPECT_EQ(Bytes(), "[Score]\nScore1=2\nScore2=2\n") << "a batch without changes writes nothing";
}

TEST_F(SettingsFileOnDisk, BatchWithoutChangeLeavesEvenAReadOnlyFileAlone)
{
    const std::string old = "[Score]\nScore1=1\n";
    Put(old);
    ::chmod(file.path.c_str(), 0444);
    struct stat before {};
    ::stat(file.path.c_str(), &before);
    ASSERT_TRUE(file.BeginBatch());
    EXPECT_TRUE(file.Write("Score", "Score1", "1", 1));
    EXPECT_TRUE(file.CommitBatch());
    struct stat after {};
    ::stat(file.path.c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);

    ASSERT_TRUE(file.BeginBatch());
    EXPECT_TRUE(file.Write("Score", "Score1", "2", 1));
    EXPECT_FALSE(file.CommitBatch());
    EXPECT_NE(Error().find("read-only"), std::string::npos);
    EXPECT_EQ(Bytes(), old);
    EXPECT_FALSE(TemporariesLeft());
}

TEST_F(SettingsFileOnDisk, BatchOverAnUnreadableFileIsRefusedAndWritesFailAlone)
{
    ::mkdir(file.path.c_str(), 0755);
    EXPECT_FALSE(file.BeginBatch());
    EXPECT_NE(Error().find("directory"), std::string::npos);
    EXPECT_FALSE(file.Write("Score", "Score1", "1", 1));
    EXPECT_NE(Error().find("not saved"), std::string::npos);
    EXPECT_TRUE(file.CommitBatch()) << "there is no batch to commit";
    EXPECT_TRUE(S_ISDIR(ModeOf(file.path)));
}
