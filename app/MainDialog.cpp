// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/MainDialog.h"

#include "app/AboutDialog.h"
#include "app/Program.h"
#include "app/Translation.h"
#include "app/WindowAccessible.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMetaObject>
#include <QPainter>
#include <QWidget>

MainDialog::MainDialog(ScoreTable& table, QWidget* parent)
    : QDialog(parent)
    , scoreBoard(table, [this] { OnTableKept(); })
    , icon(LoadMainIcon())
{
    setWindowTitle("Tocklet");
    setFixedSize(ClientWidth, ClientHeight);
    setMouseTracking(true);
    // The screen covers the whole client area on every paint; nothing needs clearing first.
    setAttribute(Qt::WA_OpaquePaintEvent);

    // The layout of the window, in client pixels; only the play area starts enabled.
    controls.Add(IDC_TITLE, TitlePanel);
    for (const TitleButtonRow& row : TitleButtons)
        controls.Add(row.controlId, row.rect);
    controls.Add(IDC_PLAYAREA, ClientArea, true);

    aboutAction = new QAction(tr("Tocklet のﾊﾞｰｼﾞｮﾝ情報(&A)..."), this);
    connect(aboutAction, &QAction::triggered, this, &MainDialog::OnAbout);

    refreshTimer.setInterval(RefreshTimerMs);
    connect(&refreshTimer, &QTimer::timeout, this, [this] { gameThread.RefreshControls(); });
    // Asked only once a screen reader is about; adding it again changes nothing.
    QAccessible::installFactory(WindowAccessible::Factory);
    gameEvents.Add(&readerEvents);
    gameScreen.GetWorld().SetEventSink(&gameEvents);

    OnInitDialog();
}

MainDialog::~MainDialog()
{
    // The game loop works on gameScreen and asks this window for repaints: it must be gone first,
    // and so must a replay and the saves, which ask for them too.
    gameThread.StopAndJoin();
    replayThread.StopAndJoin();
    scoreBoard.Finish();
}

void MainDialog::OnInitDialog()
{
    setWindowIcon(icon);
    const Rect area = GetControlRect(IDC_PLAYAREA);
    gameScreen.SetArea(area.left, area.top, area.right, area.bottom);
    gameScreen.SetTitleText(tr("トクレット").toStdString());
    gameScreen.titleRect = GetControlRect(IDC_TITLE);
    for (const TitleButtonRow& row : TitleButtons)
        gameScreen.SetButtonRect(row.button, GetControlRect(row.controlId));
    // No control has this id: the rectangle stays empty, so the button never shows or is hit.
    gameScreen.stopRect = GetControlRect(IDC_STOP);
    gameThread.SetScreen(&gameScreen);
    gameThread.SetPlayTimeText(MakePlayTimeText());
    gameThread.SetOwner(this);
    replayThread.SetOwner(this);
    scoreBoard.ShowOn(gameScreen);
    refreshTimer.start();
}

void MainDialog::RequestRepaint(bool)
{
    QMetaObject::invokeMethod(
        this, [this] { Invalidate(); }, Qt::QueuedConnection);
}

void MainDialog::RequestRepaint(const Rect& rect, bool)
{
    QMetaObject::invokeMethod(
        this, [this, rect] { Invalidate(rect); }, Qt::QueuedConnection);
}

bool MainDialog::EnableControl(int controlId, bool enable)
{
    return controls.Enable(controlId, enable);
}

void MainDialog::GameEnded(const GameResult& result)
{
    QMetaObject::invokeMethod(
        this, [this, result] { play.Ended(result); }, Qt::QueuedConnection);
}

void MainDialog::ReturnedToTitle()
{
    QMetaObject::invokeMethod(
        this, [this] { WindowAccessible::FocusMoved(*this); }, Qt::QueuedConnection);
}

void MainDialog::OnTableKept()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            scoreBoard.ShowOn(gameScreen);
            Invalidate();
        },
        Qt::QueuedConnection);
}

// Every paint draws the whole client area, so the erase flag of a request changes nothing here.
void MainDialog::Invalidate()
{
    invalidateCount.fetch_add(1);
    update();
}

void MainDialog::Invalidate(const Rect& rect)
{
    invalidateCount.fetch_add(1);
    update(QRect(rect.left, rect.top, rect.Width(), rect.Height()));
}

void MainDialog::OnAbout()
{
    AboutDialog about(this);
    about.exec();
}

void MainDialog::OnOK()
{
    gameThread.StopAndJoin();
    replayThread.StopAndJoin();
    accept();
}

void MainDialog::OnQuitRequest()
{
    // Each of them runs an event loop of its own, inside which this window's would wait.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible())
            window->close();
    }
    play.Stop();
    OnOK();
}

void MainDialog::PressTitleButton(TitleButton button)
{
    if (gameScreen.IsPlaying() || gameScreen.IsShowingRecords())
        return;
    const TitleButtonRow& row = RowOf(button);
    if (row.clicks)
        sound.Play(GameEvent::ButtonClick);
    switch (row.press) {
    case TitleAction::StartGame: play.Start(); break;
    case TitleAction::Exit: OnOK(); break;
    case TitleAction::ShowRecords: records.Show(); break;
    }
}

void MainDialog::RepaintIfPaused()
{
    if (gameThread.IsPauseRequested())
        Invalidate();
}

// Escape and every close request of the window arrive here: they stop a game or a replay, or
// leave the records, never close.
void MainDialog::reject()
{
    if (gameScreen.IsPlaying() && gameScreen.IsReplaying())
        records.StopReplay();
    else if (gameScreen.IsShowingRecords())
        records.Leave();
    else
        play.Stop();
}

void MainDialog::paintEvent(QPaintEvent*)
{
    pointer.ShowHover();
    QPainter painter(this);
    gameScreen.Paint(painter,
                     gameScreen.IsReplaying() ? replayThread.GetMessageText() : gameThread.GetMessageText());
}

void MainDialog::mouseMoveEvent(QMouseEvent* event)
{
    pointer.Move(*event);
}

void MainDialog::mousePressEvent(QMouseEvent* event)
{
    if (!pointer.Press(*event))
        QDialog::mousePressEvent(event);
}

void MainDialog::mouseReleaseEvent(QMouseEvent* event)
{
    if (!pointer.Release(*event))
        QDialog::mouseReleaseEvent(event);
}

void MainDialog::enterEvent(QEnterEvent* event)
{
    pointer.Enter(*event);
    QDialog::enterEvent(event);
}

void MainDialog::leaveEvent(QEvent* event)
{
    pointer.Leave();
    QDialog::leaveEvent(event);
}

// Stands in for the window menu, which belongs to the window manager here.
void MainDialog::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(aboutAction);
    menu.exec(event->globalPos());
}

bool MainDialog::event(QEvent* event)
{
    // Qt would take these for moves of the focus among the hidden controls.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            keyPressEvent(static_cast<QKeyEvent*>(event));
            return true;
        }
    }
    return QDialog::event(event);
}

void MainDialog::keyPressEvent(QKeyEvent* event)
{
    const std::optional<KeyMap::Command> command = KeyMap::Find(*event, CurrentView());
    // Without a default button Enter has nothing to press; it must not end the window either.
    if (!command) {
        event->ignore();
        return;
    }
    Run(*command, event->modifiers() & Qt::ShiftModifier);
}

KeyMap::View MainDialog::CurrentView() const
{
    if (gameScreen.IsPlaying())
        return gameScreen.IsReplaying() ? KeyMap::View::Replay : KeyMap::View::Play;
    return gameScreen.IsShowingRecords() ? KeyMap::View::Records : KeyMap::View::Title;
}

void MainDialog::Run(KeyMap::Command command, bool shift)
{
    using Command = KeyMap::Command;
    const int step = shift ? PlayInput::FineStep : PlayInput::Step;
    using Step = PlayInput::KeyStep;
    Step taken = Step::None;
    switch (command) {
    case Command::None: break;
    case Command::About: OnAbout(); break;
    case Command::Pause: play.SwitchPause(); break;
    case Command::Sound: sound.Switch(); break;
    case Command::ToggleRecords: gameScreen.IsShowingRecords() ? records.Leave() : records.Show(); break;
    case Command::FocusPrevious: MoveTitleFocus(-1); break;
    case Command::FocusNext: MoveTitleFocus(1); break;
    case Command::PressFocused: PressTitleButton(gameScreen.focusedButton); break;
    case Command::AimLeft: taken = playInput.MoveCrosshair(-step, 0); break;
    case Command::AimRight: taken = playInput.MoveCrosshair(step, 0); break;
    case Command::AimUp: taken = playInput.MoveCrosshair(0, -step); break;
    case Command::AimDown: taken = playInput.MoveCrosshair(0, step); break;
    case Command::SwingEnter: taken = playInput.Enter(); break;
    case Command::DropDrag: taken = playInput.DropKeyDrag(); break;
    case Command::DropDragOrBack:
        taken = playInput.DropKeyDrag();
        if (taken == Step::None)
            reject();
        break;
    case Command::Back: reject(); break;
    case Command::SelectPrevious: records.Select(-1); break;
    case Command::SelectNext: records.Select(1); break;
    case Command::Watch: records.Watch(gameScreen.GetSelectedRecord()); break;
    case Command::Faster: records.ChangePace(1); break;
    case Command::Slower: records.ChangePace(-1); break;
    }
    if (taken == Step::None)
        return;
    RepaintIfPaused();
    WindowAccessible::KeyStepTaken(*this, taken);
}

void MainDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        WindowAccessible::WindowActivated(*this);
}

void MainDialog::MoveTitleFocus(int step)
{
    gameScreen.MoveFocus(step);
    Invalidate();
    WindowAccessible::FocusMoved(*this);
}
