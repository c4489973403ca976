// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/DisplayCheck.h"

#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QPluginLoader>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

bool IsSet(const EnvironmentLookup& lookup, const char* name)
{
    const char* value = lookup(name);
    return value != nullptr && *value != '\0';
}

std::string Value(const EnvironmentLookup& lookup, const char* name)
{
    const char* value = lookup(name);
    return value == nullptr ? std::string() : std::string(value);
}

// The value of a Qt option, "-name VALUE" or "--name VALUE"; empty when it is not given.
std::string OptionValue(const std::vector<std::string_view>& arguments, std::string_view name)
{
    for (std::size_t i = 1; i + 1 < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        if (argument.starts_with("--"))
            argument.remove_prefix(1);
        if (argument.starts_with('-') && argument.substr(1) == name && !arguments[i + 1].empty())
            return std::string(arguments[i + 1]);
    }
    return {};
}

std::string Lowered(std::string text)
{
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// Qt's own choice: the argument, else the variable, else xcb, tried after Wayland in a Wayland
// session (which Qt ignores on GNOME, where X11 is there as well).
std::string PlatformList(const std::vector<std::string_view>& arguments, const EnvironmentLookup& lookup)
{
    if (std::string chosen = OptionValue(arguments, "platform"); !chosen.empty())
        return chosen;
    if (IsSet(lookup, "QT_QPA_PLATFORM"))
        return Value(lookup, "QT_QPA_PLATFORM");
    const std::string desktops =
        Lowered(Value(lookup, "XDG_CURRENT_DESKTOP") + ":" + Value(lookup, "XDG_SESSION_DESKTOP"));
    if (Value(lookup, "XDG_SESSION_TYPE") == "wayland" && desktops.find("gnome") == std::string::npos)
        return "wayland;xcb";
    return "xcb";
}

// The plugin keys of a list such as "wayland;xcb:option=1", in order.
std::vector<std::string> PlatformNames(const std::string& list)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(';', start), list.size());
        const std::string entry = list.substr(start, end - start);
        if (std::string name = Lowered(entry.substr(0, entry.find(':'))); !name.empty())
            names.push_back(std::move(name));
        start = end + 1;
    }
    return names;
}

std::string Joined(const std::vector<std::string>& words)
{
    std::string joined;
    for (const std::string& word : words)
        joined += (joined.empty() ? "" : ", ") + word;
    return joined.empty() ? "none" : joined;
}

// Where the Wayland client library looks for its compositor; empty when it cannot know.
std::string WaylandSocket(const EnvironmentLookup& lookup)
{
    std::string name = IsSet(lookup, "WAYLAND_DISPLAY") ? Value(lookup, "WAYLAND_DISPLAY") : "wayland-0";
    if (name.starts_with('/'))
        return name;
    if (!IsSet(lookup, "XDG_RUNTIME_DIR"))
        return {};
    return Value(lookup, "XDG_RUNTIME_DIR") + "/" + name;
}

// Why the platform cannot be opened; empty when it can.
std::string PlatformProblem(const std::string& name, const std::vector<std::string_view>& arguments,
                            const EnvironmentLookup& lookup, const DisplayProbe& probe)
{
    if (std::ranges::find(probe.platforms, name) == probe.platforms.end()) {
        const std::string hint = name.starts_with("wayland") ? "; the package qt6-wayland adds it" : "";
        return "no Qt platform \"" + name + "\" is installed (there are: " + Joined(probe.platforms) + hint
               + ")";
    }
    if (name == "xcb") {
        std::string display = OptionValue(arguments, "display");
        if (display.empty())
            display = Value(lookup, "DISPLAY");
        if (display.empty())
            return "no X display: DISPLAY is not set";
        if (std::string refusal = probe.xServerRefusal(display); !refusal.empty())
            return refusal;
    } else if (name.starts_with("wayland") && !IsSet(lookup, "WAYLAND_SOCKET")) {
        const std::string socket = WaylandSocket(lookup);
        if (socket.empty())
            return "no Wayland compositor: XDG_RUNTIME_DIR is not set";
        if (!probe.waylandAnswers(socket))
            return "no Wayland compositor answers at " + socket;
    }
    return {};
}

// A connection to the X server, open while the pointer lives; null when there is none, and
// refusal then says why. libxcb writes a server's reason for refusing a client (no
// authorisation) straight to standard error: it is caught in a pipe to be said in the one line.
std::shared_ptr<xcb_connection_t> ConnectX(const std::string& display, std::string& refusal)
{
    std::array<int, 2> pipeFds{-1, -1};
    const int savedErrors = ::dup(STDERR_FILENO);
    const bool catching = savedErrors >= 0 && ::pipe2(pipeFds.data(), O_CLOEXEC | O_NONBLOCK) == 0
                          && ::dup2(pipeFds[1], STDERR_FILENO) >= 0;
    std::shared_ptr<xcb_connection_t> connection(xcb_connect(display.c_str(), nullptr), xcb_disconnect);
    std::string said;
    if (catching) {
        ::dup2(savedErrors, STDERR_FILENO);
        std::array<char, 512> buffer{};
        const ssize_t length = ::read(pipeFds[0], buffer.data(), buffer.size());
        if (length > 0)
            said.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    for (const int fd : {pipeFds[0], pipeFds[1], savedErrors})
        if (fd >= 0)
            ::close(fd);
    if (xcb_connection_has_error(connection.get()) == 0)
        return connection;
    std::replace(said.begin(), said.end(), '\n', ' ');
    while (!said.empty() && said.back() == ' ')
        said.pop_back();
    refusal = said.empty() ? "no X server accepts a connection on DISPLAY " + display
                           : "the X server on " + display + " refused the connection: " + said;
    return nullptr;
}

bool SocketAnswers(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(static_cast<char*>(address.sun_path), path.c_str(), path.size() + 1);
    const int socketFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socketFd < 0)
        return false;
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the socket API's own cast
    const bool answers =
        ::connect(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(socketFd);
    return answers;
}

// The keys of the platform plugins in the folders Qt searches, read from their metadata
// without loading them.
std::vector<std::string> InstalledPlatforms(const EnvironmentLookup& lookup)
{
    QStringList folders;
    if (IsSet(lookup, "QT_QPA_PLATFORM_PLUGIN_PATH"))
        folders << QString::fromLocal8Bit(lookup("QT_QPA_PLATFORM_PLUGIN_PATH"));
    if (IsSet(lookup, "QT_PLUGIN_PATH")) {
        for (const QString& folder :
             QString::fromLocal8Bit(lookup("QT_PLUGIN_PATH")).split(':', Qt::SkipEmptyParts))
            folders << folder + "/platforms";
    }
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platforms";
    std::vector<std::string> keys;
    for (const QString& folder : folders) {
        const QDir directory(folder);
        for (const QString& file : directory.entryList(QDir::Files)) {
            const QJsonObject metaData = QPluginLoader(directory.filePath(file)).metaData();
            for (const auto& key : metaData.value("MetaData").toObject().value("Keys").toArray())
                keys.push_back(Lowered(key.toString().toStdString()));
        }
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

// The program's name, and how to start it under Xvfb, from the way it was started.
std::string ProgramName(std::string_view program)
{
    return std::string(program.substr(program.find_last_of('/') + 1));
}

std::string XvfbRun(std::string_view program)
{
    return "xvfb-run -a " + std::string(program);
}

// Qt's messages while the application is made; the handler is a plain function, so this is
// shared. Qt may log from its own threads meanwhile.
struct StartMessages {
    struct Held {
        QtMsgType type;
        // Qt's log contexts point at static texts, and cannot be copied themselves.
        const char* file;
        int line;
        const char* function;
        const char* category;
        QString text;
    };

    std::mutex lock;
    std::string program;
    // The first message of Qt's platform layer, which names the cause of a fatal one after it.
    std::string platformWarning;
    std::vector<Held> held;
};
StartMessages startMessages;

std::string FirstLine(const QString& text)
{
    return text.section('\n', 0, 0).toStdString();
}

void OnStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    const std::lock_guard<std::mutex> guard(startMessages.lock);
    if (type == QtFatalMsg) {
        const std::string cause =
            startMessages.platformWarning.empty() ? FirstLine(text) : startMessages.platformWarning;
        const std::string_view program = startMessages.program;
        std::fprintf(stderr,
                     "%s: cannot open a window: %s; to run it without a display, start it under Xvfb: %s\n",
                     ProgramName(program).c_str(), cause.c_str(), XvfbRun(program).c_str());
        std::fflush(stderr);
        // Qt would abort once this returns. Nothing has been read or written yet, and a
        // half-made application is not to be torn down.
        std::_Exit(1);
    }
    if (startMessages.platformWarning.empty() && context.category != nullptr
        && std::string_view(context.category).starts_with("qt.qpa"))
        startMessages.platformWarning = FirstLine(text);
    startMessages.held.push_back(
        {type, context.file, context.line, context.function, context.category, text});
}

} // namespace

std::string NoDisplayMessage(const std::vector<std::string_view>& arguments, const EnvironmentLookup& lookup,
                             const DisplayProbe& probe)
{
    const std::string_view program = arguments.empty() || arguments[0].empty() ? "tocklet" : arguments[0];
    const std::string name = ProgramName(program);
    const std::string xvfb = XvfbRun(program);
    const bool chosenByArgument = !OptionValue(arguments, "platform").empty();
    const bool chosenByVariable = !chosenByArgument && IsSet(lookup, "QT_QPA_PLATFORM");

    std::string problems;
    for (const std::string& platform : PlatformNames(PlatformList(arguments, lookup))) {
        const std::string problem = PlatformProblem(platform, arguments, lookup, probe);
        if (problem.empty())
            return {};
        problems += (problems.empty() ? "" : ", and ") + problem;
    }
    if (!chosenByArgument && !chosenByVariable && !IsSet(lookup, "DISPLAY")
        && !IsSet(lookup, "WAYLAND_DISPLAY"))
        return name + ": no display to open a window on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
               + "to run it without one, start it under Xvfb: " + xvfb;
    // Xvfb serves xcb; a platform chosen in the environment would still be tried first.
    return name + ": cannot open a window: " + problems
           + "; to run it without a display, start it under Xvfb: "
           + (chosenByVariable ? "QT_QPA_PLATFORM=xcb " : "") + xvfb;
}

bool RequireDisplay(int argc, char* argv[], DisplayHold& hold)
{
    const std::vector<std::string_view> arguments(argv, argv + argc);
    // Read at start-up, before any thread that could change the environment.
    const auto lookup = [](const char* name) { return std::getenv(name); }; // NOLINT(concurrency-mt-unsafe)
    const auto xServerRefusal = [&hold](const std::string& display) {
        std::string refusal;
        hold = ConnectX(display, refusal);
        return refusal;
    };
    const DisplayProbe probe{InstalledPlatforms(lookup), xServerRefusal, SocketAnswers};
    const std::string message = NoDisplayMessage(arguments, lookup, probe);
    if (message.empty())
        return true;
    hold.reset();
    std::fprintf(stderr, "%s\n", message.c_str());
    return false;
}

std::unique_ptr<QApplication> OpenApplication(int& argc, char* argv[])
{
    startMessages.program = argc > 0 && *argv[0] != '\0' ? argv[0] : "tocklet";
    const QtMessageHandler previous = qInstallMessageHandler(OnStartMessage);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    const std::lock_guard<std::mutex> guard(startMessages.lock);
    for (const StartMessages::Held& message : startMessages.held)
        previous(message.type,
                 QMessageLogContext(message.file, message.line, message.function, message.category),
                 message.text);
    startMessages.held.clear();
    return application;
}
