// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/Translation.h"

#include "base/SecondsText.h"
#include "render/Translated.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <string>

namespace {

// Where the build puts the compiled translations, as tocklet_<language>.qm.
constexpr char TranslationFolder[] = ":/i18n";
constexpr char TranslationPrefix[] = "tocklet_";

constexpr char PlayTimeWords[] = QT_TRANSLATE_NOOP("Tocklet", "[時間:%1秒]");

} // namespace

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

GameThread::PlayTimeText MakePlayTimeText()
{
    const std::string words = Translated(TextContext, PlayTimeWords);
    const std::size_t number = words.find("%1");
    const std::string before = words.substr(0, number);
    const std::string after = number == std::string::npos ? std::string() : words.substr(number + 2);
    return [before, after](double seconds) { return before + FormatSeconds(seconds) + after; };
}
