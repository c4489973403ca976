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
    InitResources();
    QIcon icon;
    for (const int size : {16, 32, 64})
        icon.addFile(QString(":/icons/IDI_MAIN-%1.png").arg(size), QSize(size, size));
    return icon;
}

void SetUpApplication(QApplication& application)
{
    QApplication::setApplicationName("tocklet");
    QGuiApplication::setDesktopFileName(DesktopId);
    application.setWindowIcon(LoadMainIcon());
}
