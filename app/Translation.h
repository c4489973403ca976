// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "threads/GameThread.h"

#include <QString>
#include <QStringList>

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

// The play-time status text in the language of the application: 12.345 gives "[時間:12.3秒]".
// Its words are looked up once: the function it gives may run on any thread.
GameThread::PlayTimeText MakePlayTimeText();
