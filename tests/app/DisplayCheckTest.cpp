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
};

void PrintTo(const DisplayCase& c, std::ostream* out)
{
    *out << c.what;
}

class DisplayCheck : public testing::TestWithParam<DisplayCase> {};

std::string MessageFor(const DisplayCase& c)
{
    return NoDisplayMessage(c.arguments, [&](const char* name) -> const char* {
        const auto found = c.environment.find(name);
        return found == c.environment.end() ? nullptr : found->second.c_str();
    });
}

} // namespace

TEST_P(DisplayCheck, ComplainsOnlyWhenQtWouldFindNoDisplay)
{
    EXPECT_EQ(!MessageFor(GetParam()).empty(), GetParam().complains);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, DisplayCheck,
    testing::Values(DisplayCase{"NothingSet", {}, {"tocklet"}, true},
                    DisplayCase{"X11Display", {{"DISPLAY", ":0"}}, {"tocklet"}, false},
                    DisplayCase{"WaylandDisplay", {{"WAYLAND_DISPLAY", "wayland-0"}}, {"tocklet"}, false},
                    DisplayCase{"ChosenPlatform", {{"QT_QPA_PLATFORM", "offscreen"}}, {"tocklet"}, false},
                    DisplayCase{"PlatformArgument", {}, {"tocklet", "-platform", "offscreen"}, false},
                    DisplayCase{
                        "DoubleDashPlatformArgument", {}, {"tocklet", "--platform", "offscreen"}, false},
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
