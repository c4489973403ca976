// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/QuitWatcher.h"

#include <QEvent>
#include <QGuiApplication>
#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Read by the handler, which may only touch lock-free atomics.
std::atomic<int> signalPipe{-1};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void WriteSignalByte(int number)
{
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(number);
    // A full pipe already holds a request: the byte may be dropped.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe.load(), &byte, 1);
    errno = savedErrno;
}

} // namespace

QuitWatcher::QuitWatcher()
{
    if (::pipe2(pipeFds.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("tocklet: signals will end the program without saving");
        pipeFds = {-1, -1};
    } else {
        signalPipe.store(pipeFds[1]);
        notifier = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, &QuitWatcher::OnSignalPipe);
        struct sigaction action {};
        action.sa_handler = WriteSignalByte;
        sigemptyset(&action.sa_mask);
        // Restarted, so that a signal during a save does not fail one of its calls.
        action.sa_flags = SA_RESTART;
        for (std::size_t i = 0; i < WatchedSignals.size(); ++i)
            ::sigaction(WatchedSignals.at(i), &action, &previous.at(i));
    }
    qGuiApp->installEventFilter(this);
}

QuitWatcher::~QuitWatcher()
{
    qGuiApp->removeEventFilter(this);
    if (pipeFds[0] < 0)
        return;
    for (std::size_t i = 0; i < WatchedSignals.size(); ++i)
        ::sigaction(WatchedSignals.at(i), &previous.at(i), nullptr);
    signalPipe.store(-1);
    delete notifier;
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
}

// The session manager's "die" arrives as a Quit event, which Qt would turn into close requests
// that the game window refuses. Its earlier commit-data request is not taken as an end: the
// user may still cancel the logout then.
bool QuitWatcher::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == qGuiApp && event->type() == QEvent::Quit) {
        emit QuitRequested();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

bool QuitWatcher::TakeSignal()
{
    if (pipeFds[0] < 0)
        return false;
    bool came = false;
    std::array<unsigned char, 64> bytes{};
    while (::read(pipeFds[0], bytes.data(), bytes.size()) > 0)
        came = true;
    return came;
}

// However many signals came, one request.
void QuitWatcher::OnSignalPipe()
{
    TakeSignal();
    emit QuitRequested();
}
