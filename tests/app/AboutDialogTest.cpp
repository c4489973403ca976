// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/AboutDialog.h"

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr int NotEnded = 99;

QLabel* Label(AboutDialog& dialog, const char* name)
{
    auto* label = dialog.findChild<QLabel*>(name);
    EXPECT_NE(label, nullptr) << name;
    return label;
}

struct Ending {
    const char* what;
    std::function<void(AboutDialog&)> act;
    int result;
};

void PressKey(AboutDialog& dialog, Qt::Key key)
{
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target != nullptr ? target : &dialog, key);
}

void PrintTo(const Ending& ending, std::ostream* out)
{
    *out << ending.what;
}

class AboutDialogEnding : public testing::TestWithParam<Ending> {};

} // namespace

TEST(AboutDialog, ShowsCaptionIconVersionAndNotice)
{
    AboutDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Tockletのﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(Label(dialog, "version")->text(), "Tocklet Version 1.0");
    EXPECT_FALSE(Label(dialog, "notice")->text().trimmed().isEmpty());
    EXPECT_FALSE(Label(dialog, "notice")->wordWrap());
    const QPixmap icon = Label(dialog, "icon")->pixmap();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.deviceIndependentSize().toSize(), QSize(32, 32));
    auto* ok = dialog.findChild<QPushButton*>("ok");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_TRUE(dialog.isModal());
    // The focused button tells a screen reader the field's whole hint, its rule and its keys.
    EXPECT_TRUE(ok->accessibleDescription().contains("全部消えたらゲームオーバー"));
    EXPECT_TRUE(ok->accessibleDescription().contains("F1:バージョン情報"));
}

TEST(AboutDialog, LaysOutItsTemplateInPixels)
{
    AboutDialog dialog;
    EXPECT_EQ(dialog.size(), QSize(353, 83));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "the box must not be resizable";
    struct Place {
        const char* name;
        QRect rect;
    };
    for (const Place& place :
         {Place{"icon", QRect(17, 26, 32, 32)}, Place{"version", QRect(60, 15, 179, 12)},
          Place{"notice", QRect(60, 38, 179, 12)}, Place{"ok", QRect(267, 11, 75, 21)}}) {
        auto* widget = dialog.findChild<QWidget*>(place.name);
        ASSERT_NE(widget, nullptr) << place.name;
        EXPECT_EQ(widget->geometry(), place.rect) << place.name;
    }
}

TEST(AboutDialog, TextsUseIPAPGothicAndFitTheirPlaces)
{
    AboutDialog dialog;
    for (const char* name : {"version", "notice"}) {
        QLabel* label = Label(dialog, name);
        EXPECT_EQ(QFontInfo(label->font()).family(), "IPAPGothic") << name;
        EXPECT_EQ(label->font().pixelSize(), 12) << name;
        const QRect inked = label->fontMetrics().boundingRect(label->text());
        EXPECT_LE(inked.width(), label->width()) << name << " is cut off";
    }
}

TEST_P(AboutDialogEnding, EndsTheModalLoop)
{
    AboutDialog dialog;
    QTimer::singleShot(0, &dialog, [&] {
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        GetParam().act(dialog);
    });
    QTimer::singleShot(5000, &dialog, [&] { dialog.done(NotEnded); });
    EXPECT_EQ(dialog.exec(), GetParam().result);
    EXPECT_FALSE(dialog.isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, AboutDialogEnding,
    testing::Values(
        Ending{"Enter", [](AboutDialog& d) { PressKey(d, Qt::Key_Return); }, QDialog::Accepted},
        Ending{"KeypadEnter", [](AboutDialog& d) { PressKey(d, Qt::Key_Enter); }, QDialog::Accepted},
        Ending{"Escape", [](AboutDialog& d) { PressKey(d, Qt::Key_Escape); }, QDialog::Rejected},
        Ending{"OkButton",
               [](AboutDialog& d) { QTest::mouseClick(d.findChild<QPushButton*>("ok"), Qt::LeftButton); },
               QDialog::Accepted},
        Ending{"CloseBox", [](AboutDialog& d) { d.close(); }, QDialog::Rejected}),
    [](const testing::TestParamInfo<Ending>& info) { return std::string(info.param.what); });
