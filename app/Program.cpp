// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/Program.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <string>

// The name of the desktop entry and of the installed icon, from the build.
static constexpr char DesktopId[] = TOCKLET_DESKTOP_ID;

// Where the build puts the compiled translations, as tocklet_<language>.qm.
constexpr char TranslationFolder[] = ":/i18n";
constexpr char TranslationPrefix[] = "tocklet_";

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

QStringList AvailableTranslations()
{
    QStringList languages;
    for (const QString& file : QDir(TranslationFolder).entryList({QString(TranslationPrefix) + "*.qm"}))
        languages << file.mid(int(std::char_traits<char>::length(TranslationPrefix))).chopped(3);
    return languages;
}

QString ChooseTranslation(const QStringList& uiLanguages, const QStringList& available)
{
    for (const QString& uiLanguage : uiLanguages) {
        // "ja", "ja-JP", "ja-Jpan-JP"; Qt names the C and POSIX locales "C".
        if (uiLanguage == "C" || uiLanguage == "POSIX" || uiLanguage == "ja" || uiLanguage.startsWith("ja-"))
            return {};
        QString name = QString(uiLanguage).replace('-', '_');
        if (available.contains(name))
            return name;
    }
    return uiLanguages.isEmpty() ? QString() : QStringLiteral("en");
}

bool UseTranslation(const QString& language)
{
    // Lives as long as the process: the application looks every text up in it.
    static QTranslator translator;
    QCoreApplication::removeTranslator(&translator);
    if (language.isEmpty())
        return true;
    if (!translator.load(TranslationPrefix + language, TranslationFolder))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

void UseDesktopLanguage()
{
    const QString language = ChooseTranslation(QLocale::system().uiLanguages(), AvailableTranslations());
    if (!UseTranslation(language))
        std::fprintf(stderr, "tocklet: the %s texts could not be loaded; the game speaks Japanese\n",
                     qPrintable(language));
}
