// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>

#include <array>
#include <csignal>

class QSocketNotifier;

// Turns the requests from outside to end the program into QuitRequested on the thread that made
// the watcher: SIGTERM, SIGINT and SIGHUP, and the application's Quit event, which is how Qt
// passes on the session manager's order to end at the close of the desktop session. Its signal
// handler only writes to a pipe that the event loop reads, so it is safe whenever it runs. One
// watcher at a time; the handlers that were there before come back when it goes. Needs a
// QGuiApplication.
class QuitWatcher : public QObject {
    Q_OBJECT

public:
    static constexpr std::array<int, 3> WatchedSignals{SIGTERM, SIGINT, SIGHUP};

    QuitWatcher();
    ~QuitWatcher() override;
    QuitWatcher(const QuitWatcher&) = delete;
    QuitWatcher& operator=(const QuitWatcher&) = delete;

    // For a caller whose event loop no longer runs: whether a signal came since the last request
    // was emitted or taken, taking it.
    bool TakeSignal();

signals:
    void QuitRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnSignalPipe();

    std::array<int, 2> pipeFds{-1, -1};
    QSocketNotifier* notifier = nullptr;
    std::array<struct sigaction, WatchedSignals.size()> previous{};
};
