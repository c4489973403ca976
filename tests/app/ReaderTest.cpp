// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

// The main window with Qt's accessibility on, as under a screen reader (reader-bus.sh gives
// it a bus): what a reader is told, collected by an update handler in the order it is told.

#include "app/MainDialog.h"
#include "persist/ScoreTable.h"

#include <QAccessible>
#include <QAccessibleEvent>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

namespace {

QStringList told;

// What a reader hears: each announcement as it shows, and each move of the focus.
void Collect(QAccessibleEvent* event)
{
    QAccessibleInterface* source = event->accessibleInterface();
    if (!source)
        return;
    if (event->type() == QAccessible::ObjectShow && source->role() == QAccessible::Notification)
        told << "say: " + source->text(QAccessible::Name);
    else if (event->type() == QAccessible::Focus)
        told << "focus: " + source->text(QAccessible::Name);
}

class ReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000))
            GTEST_SKIP() << "Qt's accessibility is off: run under reader-bus.sh";
        ASSERT_TRUE(folder.isValid());
        QDir::setCurrent(folder.path());
        told.clear();
        QAccessible::installUpdateHandler(Collect);
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
    void TearDown() override { QAccessible::installUpdateHandler(nullptr); }

    QAccessibleInterface* Field() { return QAccessible::queryAccessibleInterface(&dialog)->child(0); }

    QTemporaryDir folder;
    ScoreTable table;
    MainDialog dialog{table};
};

} // namespace

// An announcement is a notification of its own: the field's description stays its state.
TEST_F(ReaderTest, FieldIsDescribedByItsStateAfterAnAnnouncement)
{
    QTest::keyClick(&dialog, Qt::Key_Return);
    ASSERT_TRUE(dialog.GetGameScreen().IsPlaying());
    QTest::keyClick(&dialog, Qt::Key_P);
    EXPECT_TRUE(told.contains("say: 一時停止")) << told.join(" | ").toStdString();
    EXPECT_EQ(Field()->role(), QAccessible::Canvas);
    EXPECT_TRUE(Field()->text(QAccessible::Description).contains("揺れているおもり0個、影0個"))
        << Field()->text(QAccessible::Description).toStdString();
}

// Each key of the swing gesture is told what it did, the key map's steps as the window runs them.
TEST_F(ReaderTest, KeysOfTheGestureAreTold)
{
    QTest::keyClick(&dialog, Qt::Key_Return);
    ASSERT_TRUE(dialog.GetGameScreen().IsPlaying());
    told.clear();
    QTest::keyClick(&dialog, Qt::Key_Return);
    QTest::keyClick(&dialog, Qt::Key_Right);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    const QStringList said = told.filter("say: ");
    ASSERT_EQ(said.size(), 3) << told.join(" | ").toStdString();
    EXPECT_TRUE(said[0].startsWith("say: 支点　")) << said[0].toStdString();
    EXPECT_TRUE(said[1].contains("　ロープ")) << said[1].toStdString();
    EXPECT_EQ(said[2], "say: 落とした");
    EXPECT_TRUE(dialog.isVisible()) << "the Escape that drops a drag leaves the game on";
}

// M tells the sound's state in the words the screen shows, on the title as in play.
TEST_F(ReaderTest, SoundKeySaysWhetherSoundIsOn)
{
    QTest::keyClick(&dialog, Qt::Key_M);
    QTest::keyClick(&dialog, Qt::Key_Return);
    QTest::keyClick(&dialog, Qt::Key_M);
    EXPECT_EQ(told.filter("say: サウンド"), (QStringList{"say: サウンド オフ", "say: サウンド オン"}));
}

// The weight lost is told before GameOver!!, each once, however the two queues run.
TEST_F(ReaderTest, WeightLostIsToldOnceBeforeGameOver)
{
    World& world = dialog.GetGameScreen().GetWorld();
    world.rule.offFieldTicks = 1;
    QTest::keyClick(&dialog, Qt::Key_Return);
    // During a pause no tick runs: the weight is let go and the grace ended meanwhile.
    QTest::keyClick(&dialog, Qt::Key_P);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.GetGameThread().GetMessageText() == "Pause"; }, 5000));
    // Anchored at the bottom edge and carried above it, the weight swings off the field.
    for (int step = 0; step < 25; ++step)
        QTest::keyClick(&dialog, Qt::Key_Down);
    QTest::keyClick(&dialog, Qt::Key_Return);
    for (int step = 0; step < 12; ++step)
        QTest::keyClick(&dialog, Qt::Key_Up);
    QTest::keyClick(&dialog, Qt::Key_Return);
    world.rule.graceTicks = 0;
    QTest::keyClick(&dialog, Qt::Key_P);

    ASSERT_TRUE(QTest::qWaitFor([] { return !told.filter("GameOver!!").isEmpty(); }, 10000))
        << told.join(" | ").toStdString();
    const QStringList gone = told.filter("おもりが");
    const QStringList over = told.filter("GameOver!!");
    EXPECT_EQ(gone, QStringList{"say: おもりが場外に消えた　残り0個"});
    ASSERT_EQ(over.size(), 1);
    EXPECT_TRUE(over[0].startsWith("say: GameOver!! 今回のタイム:")) << over[0].toStdString();
    EXPECT_LT(told.indexOf(gone.value(0)), told.indexOf(over[0]));
}

// Back from another window, the reader is told the focus again, where it was.
TEST_F(ReaderTest, FocusIsToldWhenTheWindowIsActiveAgain)
{
    ASSERT_TRUE(QTest::qWaitFor([] { return told.contains("focus: Start"); }, 5000))
        << told.join(" | ").toStdString();
    QTest::keyClick(&dialog, Qt::Key_Down);
    EXPECT_EQ(told.last(), "focus: Exit");

    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    told.clear();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_TRUE(QTest::qWaitFor([] { return told.contains("focus: Exit"); }, 5000))
        << told.join(" | ").toStdString();
    EXPECT_FALSE(told.contains("focus: Start"));
}

// The records read as a list: Up and Down move the focus with the row the keys pick, among the
// rows taken and kept at the ends.
TEST_F(ReaderTest, RecordsRowsTakeTheFocusInTurn)
{
    std::ofstream("Setting.ini")
        << "[Score]\nTime1=75.3\nScore1=7\nTime2=40.2\nScore2=5\nTime3=12.5\nScore3=3\n";
    QTest::keyClick(&dialog, Qt::Key_R);
    ASSERT_TRUE(dialog.GetGameScreen().IsShowingRecords());
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.GetGameScreen().GetRecords()[2].time != 0.0; }, 5000));
    QTest::keyClick(&dialog, Qt::Key_Down);
    EXPECT_EQ(told.last(), "focus: 2位：40.2秒、おもり5個");
    for (int step = 0; step < 4; ++step)
        QTest::keyClick(&dialog, Qt::Key_Down);
    EXPECT_EQ(told.last(), "focus: 3位：12.5秒、おもり3個");
    QTest::keyClick(&dialog, Qt::Key_Up);
    EXPECT_EQ(told.last(), "focus: 2位：40.2秒、おもり5個");
    QAccessibleInterface* records = QAccessible::queryAccessibleInterface(&dialog)->child(0);
    EXPECT_TRUE(records->child(1)->state().focused);
    EXPECT_TRUE(records->child(1)->state().selected);
    EXPECT_FALSE(records->child(2)->state().focused);
    EXPECT_FALSE(records->child(2)->state().selected);
}
