// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QCoreApplication>

#include <string>

// The context of every text that belongs to no QObject; those of a QObject go through its tr().
// lupdate reads the context where each text is marked, so it is spelt out there:
// QT_TRANSLATE_NOOP("Tocklet", "…").
constexpr char TextContext[] = "Tocklet";

// A text of the program in the language the application uses. The source texts are the
// program's own Japanese ones.
inline std::string Translated(const char* context, const char* source)
{
    return QCoreApplication::translate(context, source).toStdString();
}

// The same with its number put in place of %1.
inline std::string Translated(const char* context, const char* source, const std::string& number)
{
    return QCoreApplication::translate(context, source).arg(QString::fromStdString(number)).toStdString();
}
