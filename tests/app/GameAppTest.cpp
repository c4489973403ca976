// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/AboutDialog.h"
#include "app/GameApp.h"
#include "app/MainDialog.h"
#include "app/Translation.h"
#include "persist/ScoreTable.h"
#include "tests/render/LabelRecorder.h"

#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QFontMetricsF>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The labels of a drawing whose ink is wider than their rectangle, so cut at its edges. The ink,
// not the advance: a full-width glyph has room at its sides. Measured at the device's own pixel
// size, where the glyphs may be hinted otherwise.
std::vector<std::string> CutLabels(const LabelRecorder& drawing)
{
    std::vector<std::string> cut;
    for (const LabelRecorder::Label& label : drawing.labels) {
        QFont font(QStringLiteral("IPAGothic"));
        font.setPixelSize(std::max(qRound(label.pixelSize * drawing.Scale()), 1));
        const qreal ink = QFontMetricsF(font).tightBoundingRect(QString::fromStdString(label.text)).width();
        if (ink > label.rect.Width() * drawing.Scale())
            cut.push_back(label.text);
    }
    return cut;
}

// Runs the program's course in a fresh working directory of its own.
class GameAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = fs::current_path();
        directory = fs::temp_directory_path() / ("tocklet-app-" + std::to_string(::getpid()));
        fs::remove_all(directory);
        fs::create_directories(directory);
        fs::current_path(directory);
    }

    void TearDown() override
    {
        fs::current_path(previous);
        fs::remove_all(directory);
    }

    // Clicks the drawn Exit button of the main window as soon as it is up.
    static void ClickExitWhenShown()
    {
        QTimer::singleShot(50, [] {
            auto* dialog = qobject_cast<MainDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                ClickExitWhenShown();
                return;
            }
            QTest::mouseClick(dialog->windowHandle(), Qt::LeftButton, {}, QPoint(220, 290));
        });
    }

    // Runs the action on the main window once it is up.
    static void WhenShown(const std::function<void(MainDialog&)>& action)
    {
        QTimer::singleShot(50, [action] {
            auto* dialog = qobject_cast<MainDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                WhenShown(action);
            else
                action(*dialog);
        });
    }

    static std::string Contents(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path previous;
    fs::path directory;
};

} // namespace

TEST_F(GameAppTest, ExitSavesTheTableIntoTheWorkingDirectory)
{
    {
        std::ofstream file("Setting.ini", std::ios::binary);
        file << "[Score]\nTime1=12.5  ;best of the week\n[Mine]\nkept=yes\n";
    }
    ScoreTable table;
    std::ostringstream errors;
    ClickExitWhenShown();
    EXPECT_EQ(GameApp(table).InitInstance(errors), 0);
    EXPECT_EQ(errors.str(), "");
    EXPECT_DOUBLE_EQ(table.GetTime(0), 12.5);

    const std::string saved = Contents("Setting.ini");
    EXPECT_NE(saved.find("Time1=12.5  ;best of the week"), std::string::npos) << saved;
    EXPECT_NE(saved.find("[Mine]\nkept=yes\n"), std::string::npos) << saved;
    EXPECT_NE(saved.find("PlayNum=1"), std::string::npos) << saved;
}

TEST_F(GameAppTest, AFailedSaveIsReportedInOneLineAndTheProgramStillEnds)
{
    fs::create_directory("Setting.ini");
    ScoreTable table;
    std::ostringstream errors;
    ClickExitWhenShown();
    EXPECT_EQ(GameApp(table).InitInstance(errors), 0);
    const std::string report = errors.str();
    EXPECT_NE(report.find("Setting.ini"), std::string::npos) << report;
    ASSERT_FALSE(report.empty());
    EXPECT_EQ(report.find('\n'), report.size() - 1) << "one line: " << report;
    EXPECT_TRUE(fs::is_directory("Setting.ini"));
}

TEST_F(GameAppTest, ALostGameIsRecordedSavedAtOnceAndShownOnTheTitle)
{
    {
        std::ofstream file("Setting.ini", std::ios::binary);
        file << "[Score]\nScore1=1\nScore2=2\nTime1=30.5  ;mine\nTime2=40.2\n";
    }
    ScoreTable table;
    std::ostringstream errors;
    std::string bestAtStart;
    std::vector<std::tuple<std::string, std::string, int>> titles;
    std::string savedBeforeExit;
    WhenShown([&](MainDialog& dialog) {
        const GameScreen& screen = dialog.GetGameScreen();
        bestAtStart = screen.GetTitleStatusText();
        // Shown at once, marked until its save is done.
        const auto told = [&](const GameResult& result) {
            dialog.GameEnded(result);
            QTest::qWait(20);
            EXPECT_TRUE(QTest::qWaitFor(
                [&] { return screen.GetTitleResultText().find("※未保存") == std::string::npos; }));
            titles.emplace_back(screen.GetTitleStatusText(), screen.GetTitleResultText(),
                                screen.GetMarkedRecord());
        };
        told(GameResult{false, 99.0, 9, nullptr}); // Finish!!: nothing to record
        told(GameResult{true, 23.4, 3, nullptr});
        told(GameResult{true, 60.0, 7, nullptr});
        savedBeforeExit = Contents("Setting.ini");
        QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {}, QPoint(220, 290));
    });
    EXPECT_EQ(GameApp(table).InitInstance(errors), 0);
    EXPECT_EQ(errors.str(), "");

    EXPECT_EQ(bestAtStart, "ベストタイム:30.5秒") << "the first time is the best, even below the second";
    // The records mark the place of the last game recorded, wherever later games moved it.
    const std::vector<std::tuple<std::string, std::string, int>> expected{
        {"ベストタイム:30.5秒", "", -1},
        {"ベストタイム:30.5秒", "今回のタイム:23.4秒", 2},
        {"ベストタイム:60.0秒", "★新記録★　今回のタイム:60.0秒", 0},
    };
    EXPECT_EQ(titles, expected);
    // In its place before the first time it beats, its score beside it; nothing else sorted.
    const std::vector<double> times(table.times.begin(), table.times.end());
    const std::vector<int> scores(table.scores.begin(), table.scores.end());
    EXPECT_EQ(times, (std::vector<double>{60.0, 30.5, 40.2, 23.4, 0.0}));
    EXPECT_EQ(scores, (std::vector<int>{7, 1, 2, 3, 0}));
    EXPECT_NE(savedBeforeExit.find("Time4=23.4"), std::string::npos) << savedBeforeExit;
    EXPECT_NE(savedBeforeExit.find("Time1=60  ;mine"), std::string::npos) << savedBeforeExit;
    EXPECT_EQ(Contents("Setting.ini"), savedBeforeExit) << "Exit writes the same table again";
}

TEST_F(GameAppTest, MSwitchesTheSoundOnEveryScreenSaysSoForASecondAndIsKept)
{
    {
        std::ofstream file("Setting.ini", std::ios::binary);
        file << "[Sound]\nOn=0\n";
    }
    ScoreTable table;
    std::ostringstream errors;
    std::vector<bool> soundOn;
    std::vector<std::optional<bool>> notices;
    WhenShown([&](MainDialog& dialog) {
        const auto pressM = [&] {
            QTest::keyClick(&dialog, Qt::Key_M);
            soundOn.push_back(dialog.IsSoundOn());
            notices.push_back(dialog.GetGameScreen().GetSoundNotice());
        };
        soundOn.push_back(dialog.IsSoundOn());
        pressM(); // on the title
        QTest::keyClick(&dialog, Qt::Key_R);
        pressM(); // on the records
        QTest::keyClick(&dialog, Qt::Key_R);
        QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {}, QPoint(220, 222));
        pressM(); // during play
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.GetGameScreen().GetSoundNotice(); }, 10'000));
        notices.push_back(dialog.GetGameScreen().GetSoundNotice());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {}, QPoint(220, 290));
    });
    EXPECT_EQ(GameApp(table).InitInstance(errors), 0);
    EXPECT_EQ(soundOn, (std::vector<bool>{false, true, false, true})) << "the file said off";
    EXPECT_EQ(notices, (std::vector<std::optional<bool>>{true, false, true, std::nullopt}));
    EXPECT_NE(Contents("Setting.ini").find("[Sound]\nOn=1\n"), std::string::npos) << Contents("Setting.ini");
}

// Another copy of the program in the same folder saves a record during a game.
TEST_F(GameAppTest, TheTitleAndExitKeepARecordAnotherCopySaved)
{
    ScoreTable table;
    std::ostringstream errors;
    std::string bestAfterEscape;
    WhenShown([&](MainDialog& dialog) {
        QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {}, QPoint(220, 222));
        ScoreTable other;
        other.RecordAndSave(42.5, 3);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return dialog.GetGameScreen().GetTitleStatusText() != "ベストタイム:0.0秒"; }));
        bestAfterEscape = dialog.GetGameScreen().GetTitleStatusText();
        QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {}, QPoint(220, 290));
    });
    EXPECT_EQ(GameApp(table).InitInstance(errors), 0);
    EXPECT_EQ(errors.str(), "");
    EXPECT_EQ(bestAfterEscape, "ベストタイム:42.5秒");
    EXPECT_NE(Contents("Setting.ini").find("Time1=42.5"), std::string::npos) << Contents("Setting.ini");
}

TEST(GameApp, ASeedIsADecimalNumberThatFitsInThirtyTwoBits)
{
    const std::pair<const char*, std::optional<std::uint32_t>> cases[] = {
        {"42", 42u},
        {"0", 0u},
        {"4294967295", 4294967295u},
        {"4294967296", std::nullopt},
        {"-1", std::nullopt},
        {"12x", std::nullopt},
        {"", std::nullopt},
        {" 5", std::nullopt},
        {"+5", std::nullopt},
    };
    for (const auto& [text, seed] : cases)
        EXPECT_EQ(ParseSeed(text), seed) << '"' << text << '"';
}

// A file of one key and a remark comes back whole however the program is asked to end.
TEST_F(GameAppTest, SignalsDuringAGameEndItAsExitDoesAndSaveTheTable)
{
    for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
        {
            std::ofstream file("Setting.ini", std::ios::binary);
            file << "[Score]\nTime1=12.5  ;best of the week\n";
        }
        ScoreTable table;
        std::ostringstream errors;
        WhenShown([number](MainDialog& dialog) {
            QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {}, QPoint(220, 222));
            ASSERT_TRUE(dialog.GetGameScreen().IsPlaying());
            // The second arrives while the first waits to be handled.
            std::raise(number);
            std::raise(number);
        });
        EXPECT_EQ(GameApp(table).InitInstance(errors), 0) << number;
        const std::string saved = Contents("Setting.ini");
        EXPECT_NE(saved.find("Time1=12.5  ;best of the week"), std::string::npos) << saved;
        EXPECT_NE(saved.find("Time5="), std::string::npos) << saved;
        EXPECT_NE(saved.find("PlayNum=1"), std::string::npos) << saved;
        struct sigaction restored {};
        sigaction(number, nullptr, &restored);
        EXPECT_EQ(restored.sa_handler, SIG_DFL) << "the handler stayed after the program's course";
    }
}

// The session manager's order to end comes as a Quit event, here with the About box open.
TEST_F(GameAppTest, TheEndOfTheSessionClosesTheAboutBoxAndSavesTheTable)
{
    ScoreTable table;
    std::ostringstream errors;
    // An About box that stays would keep the program's course from ending: fail, and close it.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (auto* about = qobject_cast<AboutDialog*>(QApplication::activeModalWidget())) {
            ADD_FAILURE() << "the About box is still open 5 s after the quit request";
            about->reject();
        }
    });
    guard.start(5000);
    WhenShown([](MainDialog& dialog) {
        QTimer::singleShot(50, [] {
            QEvent quit(QEvent::Quit);
            QCoreApplication::sendEvent(qApp, &quit);
        });
        dialog.OnAbout();
    });
    EXPECT_EQ(GameApp(table).InitInstance(errors), 0);
    EXPECT_NE(Contents("Setting.ini").find("PlayNum=1"), std::string::npos) << Contents("Setting.ini");
}

// Every text a player reads fits where it is drawn, in every language and at ratio 1 and 2,
// with the longest numbers a table can show: the title after a new best that could not be
// saved, the records, the play scene with the hint, the time and each banner, and the About box.
TEST_F(GameAppTest, EveryTextFitsItsPlaceInEveryLanguage)
{
    for (const QString& language : QStringList{QString()} + AvailableTranslations()) {
        SCOPED_TRACE(language.toStdString());
        ASSERT_TRUE(UseTranslation(language));
        {
            std::ofstream file("Setting.ini", std::ios::binary);
            file << "[Score]\n";
            for (int i = 1; i <= ScoreTable::Count; ++i)
                file << "Time" << i << "=99999.8\nScore" << i << "=99999\n";
        }
        fs::permissions("Setting.ini", fs::perms::owner_read);
        ScoreTable table;
        ASSERT_TRUE(table.Load());
        MainDialog dialog(table);
        dialog.GameEnded(GameResult{true, 99999.9, 99999, nullptr});
        GameScreen& screen = dialog.GetGameScreen();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !screen.GetTitleResultText().empty(); }));
        dialog.FinishSaves();
        QCoreApplication::processEvents();
        std::vector<std::string> cut;
        const auto draw = [&](const std::string& message) {
            for (const qreal scale : {1.0, 2.0}) {
                LabelRecorder dc(MainDialog::ClientWidth, MainDialog::ClientHeight, scale);
                screen.Draw(dc, message);
                const std::vector<std::string> labels = CutLabels(dc);
                cut.insert(cut.end(), labels.begin(), labels.end());
            }
        };
        ASSERT_EQ(screen.GetMarkedRecord(), 0);
        draw("");
        Screen::RecordRows rows = screen.GetRecords();
        for (RecordRow& row : rows)
            row.replay = true;
        screen.SetRecords(rows, 0);
        screen.ShowRecords(true);
        draw("");
        screen.ShowRecords(false);
        screen.BeginGame();
        screen.SetPlaying(true);
        screen.SetStatusText(MakePlayTimeText()(99999.9));
        for (const char* banner : {"", "GameOver!!", "Finish!!", "Pause"})
            draw(banner);
        for (const bool soundOn : {false, true}) {
            screen.SetSoundNotice(soundOn);
            draw("");
        }
        screen.SetSoundNotice(std::nullopt);
        auto longest = std::make_shared<Replay>();
        longest->seconds = 99999.9;
        longest->score = 99999;
        ReplayThread replay;
        replay.Prepare(screen, longest, ScoreTable::Count - 1, {});
        screen.BeginReplay();
        screen.SetPlaying(true);
        screen.SetStatusText(replay.EndLine());
        draw("GameOver!!");
        screen.SetFieldNotice(replay.EndText(ReplayPlayer::State::Departed).toStdString());
        draw("");
        const AboutDialog about;
        for (const QLabel* label : about.findChildren<QLabel*>())
            if (label->fontMetrics().horizontalAdvance(label->text()) > label->width())
                cut.push_back(label->text().toStdString());
        EXPECT_TRUE(cut.empty()) << testing::PrintToString(cut);
    }
    UseTranslation({});
}
