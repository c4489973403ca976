// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "app/HiddenControls.h"
#include "app/KeyMap.h"
#include "app/PlayInput.h"
#include "app/PlaySession.h"
#include "app/PointerInput.h"
#include "app/ReaderEvents.h"
#include "app/RecordsView.h"
#include "app/ReplayThread.h"
#include "app/ScoreBoard.h"
#include "app/SoundSwitch.h"
#include "base/GameEventFanOut.h"
#include "base/GameEventSink.h"
#include "base/Geometry.h"
#include "render/GameScreen.h"
#include "threads/GameThread.h"
#include "threads/OwnerWindow.h"

#include <QDialog>
#include <QIcon>
#include <QTimer>

#include <atomic>

class Mixer;
class QAction;
class QWidget;
class ScoreTable;

// The game window: its client area is drawn entirely by the game screen. The hidden controls
// only place the play area, the title panel and the Start, Exit and Read buttons. Mouse input
// serves the drawn buttons on the title screen and the swing gesture during play; the keys do
// the same: Tab and the arrows move the focus among the drawn buttons, Enter or Space presses
// one, and during play the arrows and Enter make a swing. Read, or R, shows the records in
// place of the title; Up, Down and Enter, or a click, watch a row's replay in the field, and
// Escape, R or a click beside the rows go back. The window owns the screen, the threads and
// the parts that do each of these, and routes Qt's events and the game thread's requests to them.
class MainDialog : public QDialog, public OwnerWindow {
    Q_OBJECT

public:
    // The title buttons' controls have the ids of their rows in TitleButtons.
    static constexpr int IDOK = RowOf(TitleButton::Exit).controlId;
    static constexpr int IDC_PLAYAREA = 1000;
    static constexpr int IDC_START = RowOf(TitleButton::Start).controlId;
    static constexpr int IDC_STOP = 1002;
    static constexpr int IDC_READ = RowOf(TitleButton::Read).controlId;
    static constexpr int IDC_TITLE = 1006;
    static constexpr int ClientWidth = ClientArea.right;
    static constexpr int ClientHeight = ClientArea.bottom;
    static constexpr int RefreshTimerMs = 500;

    // The window shows the table's best time and records the games lost in it, saving on a
    // thread of its own; the table must outlive the window, and is the caller's again after
    // FinishSaves.
    explicit MainDialog(ScoreTable& table, QWidget* parent = nullptr);
    ~MainDialog() override;

    // Thread-safe: the game thread asks through these; the work is queued to this window.
    void RequestRepaint(bool erase) override;
    void RequestRepaint(const Rect& rect, bool erase) override;
    bool EnableControl(int controlId, bool enable) override;
    void GameEnded(const GameResult& result) override;
    void ReturnedToTitle() override;

    // Waits for the saves asked for so far; the window saves nothing more.
    void FinishSaves() { scoreBoard.Finish(); }
    // The game's sounds, as SoundSwitch::SetMixer.
    void SetSound(Mixer* mixer) { sound.SetMixer(mixer); }
    bool IsSoundOn() const { return sound.IsOn(); }

    // The control's rectangle in client coordinates; empty when there is no such control.
    Rect GetControlRect(int controlId) const { return controls.RectOf(controlId); }

    GameScreen& GetGameScreen() { return gameScreen; }
    GameThread& GetGameThread() { return gameThread; }
    // The table's side, whose saves the program's end finishes.
    ScoreBoard& GetScoreBoard() { return scoreBoard; }
    ReplayThread& GetReplayThread() { return replayThread; }
    QAction* GetAboutAction() const { return aboutAction; }
    // How many times this window asked itself to repaint, from any source. Kept for the tests:
    // Qt merges repaint requests into fewer paints, so the paints cannot be counted instead.
    int GetInvalidateCount() const { return invalidateCount.load(); }

public slots:
    void OnAbout();
    // A request from outside to end the program: stops a game as Escape does and closes the
    // window as Exit does, the About box and the menu first.
    void OnQuitRequest();

public:
    // On the window's thread: the whole client area is painted again, and counted.
    void Invalidate();
    // The parked game thread asks for no repaints, yet the gestures of a pause must show.
    void RepaintIfPaused();
    // What a click on the drawn button does, from a key or a screen reader alike.
    void PressTitleButton(TitleButton button);

protected:
    void OnInitDialog();
    void OnOK();
    // On the keeper's thread after each of its jobs: has the window show the table.
    void OnTableKept();

    void reject() override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Every key goes by KeyMap, Tab and Shift+Tab too, which move among the drawn buttons.
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The window active again: a screen reader is told the focus anew.
    void changeEvent(QEvent* event) override;

private:
    KeyMap::View CurrentView() const;
    void Run(KeyMap::Command command, bool shift);
    void MoveTitleFocus(int step);
    void Invalidate(const Rect& rect);

    ScoreBoard scoreBoard;
    QIcon icon;
    GameScreen gameScreen;
    GameThread gameThread;
    ReplayThread replayThread;
    PlayInput playInput{gameScreen};
    HiddenControls controls{*this};
    // The moments of the game, told to the sound and to a screen reader alike.
    GameEventFanOut gameEvents;
    ReaderEvents readerEvents{*this};
    QAction* aboutAction = nullptr;
    QTimer refreshTimer;
    SoundSwitch sound{*this, scoreBoard, gameScreen, gameEvents};
    RecordsView records{*this, playInput, sound};
    PlaySession play{*this, playInput, gameEvents};
    std::atomic<int> invalidateCount{0};
    PointerInput pointer{*this, playInput, records};
};
