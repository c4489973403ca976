// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

class QApplication;

// The program icon IDI_MAIN: 16 and 32 pixel images, and 64 for screens with doubled pixels.
QIcon LoadMainIcon();

// Gives the application its names for the desktop and its window icon.
void SetUpApplication(QApplication& application);

// The translations built into the program, by language ("en", …).
QStringList AvailableTranslations();

// The translation for a desktop whose languages are uiLanguages, most preferred first (as
// QLocale::uiLanguages gives them): none, that is the program's own Japanese texts, when the
// first language the program speaks is Japanese, or for the C and POSIX locales; else the first
// language among the available ones; else English.
QString ChooseTranslation(const QStringList& uiLanguages, const QStringList& available);

// Makes the named translation the one every text of the program is looked up in; empty for the
// program's own texts. Replaces the one used before. False when it cannot be loaded.
bool UseTranslation(const QString& language);

// Uses the translation that the desktop's languages ask for (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
void UseDesktopLanguage();
