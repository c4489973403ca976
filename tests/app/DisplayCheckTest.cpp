// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/DisplayCheck.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

struct DisplayCase {
    const char* what;
    std::map<std::string, std::string> environment;
    std::vector<std::string_view> arguments;
    bool complains;
    // What the line must name when it complains.
    const char* names = "";
};

void PrintTo(const DisplayCase& c, std::ostream* out)
{
    *out << c.what;
}

class DisplayCheck : public testing::TestWithParam<DisplayCase> {};

// A machine with three platform plugins, an X server on :0 and a compositor for user 1000.
std::string MessageFor(const DisplayCase& c)
{
    const DisplayProbe probe{{"offscreen", "wayland", "xcb"},
                             [](const std::string& display) {
                                 return display == ":0"
                                            ? ""
                                            : "no X server accepts a connection on DISPLAY " + display;
                             },
                             [](const std::string& socket) { return socket == "/run/user/1000/wayland-0"; }};
    return NoDisplayMessage(
        c.arguments,
        [&](const char* name) -> const char* {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? nullptr : found->second.c_str();
        },
        probe);
}

} // namespace

TEST_P(DisplayCheck, ComplainsOnlyWhenQtWouldFindNoDisplayAndNamesWhatIsMissing)
{
    const std::string message = MessageFor(GetParam());
    EXPECT_EQ(!message.empty(), GetParam().complains) << message;
    EXPECT_NE(message.find(GetParam().names), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(
    Environments, DisplayCheck,
    testing::Values(
        DisplayCase{"NothingSet", {}, {"tocklet"}, true},
        DisplayCase{"X11Display", {{"DISPLAY", ":0"}}, {"tocklet"}, false},
        DisplayCase{"X11DisplayWithoutServer", {{"DISPLAY", ":987"}}, {"tocklet"}, true, ":987"},
        DisplayCase{"DisplayArgument", {{"DISPLAY", ":987"}}, {"tocklet", "-display", ":0"}, false},
        DisplayCase{"WaylandDisplayOutsideAWaylandSessionIsNotTried",
                    {{"WAYLAND_DISPLAY", "wayland-0"}, {"XDG_RUNTIME_DIR", "/run/user/1000"}},
                    {"tocklet"},
                    true,
                    "DISPLAY is not set"},
        DisplayCase{"WaylandSession",
                    {{"XDG_SESSION_TYPE", "wayland"}, {"XDG_RUNTIME_DIR", "/run/user/1000"}},
                    {"tocklet"},
                    false},
        DisplayCase{"WaylandSessionWithoutCompositorFallsBackToX11",
                    {{"XDG_SESSION_TYPE", "wayland"}, {"WAYLAND_DISPLAY", "wayland-1"}, {"DISPLAY", ":0"}},
                    {"tocklet"},
                    false},
        DisplayCase{"WaylandSessionOnGnomeUsesX11",
                    {{"XDG_SESSION_TYPE", "wayland"},
                     {"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"},
                     {"XDG_RUNTIME_DIR", "/run/user/1000"},
                     {"DISPLAY", ":987"}},
                    {"tocklet"},
                    true,
                    ":987"},
        DisplayCase{"WaylandSessionOnGnomeNamedByTheSessionUsesX11",
                    {{"XDG_SESSION_TYPE", "wayland"},
                     {"XDG_SESSION_DESKTOP", "gnome"},
                     {"XDG_RUNTIME_DIR", "/run/user/1000"},
                     {"DISPLAY", ":987"}},
                    {"tocklet"},
                    true,
                    ":987"},
        DisplayCase{"ChosenPlatform", {{"QT_QPA_PLATFORM", "offscreen"}}, {"tocklet"}, false},
        DisplayCase{
            "ChosenPlatformWithOptions", {{"QT_QPA_PLATFORM", "Offscreen:size=9x9"}}, {"tocklet"}, false},
        DisplayCase{
            "UninstalledPlatform",
            {{"QT_QPA_PLATFORM", "eglfs"}, {"DISPLAY", ":0"}},
            {"tocklet"},
            true,
            "no Qt platform \"eglfs\" is installed (there are: offscreen, wayland, xcb); to run it without a "
            "display, start it under Xvfb: QT_QPA_PLATFORM=xcb xvfb-run -a tocklet"},
        DisplayCase{"FallbackListTakesTheFirstThatOpens",
                    {{"QT_QPA_PLATFORM", "eglfs;xcb;offscreen"}, {"DISPLAY", ":987"}},
                    {"tocklet"},
                    false},
        DisplayCase{"WaylandWithoutCompositor",
                    {{"QT_QPA_PLATFORM", "wayland"}, {"XDG_RUNTIME_DIR", "/run/user/1001"}},
                    {"tocklet"},
                    true,
                    "/run/user/1001/wayland-0"},
        DisplayCase{"WaylandWithoutRuntimeDirectory",
                    {{"QT_QPA_PLATFORM", "wayland"}},
                    {"tocklet"},
                    true,
                    "XDG_RUNTIME_DIR"},
        DisplayCase{"WaylandAtAnAbsolutePath",
                    {{"QT_QPA_PLATFORM", "wayland"}, {"WAYLAND_DISPLAY", "/run/user/1000/wayland-0"}},
                    {"tocklet"},
                    false},
        DisplayCase{"PlatformArgumentWinsOverTheVariable",
                    {{"QT_QPA_PLATFORM", "eglfs"}},
                    {"tocklet", "-platform", "offscreen"},
                    false},
        DisplayCase{"PlatformArgument", {}, {"tocklet", "-platform", "offscreen"}, false},
        DisplayCase{"DoubleDashPlatformArgument", {}, {"tocklet", "--platform", "offscreen"}, false},
        DisplayCase{"PlatformArgumentWithoutName", {}, {"tocklet", "-platform"}, true},
        DisplayCase{"EmptyVariablesCountAsUnset",
                    {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}},
                    {"tocklet"},
                    true},
        DisplayCase{"UnrelatedArgument", {}, {"tocklet", "offscreen"}, true}),
    [](const testing::TestParamInfo<DisplayCase>& info) { return std::string(info.param.what); });

TEST(DisplayCheckMessage, IsOneLineNamingTheProgramAndHowToRunItUnderXvfb)
{
    const std::string message = MessageFor({"", {}, {"./build/app/tocklet"}, true});
    EXPECT_EQ(message.find('\n'), std::string::npos);
    EXPECT_EQ(message.rfind("tocklet: ", 0), 0u) << message;
    EXPECT_NE(message.find("DISPLAY"), std::string::npos) << message;
    EXPECT_NE(message.find("xvfb-run -a ./build/app/tocklet"), std::string::npos) << message;
}

TEST(DisplayCheckMessage, FallsBackToTheProgramNameWithoutArguments)
{
    EXPECT_NE(MessageFor({"", {}, {}, true}).find("xvfb-run -a tocklet"), std::string::npos);
}
