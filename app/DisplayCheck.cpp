// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/DisplayCheck.h"

#include <cstdio>
#include <cstdlib>

namespace {

bool IsSet(const EnvironmentLookup& lookup, const char* name)
{
    const char* value = lookup(name);
    return value != nullptr && *value != '\0';
}

// Qt takes "-platform NAME", also spelt with two dashes.
bool ChoosesPlatform(const std::vector<std::string_view>& arguments)
{
    for (std::size_t i = 1; i + 1 < arguments.size(); ++i) {
        if ((arguments[i] == "-platform" || arguments[i] == "--platform") && !arguments[i + 1].empty())
            return true;
    }
    return false;
}

} // namespace

std::string NoDisplayMessage(const std::vector<std::string_view>& arguments, const EnvironmentLookup& lookup)
{
    if (IsSet(lookup, "QT_QPA_PLATFORM") || ChoosesPlatform(arguments) || IsSet(lookup, "DISPLAY")
        || IsSet(lookup, "WAYLAND_DISPLAY"))
        return {};
    const std::string_view program = arguments.empty() || arguments[0].empty() ? "tocklet" : arguments[0];
    std::string name(program.substr(program.find_last_of('/') + 1));
    return name + ": no display to open a window on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
           + "to run it without one, start it under Xvfb: xvfb-run -a " + std::string(program);
}

bool RequireDisplay(int argc, char* argv[])
{
    const std::vector<std::string_view> arguments(argv, argv + argc);
    // Read at start-up, before any thread that could change the environment.
    const auto lookup = [](const char* name) { return std::getenv(name); }; // NOLINT(concurrency-mt-unsafe)
    const std::string message = NoDisplayMessage(arguments, lookup);
    if (message.empty())
        return true;
    std::fprintf(stderr, "%s\n", message.c_str());
    return false;
}
