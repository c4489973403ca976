// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>

// Numbers of the settings file as text, the same whatever locale the process runs in.

// atoi: leading white space, an optional sign, digits up to the first other character; a value
// beyond int's range gives INT_MAX or INT_MIN, text without a number gives 0.
int ParseInt(const std::string& text);
// atof as in the "C" locale: the decimal point is always '.'.
double ParseDouble(const std::string& text);

std::string FormatInt(int value);
// Plain decimal notation with the fewest digits that ParseDouble reads back as the same double.
std::string FormatTime(double value);
