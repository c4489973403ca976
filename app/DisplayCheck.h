// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Reads an environment variable; null when it is not set.
using EnvironmentLookup = std::function<const char*(const char*)>;

// The one line to show when Qt would find nothing to open a window on: no platform is chosen
// (QT_QPA_PLATFORM or a -platform argument) and neither DISPLAY nor WAYLAND_DISPLAY is set.
// Empty when a window can be tried. arguments[0] is the program as it was started.
std::string NoDisplayMessage(const std::vector<std::string_view>& arguments, const EnvironmentLookup& lookup);

// Prints NoDisplayMessage on standard error when it applies and returns false then.
// Call it before constructing the QApplication.
bool RequireDisplay(int argc, char* argv[]);
