// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QApplication;

// Reads an environment variable; null when it is not set.
using EnvironmentLookup = std::function<const char*(const char*)>;

// What the machine offers Qt to open a window on.
struct DisplayProbe {
    // The keys of the installed Qt platform plugins ("xcb", "offscreen", …).
    std::vector<std::string> platforms;
    // Why no X server accepts a connection on the display (":0"); empty when one does.
    std::function<std::string(const std::string& display)> xServerRefusal;
    // Whether a Wayland compositor listens on the socket (an absolute path).
    std::function<bool(const std::string& socket)> waylandAnswers;
};

// The one line to show when Qt would find no platform it can open, in the order Qt tries them:
// a -platform argument, QT_QPA_PLATFORM ("a;b" lists and ":options" included) or the desktop
// session's default. Empty when one of them can be opened. arguments[0] is the program as it
// was started.
std::string NoDisplayMessage(const std::vector<std::string_view>& arguments, const EnvironmentLookup& lookup,
                             const DisplayProbe& probe);

// The X connection that RequireDisplay made, open while this lives; null when it made none.
using DisplayHold = std::shared_ptr<void>;

// Prints NoDisplayMessage for this machine on standard error and returns false when it applies.
// Call it before constructing the QApplication, which would abort instead. Otherwise hold gets
// the X connection of the check, if any: keep it until the QApplication exists, since an X
// server that loses its last client resets (Xvfb does under xvfb-run) and drops the connections
// made meanwhile, Qt's among them.
bool RequireDisplay(int argc, char* argv[], DisplayHold& hold);

// Constructs the application. A fatal message from Qt meanwhile, whose platform could not be
// opened after all, ends the program with one line on standard error and status 1 instead of an
// abort; Qt's other messages of that time are passed on once the application exists.
std::unique_ptr<QApplication> OpenApplication(int& argc, char* argv[]);
