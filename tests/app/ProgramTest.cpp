// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/Program.h"

#include <QApplication>
#include <QFileInfo>
#include <gtest/gtest.h>

TEST(Program, WindowIconHasItsSmallAndLargeImages)
{
    SetUpApplication(*qApp);
    const QList<QSize> sizes = QApplication::windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
}

// Desktops match a running window to its entry, and so to its icon, by this name.
TEST(Program, DesktopFileNameIsTheInstalledDesktopEntry)
{
    SetUpApplication(*qApp);
    const QString entry =
        QString(TOCKLET_PACKAGING_DIR "/%1.desktop").arg(QGuiApplication::desktopFileName());
    EXPECT_TRUE(QFileInfo::exists(entry)) << entry.toStdString();
}

// Every icon loaded anew leaves its own pixmaps in Qt's pixmap cache; an About box opened again
// and again must not add more each time.
TEST(Program, MainIconIsLoadedOnceForTheWholeProcess)
{
    const QIcon first = LoadMainIcon();
    const QIcon second = LoadMainIcon();
    EXPECT_FALSE(first.isNull());
    EXPECT_EQ(first.cacheKey(), second.cacheKey());
}
