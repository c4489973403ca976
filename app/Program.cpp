// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/Program.h"

#include <QApplication>

// The name of the desktop entry and of the installed icon, from the build.
static constexpr char DesktopId[] = TOCKLET_DESKTOP_ID;

// Resources compiled into a static library are registered only when something names them.
static void InitResources()
{
    Q_INIT_RESOURCE(tocklet);
}

QIcon LoadMainIcon()
{
    // Loaded once: Qt's pixmap cache keeps the pixmaps of every icon loaded anew, so an About box
    // that loaded its own each time it opened would leave 4 KiB more behind each time.
    static const QIcon icon = [] {
        InitResources();
        QIcon loaded;
        for (const int size : {16, 32, 64})
            loaded.addFile(QString(":/icons/IDI_MAIN-%1.png").arg(size), QSize(size, size));
        return loaded;
    }();
    return icon;
}

void SetUpApplication(QApplication& application)
{
    QApplication::setApplicationName("tocklet");
    QGuiApplication::setDesktopFileName(DesktopId);
    // Static in Qt, but called on the object so that it is known to exist by now.
    application.setWindowIcon(LoadMainIcon()); // NOLINT(readability-static-accessed-through-instance)
}
