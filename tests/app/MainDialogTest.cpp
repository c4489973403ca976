// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/AboutDialog.h"
#include "app/MainDialog.h"
#include "audio/Mixer.h"
#include "audio/SoundBank.h"
#include "base/SecondsText.h"
#include "model/ShadowRule.h"
#include "persist/FolderLock.h"
#include "persist/ReplayFile.h"
#include "persist/ReplayShelf.h"
#include "persist/ScoreTable.h"
#include "tests/render/LabelRecorder.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <system_error>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

const QPoint StartCentre{220, 222};
const QPoint ExitCentre{220, 290};
const QPoint Field{40, 360};
const QPoint ReadCentre{389, 29};

double SecondsIn(const std::string& timeText)
{
    return std::stod(timeText.substr(std::string("[時間:").size()));
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 2000)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

// The working directory, and so the table's file, of one test: made empty, removed after.
class ScratchFolder {
public:
    ScratchFolder()
        : previous(fs::current_path())
        , path(fs::temp_directory_path() / ("tocklet-dialog-" + std::to_string(::getpid())))
    {
        fs::remove_all(path);
        fs::create_directories(path);
        fs::current_path(path);
    }
    ~ScratchFolder()
    {
        fs::current_path(previous);
        fs::remove_all(path);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

private:
    fs::path previous;
    fs::path path;
};

class MainDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        window = dialog.windowHandle();
    }

    void Press(QPoint at) { QTest::mousePress(window, Qt::LeftButton, {}, at); }
    void Release(QPoint at) { QTest::mouseRelease(window, Qt::LeftButton, {}, at); }
    void MoveTo(QPoint at) { QTest::mouseMove(window, at); }
    void Click(QPoint at)
    {
        Press(at);
        Release(at);
    }
    // Returns once the game loop has written its first time text: it has reset the world by
    // then, so a swing made from here on stays.
    void StartGame()
    {
        Click(StartCentre);
        ASSERT_TRUE(dialog.GetGameScreen().IsPlaying());
        ASSERT_TRUE(WaitFor([&] { return !Time().empty(); }));
        ASSERT_TRUE(dialog.GetGameThread().IsRunning());
    }
    // A weight hung by the mouse; the first of a game sets its time running.
    void HangAWeight()
    {
        Press(QPoint(200, 100));
        MoveTo(QPoint(230, 140));
        Release(QPoint(230, 140));
    }
    bool Playing() { return dialog.GetGameScreen().IsPlaying(); }
    // Escape or a close request: back on the title screen at once, the window still up, and
    // the game thread ended shortly after.
    void StopBy(bool closeRequest)
    {
        if (closeRequest)
            dialog.close();
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_FALSE(Playing()) << "back on the title screen at once";
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(WaitFor([&] { return !dialog.GetGameThread().IsRunning(); }, 500));
    }
    std::string Banner() { return dialog.GetGameThread().GetMessageText(); }
    std::string ReplayBanner() { return dialog.GetReplayThread().GetMessageText(); }
    // A short game from a fixed seed, lost: its one weight, hung level with its anchor at the
    // bottom edge, drops off the field for good. Returns once the title shows again.
    void LoseAGame()
    {
        World& world = dialog.GetGameScreen().GetWorld();
        world.FixSeed(20261208);
        world.rule.graceTicks = 20;
        StartGame();
        Press(QPoint(200, 400));
        MoveTo(QPoint(230, 400));
        Release(QPoint(260, 400));
        ASSERT_TRUE(WaitFor([&] { return !Playing(); }, 20000));
    }
    // The records, once the keeper has found the replay of the row at place.
    void ShowRecordsWithReplayAt(int place)
    {
        QTest::keyClick(&dialog, Qt::Key_R);
        ASSERT_TRUE(dialog.GetGameScreen().IsShowingRecords());
        ASSERT_TRUE(WaitFor([&] { return dialog.GetGameScreen().GetRecords()[place].replay; }, 5000));
    }
    std::string Time() { return dialog.GetGameScreen().GetStatusText(); }
    // The game thread shows a pause once it has parked; only from then on does the time hold.
    bool PausedWithBanner()
    {
        return WaitFor([&] { return Banner() == "Pause"; });
    }
    // The pale blue band behind the banner text, at the left end of the band.
    bool BandShown() { return dialog.grab().toImage().pixelColor(20, 190) == QColor(0xB7, 0xC4, 0xE0); }
    int Swings() { return dialog.GetGameScreen().GetWorld().GetSwingCount(); }
    // Whether the screen, drawn now, shows the text.
    bool Shows(const std::string& text)
    {
        LabelRecorder drawing(MainDialog::ClientWidth, MainDialog::ClientHeight);
        dialog.GetGameScreen().Draw(drawing, "");
        return drawing.Says(text);
    }

    // Gone after the dialog, which may save into it until then.
    ScratchFolder folder;
    ScoreTable table;
    MainDialog dialog{table};
    QWindow* window = nullptr;
};

} // namespace

TEST_F(MainDialogTest, HasItsCaptionSizeAndLayout)
{
    EXPECT_EQ(dialog.windowTitle(), "Tocklet");
    EXPECT_EQ(dialog.size(), QSize(449, 407));
    const GameScreen& screen = dialog.GetGameScreen();
    EXPECT_EQ(screen.areaRect, (Rect{0, 0, 449, 407}));
    EXPECT_EQ(screen.titleRect, (Rect{93, 66, 348, 131}));
    EXPECT_EQ(screen.GetButtonRect(TitleButton::Start), (Rect{159, 201, 281, 243}));
    EXPECT_EQ(screen.GetButtonRect(TitleButton::Exit), (Rect{159, 269, 281, 311}));
    EXPECT_EQ(screen.stopRect, Rect{});
    // The program's controls keep their ids.
    EXPECT_EQ(dialog.GetControlRect(1), screen.GetButtonRect(TitleButton::Exit));
    EXPECT_EQ(dialog.GetControlRect(1001), screen.GetButtonRect(TitleButton::Start));
    EXPECT_EQ(dialog.GetControlRect(1003), screen.GetButtonRect(TitleButton::Read));
    EXPECT_EQ(dialog.GetControlRect(1002), Rect{});
    // Read takes a corner of the field that nothing else of the title uses.
    const Rect read = screen.GetButtonRect(TitleButton::Read);
    EXPECT_FALSE(IsRectEmpty(read));
    EXPECT_TRUE(PtInRect(screen.areaRect, {read.left, read.top}));
    EXPECT_TRUE(PtInRect(screen.areaRect, {read.right - 1, read.bottom - 1}));
    EXPECT_LE(read.bottom, screen.titleRect.top) << "above the title panel and all below it";
    EXPECT_EQ(screen.GetTitleStatusText(), "ベストタイム:0.0秒");
    EXPECT_FALSE(dialog.windowIcon().isNull());
}

TEST_F(MainDialogTest, OnlyAReleaseOnStartStartsAGame)
{
    Press(StartCentre);
    Release(Field);
    EXPECT_FALSE(Playing());
    EXPECT_FALSE(dialog.GetGameThread().IsRunning());

    Press(Field);
    EXPECT_FALSE(Playing()) << "a press alone does nothing on the title screen";
    Release(StartCentre);
    EXPECT_TRUE(Playing());
    EXPECT_TRUE(WaitFor([&] { return dialog.GetGameThread().IsRunning(); }));
    EXPECT_TRUE(WaitFor([&] { return !Time().empty(); }));
    HangAWeight();
    EXPECT_TRUE(WaitFor([&] { return dialog.GetGameScreen().GetStatusText() == "[時間:0.1秒]"; }));
}

TEST_F(MainDialogTest, ReleaseOnExitClosesTheWindowOnlyOnTheTitleScreen)
{
    StartGame();
    Press(ExitCentre - QPoint(30, 0));
    MoveTo(ExitCentre);
    Release(ExitCentre);
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(Swings(), 1);
    const auto swing = dialog.GetGameScreen().GetWorld().swings.GetAt(0);
    EXPECT_TRUE(swing->IsActive());
    EXPECT_EQ(swing->ropeLength, 30);

    QTest::keyClick(&dialog, Qt::Key_Escape);
    ASSERT_FALSE(Playing());
    Click(ExitCentre);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.GetGameThread().IsRunning());
}

// Exit's click would never be heard, the program ending first: it makes none.
TEST_F(MainDialogTest, TheTitleButtonsClickButExit)
{
    const SoundBank bank(48000);
    Mixer mixer(bank);
    mixer.SetListening(true);
    dialog.SetSound(&mixer);
    // Two seconds of what the mixer plays.
    const auto heard = [&] {
        std::vector<std::int16_t> samples(96000);
        mixer.Render(samples);
        return std::any_of(samples.begin(), samples.end(), [](std::int16_t sample) { return sample != 0; });
    };
    Click(ReadCentre);
    EXPECT_TRUE(heard());
    QTest::keyClick(&dialog, Qt::Key_R);
    Click(ExitCentre);
    ASSERT_FALSE(dialog.isVisible());
    EXPECT_FALSE(heard());
    dialog.SetSound(nullptr);
}

TEST_F(MainDialogTest, EscapeAndCloseRequestsStopTheGameAndKeepTheWindow)
{
    for (const bool byCloseRequest : {false, true}) {
        StartGame();
        StopBy(byCloseRequest);
    }
    // On the title screen they change nothing either.
    QTest::keyClick(&dialog, Qt::Key_Escape);
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible()) << "Enter must not end the window";
}

TEST_F(MainDialogTest, AButtonHeldThroughEscapeIsReleasedOnTheTitleScreen)
{
    StartGame();
    Press(Field);
    ASSERT_EQ(Swings(), 1);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    Release(Field);
    const auto swing = dialog.GetGameScreen().GetWorld().swings.GetAt(0);
    EXPECT_FALSE(swing->IsActive()) << "the release is no swing gesture any more";
    EXPECT_FALSE(Playing());
    EXPECT_TRUE(dialog.isVisible());

    // The same held button released over Start starts the next game.
    StartGame();
    Press(Field);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    ASSERT_TRUE(WaitFor([&] { return !dialog.GetGameThread().IsRunning(); }));
    Release(StartCentre);
    EXPECT_TRUE(Playing());
    EXPECT_TRUE(WaitFor([&] { return Swings() == 0; })) << "a new game starts without swings";
}

TEST_F(MainDialogTest, HoverRepaintsOnceOnEnteringAndOnceOnLeaving)
{
    MoveTo(Field);
    QApplication::processEvents();
    const int before = dialog.GetInvalidateCount();
    MoveTo(StartCentre);
    EXPECT_EQ(dialog.GetInvalidateCount(), before + 1);
    EXPECT_TRUE(dialog.GetGameScreen().IsHovered(TitleButton::Start));
    MoveTo(StartCentre + QPoint(5, 3));
    MoveTo(StartCentre + QPoint(-20, 10));
    EXPECT_EQ(dialog.GetInvalidateCount(), before + 1) << "moving inside the button repaints nothing";
    MoveTo(Field);
    EXPECT_EQ(dialog.GetInvalidateCount(), before + 2);
    EXPECT_FALSE(dialog.GetGameScreen().IsHovered(TitleButton::Start));
}

TEST_F(MainDialogTest, DraggingDuringPlayCarriesTheWeight)
{
    StartGame();
    Press(QPoint(200, 100));
    MoveTo(QPoint(230, 140));
    const auto swing = dialog.GetGameScreen().GetWorld().swings.GetAt(0);
    ASSERT_TRUE(swing);
    EXPECT_EQ(swing->GetPoint(), (Point{230, 140}));
    EXPECT_FALSE(swing->IsActive());
    Release(QPoint(230, 140));
    EXPECT_EQ(swing->ropeLength, 50);
    EXPECT_TRUE(WaitFor([&] { return swing->updateCount > 3; }));
}

TEST_F(MainDialogTest, TheContextMenuOffersTheAboutEntry)
{
    QString offered;
    QTimer::singleShot(100, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions())
                offered += action->text();
            menu->close();
        }
    });
    QTest::mouseClick(window, Qt::RightButton, {}, Field);
    QTest::qWait(300);
    EXPECT_EQ(offered, QString::fromUtf8("Tocklet のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
    EXPECT_EQ(dialog.GetAboutAction()->text(), offered);
}

TEST_F(MainDialogTest, AboutBoxOpensFromTheMenuEntryAndF1WhileTheGameGoesOn)
{
    StartGame();
    HangAWeight();
    for (const bool byKey : {false, true}) {
        bool sawAbout = false;
        std::string timeBefore;
        std::string timeAfter;
        QTimer::singleShot(50, [&] {
            auto* about = qobject_cast<AboutDialog*>(QApplication::activeModalWidget());
            sawAbout = about != nullptr;
            timeBefore = dialog.GetGameScreen().GetStatusText();
            QTest::qWait(250);
            timeAfter = dialog.GetGameScreen().GetStatusText();
            if (about)
                about->accept();
        });
        if (byKey)
            QTest::keyClick(&dialog, Qt::Key_F1);
        else
            dialog.GetAboutAction()->trigger();
        EXPECT_TRUE(sawAbout);
        EXPECT_NE(timeBefore, timeAfter) << "the game keeps ticking behind the About box";
        EXPECT_TRUE(Playing());
        EXPECT_TRUE(dialog.GetGameThread().IsRunning());
    }
}

TEST_F(MainDialogTest, GameThreadRepaintsTheWindowEveryPass)
{
    const int before = dialog.GetInvalidateCount();
    StartGame();
    QTest::qWait(200);
    EXPECT_GT(dialog.GetInvalidateCount() - before, 5);
}

TEST_F(MainDialogTest, PAndSpacePauseAndResumeTheGame)
{
    for (const Qt::Key key : {Qt::Key_P, Qt::Key_Space}) {
        SCOPED_TRACE(key == Qt::Key_P ? "P" : "Space");
        StartGame();
        HangAWeight();
        ASSERT_TRUE(WaitFor([&] { return Time() == "[時間:0.2秒]"; }));
        EXPECT_FALSE(BandShown());

        QTest::keyClick(&dialog, key);
        ASSERT_TRUE(PausedWithBanner());
        const std::string held = Time();
        QTest::qWait(500);
        EXPECT_EQ(Time(), held) << "the time holds through the pause";
        EXPECT_TRUE(BandShown());
        EXPECT_TRUE(Playing());

        QTest::keyClick(&dialog, key);
        ASSERT_TRUE(WaitFor([&] { return Banner().empty(); }));
        EXPECT_FALSE(BandShown());
        ASSERT_TRUE(WaitFor([&] { return Time() != held; }));
        EXPECT_NEAR(SecondsIn(Time()), SecondsIn(held) + 0.1, 0.25) << "the time goes on from " << held;
        QTest::keyClick(&dialog, Qt::Key_Escape);
    }
}

TEST_F(MainDialogTest, PauseKeysDoNothingOnTheTitleScreenOrAsChordsOrRepeats)
{
    QTest::keyClick(&dialog, Qt::Key_P);
    EXPECT_FALSE(Playing());
    EXPECT_FALSE(dialog.GetGameThread().IsPauseRequested());
    StartGame();
    EXPECT_FALSE(dialog.GetGameThread().IsPauseRequested()) << "a game starts unpaused";

    QTest::keyClick(&dialog, Qt::Key_P, Qt::ControlModifier);
    QTest::keyClick(&dialog, Qt::Key_Space, Qt::AltModifier);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
    QApplication::sendEvent(&dialog, &repeat);
    EXPECT_FALSE(dialog.GetGameThread().IsPauseRequested());
    QTest::keyClick(&dialog, Qt::Key_P, Qt::ShiftModifier);
    EXPECT_TRUE(dialog.GetGameThread().IsPauseRequested()) << "Shift+P is still P";
}

// A held M or R acts once, not again on each repeat.
TEST_F(MainDialogTest, SwitchingKeysActOncePerPress)
{
    const struct {
        Qt::Key key;
        std::function<bool()> switched;
    } keys[] = {
        {Qt::Key_M, [&] { return !dialog.IsSoundOn(); }},
        {Qt::Key_R, [&] { return dialog.GetGameScreen().IsShowingRecords(); }},
    };
    for (const auto& k : keys) {
        SCOPED_TRACE(QKeySequence(k.key).toString().toStdString());
        QTest::keyPress(&dialog, k.key);
        QKeyEvent repeat(QEvent::KeyPress, k.key, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(&dialog, &repeat);
        QTest::keyRelease(&dialog, k.key);
        EXPECT_TRUE(k.switched());
    }
}

TEST_F(MainDialogTest, EscapeAndCloseRequestsDuringAPauseStopTheGame)
{
    for (const bool byCloseRequest : {false, true}) {
        SCOPED_TRACE(byCloseRequest ? "close request" : "Escape");
        StartGame();
        QTest::keyClick(&dialog, Qt::Key_P);
        ASSERT_TRUE(PausedWithBanner());
        StopBy(byCloseRequest);
        EXPECT_FALSE(BandShown());

        // The pause keys are dead on the title screen, and the next game runs.
        QTest::keyClick(&dialog, Qt::Key_P);
        StartGame();
        EXPECT_FALSE(dialog.GetGameThread().IsPauseRequested());
        HangAWeight();
        EXPECT_TRUE(WaitFor([&] { return Time() == "[時間:0.1秒]"; }));
        EXPECT_EQ(Banner(), "");
        QTest::keyClick(&dialog, Qt::Key_Escape);
    }
}

TEST_F(MainDialogTest, ASwingMadeDuringAPauseShowsAndWaitsForTheResume)
{
    StartGame();
    QTest::keyClick(&dialog, Qt::Key_Space);
    ASSERT_TRUE(PausedWithBanner());
    QTest::qWait(30); // the parked game's last repaint request, made just after the banner

    int before = dialog.GetInvalidateCount();
    Press(QPoint(200, 100));
    EXPECT_EQ(dialog.GetInvalidateCount(), before + 1) << "the parked game asks for no repaint";
    MoveTo(QPoint(240, 130));
    EXPECT_EQ(dialog.GetInvalidateCount(), before + 2);
    Release(QPoint(240, 130));
    EXPECT_EQ(dialog.GetInvalidateCount(), before + 3);
    before = dialog.GetInvalidateCount();
    MoveTo(QPoint(300, 300));
    EXPECT_EQ(dialog.GetInvalidateCount(), before) << "a move without a drag changes nothing to show";

    const auto swing = dialog.GetGameScreen().GetWorld().swings.GetAt(0);
    ASSERT_TRUE(swing);
    EXPECT_TRUE(swing->IsActive());
    EXPECT_EQ(dialog.grab().toImage().pixelColor(240, 130), QColor(Qt::white)) << "the weight shows";
    QTest::qWait(150);
    EXPECT_EQ(swing->GetPoint(), (Point{240, 130}));

    QTest::keyClick(&dialog, Qt::Key_Space);
    EXPECT_TRUE(WaitFor([&] { return swing->GetPoint() != Point{240, 130}; }));
}

TEST_F(MainDialogTest, TheTitleAfterAGameShowsTheBestTimeAndTheHoverWhereThePointerIs)
{
    const QRect bestTimeLine(0, 312, 449, 95);
    MoveTo(Field);
    const QImage title = dialog.grab().toImage().copy(bestTimeLine);
    const struct {
        bool closeRequest;
        QPoint pointerAtTheEnd;
        bool startPink;
    } cases[] = {{false, Field, false}, {true, StartCentre + QPoint(10, 5), true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.closeRequest ? "close request" : "Escape");
        StartGame();
        HangAWeight();
        ASSERT_TRUE(WaitFor([&] { return Time() == "[時間:0.2秒]"; }));
        MoveTo(Field - QPoint(10, 0));
        MoveTo(c.pointerAtTheEnd);
        StopBy(c.closeRequest); // the thread may write one more time text meanwhile
        const QImage back = dialog.grab().toImage();
        EXPECT_EQ(back.copy(bestTimeLine), title) << "the best time, not " << Time();
        EXPECT_EQ(back.pixelColor(162, 205) == QColor(0xEF, 0x75, 0x98), c.startPink);
    }
}

TEST_F(MainDialogTest, ANewGameShowsNoOldTimeNorSwingsAndTheHintUntilTheFirstPress)
{
    const auto hintPixels = [&] {
        const QImage field = dialog.grab().toImage();
        int count = 0;
        for (int y = 150; y < 250; ++y)
            for (int x = 0; x < 449; ++x)
                count += field.pixel(x, y) == qRgb(0x50, 0x50, 0x50) ? 1 : 0;
        return count;
    };
    StartGame();
    EXPECT_GT(hintPixels(), 200);
    Press(QPoint(200, 100));
    Release(QPoint(230, 170));
    EXPECT_EQ(hintPixels(), 0) << "the first swing puts the hint away";
    ASSERT_TRUE(WaitFor([&] { return Time() == "[時間:0.3秒]"; }));
    QTest::keyClick(&dialog, Qt::Key_Escape);

    // The next game's thread is held before its first pass: what shows is the window's alone.
    std::atomic<bool> go{false};
    struct Go {
        std::atomic<bool>& go;
        ~Go() { go = true; }
    } letGoAtTheEnd{go};
    dialog.GetGameThread().SetLauncher([&go](std::function<void()> body) {
        return std::thread([&go, body = std::move(body)] {
            while (!go.load())
                std::this_thread::sleep_for(1ms);
            body();
        });
    });
    Click(StartCentre);
    const QImage first = dialog.grab().toImage();
    QImage timeCorner = first.copy(0, 0, 200, 30);
    timeCorner.fill(Qt::black);
    EXPECT_EQ(first.copy(0, 0, 200, 30), timeCorner) << "no time text of the last game";
    EXPECT_GT(hintPixels(), 200);
    EXPECT_EQ(Swings(), 0);
    go = true;
    ASSERT_TRUE(WaitFor([&] { return !Time().empty(); }));
    EXPECT_NEAR(SecondsIn(Time()), 0.0, 0.05) << "the time starts again from 0";
}

TEST_F(MainDialogTest, AGameThatCannotStartLeavesTheTitleAndALaterStartPlays)
{
    const std::system_error noThread(std::make_error_code(std::errc::resource_unavailable_try_again));
    dialog.GetGameThread().SetLauncher([&](std::function<void()>) -> std::thread { throw noThread; });
    testing::internal::CaptureStderr();
    Click(StartCentre);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              std::string("tocklet: the game could not start: ") + noThread.what() + "\n");
    EXPECT_FALSE(Playing());
    EXPECT_FALSE(dialog.GetGameThread().IsRunning());
    EXPECT_TRUE(dialog.isVisible());

    dialog.GetGameThread().SetLauncher({});
    StartGame();
}

TEST_F(MainDialogTest, ReadAndRShowTheRecordsAndEveryWayBackGivesTheSameTitle)
{
    MoveTo(Field);
    const QImage title = dialog.grab().toImage();
    const auto showsRecords = [&] { return dialog.GetGameScreen().IsShowingRecords(); };
    const std::function<void()> ways[] = {
        [&] { QTest::keyClick(&dialog, Qt::Key_R); },
        [&] { QTest::keyClick(&dialog, Qt::Key_Escape); },
        [&] { Click(Field); },
        // Start lies under the records: a click there only goes back.
        [&] { Click(StartCentre); },
    };
    for (const bool byButton : {false, true}) {
        for (const auto& back : ways) {
            if (byButton)
                Click(ReadCentre);
            else
                QTest::keyClick(&dialog, Qt::Key_R);
            ASSERT_TRUE(showsRecords());
            EXPECT_NE(dialog.grab().toImage(), title);
            back();
            EXPECT_FALSE(showsRecords());
            EXPECT_FALSE(Playing());
            MoveTo(Field);
            EXPECT_EQ(dialog.grab().toImage(), title);
        }
    }
    StartGame();
    QTest::keyClick(&dialog, Qt::Key_R);
    EXPECT_FALSE(showsRecords()) << "R does nothing during play";
}

// Another copy saved a record while this one showed the title: the records show it.
TEST_F(MainDialogTest, TheRecordsShowWhatAnotherCopySavedMeanwhile)
{
    ScoreTable other;
    other.RecordAndSave(42.5, 3);
    QTest::keyClick(&dialog, Qt::Key_R);
    EXPECT_TRUE(WaitFor([&] { return Shows("42.5秒"); }));
}

// Two places with the same score: the pink row is the one with the last game's time too.
TEST_F(MainDialogTest, TheLastGamesRowIsFoundByItsTimeAndScore)
{
    std::ofstream("Setting.ini") << "[Score]\nTime1=30\nScore1=3\n";
    QTest::keyClick(&dialog, Qt::Key_R);
    ASSERT_TRUE(WaitFor([&] { return Shows("30.0秒"); }));
    QTest::keyClick(&dialog, Qt::Key_R);
    dialog.GameEnded(GameResult{true, 20.0, 3, nullptr});
    EXPECT_TRUE(WaitFor([&] { return dialog.GetGameScreen().GetMarkedRecord() == 1; }));
}

// While another copy holds the folder's lock, the save waits beside the window: GameOver!!
// shows, and a click on the field then is one on the field, not on the title that follows.
// The time shows as not saved until the lock is let go.
TEST_F(MainDialogTest, ASaveWaitingForTheLockFreezesNothing)
{
    auto lock = std::make_unique<FolderLock>(".", 0ms);
    ASSERT_TRUE(lock->IsHeld());
    // A weight hung level with its anchor on the bottom edge drops below the field for good.
    World& world = dialog.GetGameScreen().GetWorld();
    world.rule.graceTicks = 20;
    world.rule.offFieldTicks = 20;
    StartGame();
    Press(QPoint(200, 400));
    MoveTo(QPoint(260, 400));
    Release(QPoint(260, 400));
    ASSERT_TRUE(WaitFor([&] { return Banner() == "GameOver!!"; }, 5000));
    const int repaints = dialog.GetInvalidateCount();
    EXPECT_TRUE(WaitFor([&] { return BandShown(); }));
    Click(ExitCentre);
    ASSERT_TRUE(WaitFor([&] { return !Playing(); }, 8000));
    QTest::qWait(50);
    EXPECT_GT(dialog.GetInvalidateCount(), repaints);
    EXPECT_TRUE(dialog.isVisible()) << "the click on the field quit on the title";
    EXPECT_NE(dialog.GetGameScreen().GetTitleResultText().find("※未保存"), std::string::npos);

    lock.reset();
    EXPECT_TRUE(WaitFor(
        [&] { return dialog.GetGameScreen().GetTitleResultText().find("※未保存") == std::string::npos; },
        5000));
    dialog.FinishSaves();
    ScoreTable onDisk;
    ASSERT_TRUE(onDisk.Load());
    EXPECT_GT(onDisk.GetTime(0), 0.0);
}

// A lost game's row is watched again with the keys: the replay plays in the field under its
// place, at a pace the arrows and + and - double and halve between x1 and x8, and ends on the
// record's own time before the records show again, unchanged.
TEST_F(MainDialogTest, ALostGamesRowIsWatchedAgainAndEndsOnItsSavedTime)
{
    std::ofstream("Setting.ini") << "[Score]\nTime1=300\nScore1=3\n";
    LoseAGame();
    const std::string lastLine = dialog.GetGameScreen().GetTitleResultText();
    ShowRecordsWithReplayAt(1);
    const GameScreen& screen = dialog.GetGameScreen();
    EXPECT_FALSE(screen.GetRecords()[0].replay) << "a row saved by another copy has no replay";
    const Screen::RecordRows rows = screen.GetRecords();
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_FALSE(Playing()) << "the first row has nothing to watch";
    QTest::keyClick(&dialog, Qt::Key_Down);
    QTest::keyClick(&dialog, Qt::Key_Down);
    EXPECT_EQ(screen.GetSelectedRecord(), 1) << "held at the last row taken";
    QTest::keyClick(&dialog, Qt::Key_Return);
    ASSERT_TRUE(Playing());
    EXPECT_TRUE(WaitFor([&] { return Time().starts_with("[時間:") && Time().ends_with("　リプレイ 2位"); }));

    const struct {
        Qt::Key key;
        int pace;
    } paces[] = {{Qt::Key_Left, 1},  {Qt::Key_Minus, 1}, {Qt::Key_Right, 2}, {Qt::Key_Plus, 4},
                 {Qt::Key_Right, 8}, {Qt::Key_Plus, 8},  {Qt::Key_Left, 4},  {Qt::Key_Right, 8}};
    for (const auto& step : paces) {
        QTest::keyClick(&dialog, step.key, step.key == Qt::Key_Plus ? Qt::ShiftModifier : Qt::NoModifier);
        EXPECT_EQ(dialog.GetReplayThread().GetPace(), step.pace);
    }
    ASSERT_TRUE(WaitFor([&] { return ReplayBanner() == "GameOver!!"; }, 20000));
    EXPECT_NE(Time().find("[時間:" + FormatSeconds(rows[1].time) + "秒]"), std::string::npos) << Time();
    EXPECT_NE(Time().find("スコア:" + std::to_string(rows[1].score)), std::string::npos) << Time();
    ASSERT_TRUE(WaitFor([&] { return !Playing(); }, 5000));
    EXPECT_TRUE(screen.IsShowingRecords());
    QTest::keyClick(&dialog, Qt::Key_R);
    QTest::keyClick(&dialog, Qt::Key_R);
    ASSERT_TRUE(WaitFor([&] { return screen.GetRecords()[1].replay; }, 5000));
    for (int place = 0; place < Screen::RecordCount; ++place) {
        EXPECT_EQ(screen.GetRecords()[place].time, rows[place].time) << "a replay changes no record";
        EXPECT_EQ(screen.GetRecords()[place].score, rows[place].score);
    }
    EXPECT_EQ(screen.GetTitleResultText(), lastLine) << "a replay is no game of the run";
}

// Escape or the window's close request put a replay away, paused or not, and bring the records
// back; the player's own gestures never reach the replayed world.
TEST_F(MainDialogTest, EscapeOrACloseRequestDuringAReplayBringsTheRecordsBack)
{
    LoseAGame();
    ShowRecordsWithReplayAt(0);
    for (const bool closeRequest : {false, true}) {
        SCOPED_TRACE(closeRequest ? "close request" : "Escape");
        Click(QPoint(220, 188)); // the first row
        ASSERT_TRUE(Playing());
        QTest::keyClick(&dialog, Qt::Key_P);
        ASSERT_TRUE(WaitFor([&] { return ReplayBanner() == "Pause"; }));
        const int swings = Swings();
        Press(QPoint(100, 100));
        MoveTo(QPoint(150, 150));
        Release(QPoint(150, 150));
        QTest::keyClick(&dialog, Qt::Key_Return);
        EXPECT_EQ(Swings(), swings);
        if (closeRequest)
            dialog.close();
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_FALSE(Playing());
        EXPECT_TRUE(dialog.GetGameScreen().IsShowingRecords());
        EXPECT_FALSE(dialog.GetReplayThread().IsRunning());
        EXPECT_TRUE(dialog.isVisible());
    }
    Click(Field);
    EXPECT_FALSE(dialog.GetGameScreen().IsShowingRecords()) << "a click beside the rows goes back";
}

// A replay that does not play out as saved says so in the field and stops there: it never
// shows an ending as the record's.
TEST_F(MainDialogTest, AReplayOfAnotherVersionSaysSoAndShowsNoEnding)
{
    std::ofstream("Setting.ini") << "[Score]\nTime1=30\nScore1=3\n";
    Replay other;
    other.ruleVersion = ShadowRule::Version + 1;
    other.endPass = 3000;
    other.seconds = 30.0;
    other.score = 3;
    std::string error;
    ASSERT_TRUE(ReplayFile::Save(ReplayShelf::PathOf(30.0, 3), other, error)) << error;
    ShowRecordsWithReplayAt(0);
    QTest::keyClick(&dialog, Qt::Key_Return);
    ASSERT_TRUE(Playing());
    ASSERT_TRUE(WaitFor([&] {
        return dialog.GetGameScreen().GetFieldNotice() == "このリプレイはこの版のゲームと合いません";
    }));
    EXPECT_TRUE(Shows("このリプレイはこの版のゲームと合いません"));
    EXPECT_NE(ReplayBanner(), "GameOver!!");
    EXPECT_EQ(Time().find("30.0"), std::string::npos) << Time();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.GetGameScreen().IsShowingRecords());
    EXPECT_FALSE(Shows("このリプレイはこの版のゲームと合いません"));
}

// Start has the focus on the title; Tab, Shift+Tab and the arrows move it round Read, Start
// and Exit, and Enter or Space does what a click on it does. Escape leaves the records.
TEST(MainDialogKeys, TheKeysReachEveryButtonOfTheTitle)
{
    using Keys = std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>;
    const struct {
        Keys keys;
        bool playing;
        bool records;
        bool open;
    } cases[] = {
        {{{Qt::Key_Return, {}}}, true, false, true},
        {{{Qt::Key_Space, {}}}, true, false, true},
        {{{Qt::Key_Backtab, Qt::ShiftModifier}, {Qt::Key_Enter, {}}}, false, true, true},
        {{{Qt::Key_Up, {}}, {Qt::Key_Left, {}}, {Qt::Key_Space, {}}}, false, false, false},
        {{{Qt::Key_Tab, {}}, {Qt::Key_Tab, {}}, {Qt::Key_Return, {}}}, false, true, true},
        {{{Qt::Key_Down, {}}, {Qt::Key_Right, {}}, {Qt::Key_Right, {}}, {Qt::Key_Return, {}}},
         true,
         false,
         true},
        // Under the records the title's focus stays where it was.
        {{{Qt::Key_R, {}}, {Qt::Key_Tab, {}}, {Qt::Key_Escape, {}}, {Qt::Key_Return, {}}}, true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(&c - cases));
        ScoreTable table;
        MainDialog dialog(table);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseMove(dialog.windowHandle(), Field);
        const QImage title = dialog.grab().toImage();
        QTest::keyClick(&dialog, Qt::Key_Tab);
        EXPECT_NE(dialog.grab().toImage(), title) << "the ring shows once a key moved the focus";
        QTest::mouseMove(dialog.windowHandle(), Field + QPoint(1, 0));
        EXPECT_EQ(dialog.grab().toImage(), title) << "the mouse puts the ring away";
        QTest::keyClick(&dialog, Qt::Key_Backtab, Qt::ShiftModifier);

        for (const auto& [key, modifiers] : c.keys)
            QTest::keyClick(&dialog, key, modifiers);
        EXPECT_EQ(dialog.GetGameScreen().IsPlaying(), c.playing);
        EXPECT_EQ(dialog.GetGameScreen().IsShowingRecords(), c.records);
        EXPECT_EQ(dialog.isVisible(), c.open);
        if (c.records) {
            QTest::keyClick(&dialog, Qt::Key_Return);
            EXPECT_TRUE(dialog.GetGameScreen().IsShowingRecords())
                << "Enter watches a row, and none has a replay";
            QTest::keyClick(&dialog, Qt::Key_Escape);
            EXPECT_FALSE(dialog.GetGameScreen().IsShowingRecords());
            EXPECT_TRUE(dialog.isVisible());
        }
    }
}

// The keys make the very swings a press, drag and release of the mouse make at the same points;
// the crosshair starts in the middle of the field, 8 pixels a step, 1 with Shift.
TEST_F(MainDialogTest, TheKeysMakeTheSwingsTheMouseMakesAtTheSamePoints)
{
    enum Kind { Key, ShiftKey, MousePress, MouseMove, MouseRelease };
    struct Step {
        Kind kind;
        Qt::Key key = Qt::Key_unknown;
        QPoint at{};
    };
    const auto key = [](Qt::Key k, int times = 1) { return std::vector<Step>(times, Step{Key, k}); };
    const auto join = [](std::initializer_list<std::vector<Step>> parts) {
        std::vector<Step> steps;
        for (const auto& part : parts)
            steps.insert(steps.end(), part.begin(), part.end());
        return steps;
    };
    const auto mouse = [](QPoint from, QPoint to, bool release = true) {
        std::vector<Step> steps{{MousePress, {}, from}, {MouseMove, {}, to}};
        if (release)
            steps.push_back({MouseRelease, {}, to});
        return steps;
    };
    const QPoint middle{224, 203};
    const struct {
        const char* what;
        std::vector<Step> keys;
        std::vector<Step> mouse;
    } cases[] = {
        {"anchor, rope, release",
         join({key(Qt::Key_Return), key(Qt::Key_Right, 2), {{ShiftKey, Qt::Key_Down}}, key(Qt::Key_Return)}),
         mouse(middle, middle + QPoint(16, 1))},
        {"a weight carried", join({key(Qt::Key_Return), key(Qt::Key_Left)}),
         mouse(middle, middle - QPoint(8, 0), false)},
        {"Escape drops the drag", join({key(Qt::Key_Return), key(Qt::Key_Up), key(Qt::Key_Escape)}), {}},
        {"the field's edge holds the crosshair",
         join({key(Qt::Key_Left, 30), key(Qt::Key_Return), key(Qt::Key_Right, 2), key(Qt::Key_Return)}),
         mouse({0, 203}, {16, 203})},
        {"the field's right edge is its last column",
         join({key(Qt::Key_Right, 30), key(Qt::Key_Return), key(Qt::Key_Left, 2), key(Qt::Key_Return)}),
         mouse({448, 203}, {432, 203})},
        {"a second weight after a release",
         join({key(Qt::Key_Return), key(Qt::Key_Right, 2), key(Qt::Key_Return), key(Qt::Key_Down),
               key(Qt::Key_Return), key(Qt::Key_Right, 2), key(Qt::Key_Return)}),
         join(
             {mouse(middle, middle + QPoint(16, 0)), mouse(middle + QPoint(16, 8), middle + QPoint(32, 8))})},
        {"a press of the mouse drops a drag of the keys",
         join({key(Qt::Key_Return), key(Qt::Key_Right), mouse({100, 100}, {130, 140})}),
         mouse({100, 100}, {130, 140})},
        {"Enter drops a drag of the mouse",
         join({mouse({100, 100}, {120, 100}, false),
               key(Qt::Key_Return),
               key(Qt::Key_Down, 2),
               key(Qt::Key_Return),
               {{MouseRelease, {}, {120, 100}}}}),
         mouse(middle, middle + QPoint(0, 16))},
    };
    // The swings that show: anchor, weight, rope and whether each swings. A pause holds them.
    const auto swingsAfter = [&](const std::vector<Step>& steps) {
        StartGame();
        QTest::keyClick(&dialog, Qt::Key_P);
        EXPECT_TRUE(PausedWithBanner());
        for (const Step& step : steps) {
            if (step.kind == MousePress)
                Press(step.at);
            else if (step.kind == MouseMove)
                MoveTo(step.at);
            else if (step.kind == MouseRelease)
                Release(step.at);
            else
                QTest::keyClick(&dialog, step.key,
                                step.kind == ShiftKey ? Qt::ShiftModifier : Qt::NoModifier);
        }
        EXPECT_TRUE(Playing()) << "no key of the gesture leaves the game";
        std::vector<std::tuple<int, int, Point, int, bool>> shown;
        for (int i = 0; i < Swings(); ++i) {
            const auto swing = dialog.GetGameScreen().GetWorld().swings.GetAt(i);
            if (swing && swing->alive)
                shown.emplace_back(swing->anchorX, swing->anchorY, swing->GetPoint(), swing->ropeLength,
                                   swing->IsActive());
        }
        StopBy(true);
        return shown;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(swingsAfter(c.keys), swingsAfter(c.mouse));
    }
}

// A screen reader finds the drawn parts of each view: the title's text, its three buttons,
// whose Press does what a click does, and its status line, where no best time reads as no
// record; the records as five sentences; the field, whose description follows the weights in
// play.
TEST(MainDialogReader, ReadsEveryViewAndPressesTheButtons)
{
    const auto childNamed = [](QAccessibleInterface* parent, const QString& name) -> QAccessibleInterface* {
        for (int i = 0; i < parent->childCount(); ++i)
            if (parent->child(i)->text(QAccessible::Name) == name)
                return parent->child(i);
        return nullptr;
    };
    const struct {
        const char* button;
        bool playing;
        bool records;
        bool open;
    } presses[] = {{"Start", true, false, true}, {"Read", false, true, true}, {"Exit", false, false, false}};
    for (const auto& press : presses) {
        SCOPED_TRACE(press.button);
        ScoreTable table;
        MainDialog dialog(table);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&dialog);
        ASSERT_TRUE(window);
        EXPECT_TRUE(childNamed(window, "トクレット"));
        QAccessibleInterface* status = childNamed(window, "ベストタイム：記録なし");
        ASSERT_TRUE(status);
        EXPECT_EQ(status->role(), QAccessible::StatusBar);
        QAccessibleInterface* button = childNamed(window, press.button);
        ASSERT_TRUE(button);
        EXPECT_EQ(button->role(), QAccessible::PushButton);
        EXPECT_EQ(window->focusChild()->text(QAccessible::Name), "Start");
        button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_EQ(dialog.GetGameScreen().IsPlaying(), press.playing);
        EXPECT_EQ(dialog.GetGameScreen().IsShowingRecords(), press.records);
        EXPECT_EQ(dialog.isVisible(), press.open);
        if (!press.playing)
            continue;

        QAccessibleInterface* field = window->child(0);
        ASSERT_EQ(window->childCount(), 2);
        EXPECT_EQ(window->child(1)->role(), QAccessible::StatusBar);
        EXPECT_EQ(field->role(), QAccessible::Canvas);
        EXPECT_TRUE(field->state().focusable);
        // The hint on the field is there to read until the first swing.
        ASSERT_EQ(field->childCount(), 1);
        EXPECT_TRUE(field->child(0)->text(QAccessible::Name).contains("Enterで支点"));
        QTest::keyClick(&dialog, Qt::Key_P);
        ASSERT_TRUE(WaitFor([&] { return dialog.GetGameThread().GetMessageText() == "Pause"; }));
        EXPECT_TRUE(field->text(QAccessible::Description).contains("揺れているおもり0個、影0個"));
        for (int weight = 1; weight <= 2; ++weight) {
            QTest::mousePress(dialog.windowHandle(), Qt::LeftButton, {}, QPoint(100 * weight, 100));
            QTest::mouseMove(dialog.windowHandle(), QPoint(100 * weight + 30, 140));
            QTest::mouseRelease(dialog.windowHandle(), Qt::LeftButton, {}, QPoint(100 * weight + 30, 140));
            EXPECT_EQ(field->childCount(), 0);
            EXPECT_TRUE(field->text(QAccessible::Description)
                            .contains(QString("揺れているおもり%1個、影0個").arg(weight)));
        }
    }

    ScoreTable table;
    MainDialog dialog(table);
    GameScreen& screen = dialog.GetGameScreen();
    screen.SetRecords({RecordRow{75.3, 7, true}, RecordRow{12.5, 3}}, 1);
    screen.ShowRecords(true);
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&dialog);
    ASSERT_EQ(window->childCount(), 2);
    QAccessibleInterface* records = window->child(0);
    EXPECT_EQ(records->role(), QAccessible::List);
    QStringList rows;
    for (int i = 0; i < records->childCount(); ++i) {
        rows << records->child(i)->text(QAccessible::Name);
        EXPECT_EQ(records->child(i)->parent(), records) << "row " << i;
    }
    EXPECT_EQ(rows, (QStringList{"1位：75.3秒、おもり7個、リプレイあり",
                                 "2位：12.5秒、おもり3個、今回の最後のゲーム", "3位：空き", "4位：空き",
                                 "5位：空き"}));
}
