// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QCoreApplication>

#include <string>

// A text of the program in the language the application uses. The source texts are the
// program's own Japanese ones, marked for the translators with QT_TRANSLATE_NOOP(context, …).
inline std::string Translated(const char* context, const char* source)
{
    return QCoreApplication::translate(context, source).toStdString();
}

// The same with its number put in place of %1.
inline std::string Translated(const char* context, const char* source, const std::string& number)
{
    return QCoreApplication::translate(context, source).arg(QString::fromStdString(number)).toStdString();
}
