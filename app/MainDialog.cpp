// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/MainDialog.h"

#include "app/AboutDialog.h"
#include "app/GameApp.h"
#include "app/Program.h"
#include "app/ReaderWords.h"
#include "app/Translation.h"
#include "app/WindowAccessible.h"
#include "audio/Mixer.h"
#include "base/SecondsText.h"
#include "persist/ScoreTable.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <system_error>
#include <utility>

namespace {

// The placement of the Read button: the title's top-right corner, clear of the panel, the
// Start and Exit buttons and the status lines under them.
constexpr int ReadLeft = 341;
constexpr int ReadTop = 12;
constexpr int ReadRight = 437;
constexpr int ReadBottom = 46;

Point ClientPoint(const QPointF& position)
{
    const QPoint point = position.toPoint();
    return Point{point.x(), point.y()};
}

// The records view shows the table's places, one row each.
static_assert(Screen::RecordCount == ScoreTable::Count);

constexpr int SoundNoticeMs = 1000;

// Left of and above the client area, where no drawn button lies.
constexpr Point Outside{-1, -1};

} // namespace

MainDialog::MainDialog(ScoreTable& table, QWidget* parent)
    : QDialog(parent)
    , scoreKeeper(table, [this](const ScoreTable& kept, bool saved) { OnTableKept(kept, saved); })
    , icon(LoadMainIcon())
{
    setWindowTitle("Tocklet");
    setFixedSize(ClientWidth, ClientHeight);
    setMouseTracking(true);
    // The screen covers the whole client area on every paint; nothing needs clearing first.
    setAttribute(Qt::WA_OpaquePaintEvent);

    // The layout of the window, in client pixels; none of these controls is ever shown.
    AddHiddenControl(IDC_TITLE, 93, 66, 348, 131);
    AddHiddenControl(IDC_START, 159, 201, 281, 243);
    AddHiddenControl(IDOK, 159, 269, 281, 311);
    AddHiddenControl(IDC_READ, ReadLeft, ReadTop, ReadRight, ReadBottom);
    AddHiddenControl(IDC_PLAYAREA, 0, 0, ClientWidth, ClientHeight);

    aboutAction = new QAction(tr("Tocklet のﾊﾞｰｼﾞｮﾝ情報(&A)..."), this);
    connect(aboutAction, &QAction::triggered, this, &MainDialog::OnAbout);

    refreshTimer.setInterval(RefreshTimerMs);
    connect(&refreshTimer, &QTimer::timeout, this, &MainDialog::OnTimer);
    // Asked only once a screen reader is about; adding it again changes nothing.
    QAccessible::installFactory(WindowAccessible::Factory);
    gameEvents.Add(&readerEvents);
    gameScreen.GetWorld().SetEventSink(&gameEvents);
    soundNoticeTimer.setSingleShot(true);
    soundNoticeTimer.setInterval(SoundNoticeMs);
    connect(&soundNoticeTimer, &QTimer::timeout, this, [this] {
        gameScreen.SetSoundNotice(std::nullopt);
        Invalidate();
    });

    OnInitDialog();
}

MainDialog::~MainDialog()
{
    // The game loop works on gameScreen and asks this window for repaints: it must be gone first,
    // and so must the saves, which ask for them too.
    gameThread.StopAndJoin();
    scoreKeeper.Finish();
}

void MainDialog::AddHiddenControl(int controlId, int left, int top, int right, int bottom)
{
    auto* control = new QWidget(this);
    control->setGeometry(left, top, right - left, bottom - top);
    control->setEnabled(controlId == IDC_PLAYAREA);
    control->hide();
    controls[controlId] = control;
}

Rect MainDialog::GetControlRect(int controlId) const
{
    const auto found = controls.find(controlId);
    if (found == controls.end())
        return Rect{};
    const QRect geometry = found->second->geometry();
    return Rect{geometry.left(), geometry.top(), geometry.left() + geometry.width(),
                geometry.top() + geometry.height()};
}

void MainDialog::OnInitDialog()
{
    setWindowIcon(icon);
    const Rect area = GetControlRect(IDC_PLAYAREA);
    gameScreen.SetArea(area.left, area.top, area.right, area.bottom);
    gameScreen.SetTitleText(tr("トクレット").toStdString());
    gameScreen.titleRect = GetControlRect(IDC_TITLE);
    gameScreen.startRect = GetControlRect(IDC_START);
    // No control has this id: the rectangle stays empty, so the button never shows or is hit.
    gameScreen.stopRect = GetControlRect(IDC_STOP);
    gameScreen.exitRect = GetControlRect(IDOK);
    gameScreen.readRect = GetControlRect(IDC_READ);
    gameThread.SetScreen(&gameScreen);
    gameThread.SetPlayTimeText(MakePlayTimeText());
    gameThread.SetOwner(this);
    soundOn = scoreKeeper.GetView().soundOn;
    ShowTable();
    refreshTimer.start();
}

void MainDialog::SetSound(Mixer* mixer)
{
    gameEvents.Remove(sound);
    sound = mixer;
    gameEvents.Add(mixer);
    if (sound)
        sound->SetMuted(!soundOn);
}

void MainDialog::Play(GameEvent event)
{
    if (sound)
        sound->Notify(event, 0);
}

void MainDialog::OnSoundKey()
{
    soundOn = !soundOn;
    if (sound)
        sound->SetMuted(!soundOn);
    // Kept at once, so that the next start is as silent.
    scoreKeeper.SaveSound(soundOn);
    gameScreen.SetSoundNotice(soundOn);
    soundNoticeTimer.start();
    Invalidate();
    WindowAccessible::Announce(*this, ReaderWords::Sound(soundOn));
}

QString MainDialog::LastGameLine() const
{
    const QString seconds = QString::fromStdString(FormatSeconds(lastGame->game.time));
    return (lastGame->newBest ? tr("★新記録★　今回のタイム:%1秒") : tr("今回のタイム:%1秒")).arg(seconds);
}

void MainDialog::ShowTable()
{
    const ScoreTable table = scoreKeeper.GetView();
    gameScreen.SetTitleStatusText(
        tr("ベストタイム:%1秒").arg(QString::fromStdString(FormatSeconds(table.GetTime(0)))).toStdString());
    if (lastGame) {
        QString line = LastGameLine();
        const auto& unsaved = table.GetUnsaved();
        if (std::find(unsaved.begin(), unsaved.end(), lastGame->game) != unsaved.end())
            line = tr("%1　※未保存").arg(line);
        gameScreen.SetTitleResultText(line.toStdString(), lastGame->newBest);
    }
    Screen::RecordRows rows;
    int marked = -1;
    for (int place = 0; place < ScoreTable::Count; ++place) {
        auto& row = rows[static_cast<std::size_t>(place)];
        row = RecordRow{table.GetTime(place), table.scores[static_cast<std::size_t>(place)]};
        if (marked < 0 && lastRecorded && row.time == lastRecorded->time && row.score == lastRecorded->score)
            marked = place;
    }
    gameScreen.SetRecords(rows, marked);
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
    const auto found = controls.find(controlId);
    if (found == controls.end())
        return false;
    QWidget* control = found->second;
    QMetaObject::invokeMethod(
        control, [control, enable] { control->setEnabled(enable); }, Qt::QueuedConnection);
    return true;
}

void MainDialog::GameEnded(const GameResult& result)
{
    QMetaObject::invokeMethod(
        this, [this, result] { OnGameEnded(result); }, Qt::QueuedConnection);
}

void MainDialog::ReturnedToTitle()
{
    QMetaObject::invokeMethod(
        this, [this] { WindowAccessible::FocusMoved(*this); }, Qt::QueuedConnection);
}

void MainDialog::OnGameEnded(const GameResult& result)
{
    if (!result.gameOver)
        return;
    // Saved now as well as at Exit, so that a record outlives whatever ends the program; the
    // table then shows what is on disk, records of other copies included.
    const ScoreTable::Game game{result.seconds, result.score};
    const int place = scoreKeeper.Record(game.time, game.score);
    lastGame = LostGame{game, place == 0};
    if (place >= 0)
        lastRecorded = game;
    ShowTable();
    Invalidate();
    // After the line is on the title, which the reader says.
    gameEvents.Notify(place == 0 ? GameEvent::NewRecord : GameEvent::GameOver, place);
}

void MainDialog::OnTableKept(const ScoreTable& table, bool saved)
{
    // A re-read that fails is worth no line: the file is left alone, and the next save says so.
    if (saved)
        ReportTableProblems(table, std::cerr, false);
    QMetaObject::invokeMethod(
        this,
        [this] {
            ShowTable();
            Invalidate();
        },
        Qt::QueuedConnection);
}

void MainDialog::FinishSaves()
{
    scoreKeeper.Finish();
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

void MainDialog::OnShowRecords()
{
    // Records of other copies included, shown as soon as the file is read.
    scoreKeeper.Refresh();
    gameScreen.ShowRecords(true);
    gameScreen.focusedRecord = std::max(gameScreen.GetMarkedRecord(), 0);
    Invalidate();
    WindowAccessible::FocusMoved(*this);
}

void MainDialog::OnLeaveRecords()
{
    gameScreen.ShowRecords(false);
    Invalidate();
    WindowAccessible::FocusMoved(*this);
}

void MainDialog::OnAbout()
{
    AboutDialog about(this);
    about.exec();
}

void MainDialog::OnOK()
{
    gameThread.StopAndJoin();
    accept();
}

void MainDialog::OnCancel()
{
    gameScreen.SetPlaying(false);
    playInput.Forget();
    // Another copy of the program may have saved a record meanwhile.
    scoreKeeper.Refresh();
    Invalidate();
    gameThread.RequestStop();
    WindowAccessible::FocusMoved(*this);
}

void MainDialog::OnQuitRequest()
{
    // Each of them runs an event loop of its own, inside which this window's would wait.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible())
            window->close();
    }
    OnCancel();
    OnOK();
}

void MainDialog::OnTimer()
{
    gameThread.RefreshControls();
}

void MainDialog::OnMouseMove(Point point)
{
    if (gameScreen.IsPlaying()) {
        if (playInput.MouseMove(point))
            RepaintIfPaused();
        return;
    }
    // The focus ring is the keys' alone: the mouse puts it away.
    const bool ringHidden = std::exchange(gameScreen.focusShown, false);
    // Under the records the buttons are hidden: their hover shows again with the title.
    if ((!gameScreen.IsShowingRecords() && gameScreen.UpdateHover(point)) || ringHidden)
        Invalidate();
}

void MainDialog::OnLButtonDown(Point point)
{
    if (gameScreen.IsPlaying() && playInput.MousePress(point))
        RepaintIfPaused();
}

void MainDialog::OnLButtonUp(Point point)
{
    if (gameScreen.IsPlaying()) {
        if (playInput.MouseRelease(point))
            RepaintIfPaused();
        return;
    }
    if (gameScreen.IsShowingRecords()) {
        OnLeaveRecords();
        return;
    }
    if (gameScreen.HitStart(point))
        PressTitleButton(Screen::TitleButton::Start);
    else if (gameScreen.HitExit(point))
        PressTitleButton(Screen::TitleButton::Exit);
    else if (gameScreen.HitRead(point))
        PressTitleButton(Screen::TitleButton::Read);
}

void MainDialog::PressTitleButton(Screen::TitleButton button)
{
    if (gameScreen.IsPlaying() || gameScreen.IsShowingRecords())
        return;
    Play(GameEvent::ButtonClick);
    switch (button) {
    case Screen::TitleButton::Start: StartGame(); break;
    case Screen::TitleButton::Exit: OnOK(); break;
    case Screen::TitleButton::Read: OnShowRecords(); break;
    }
}

void MainDialog::StartGame()
{
    // Until it is joined, the last game's thread may still write a time text or clear the
    // playing flag: the new game is set up after that, and before its own thread exists.
    gameThread.StopAndJoin();
    gameScreen.BeginGame();
    playInput.Forget();
    gameScreen.SetPlaying(true);
    Invalidate();
    WindowAccessible::FocusMoved(*this);
    WindowAccessible::Announce(*this, ReaderWords::SpokenHint());
    try {
        gameThread.Start();
    } catch (const std::system_error& error) {
        std::fprintf(stderr, "tocklet: the game could not start: %s\n", error.what());
        gameScreen.SetPlaying(false);
        Invalidate();
    }
}

void MainDialog::OnPauseKey()
{
    // The game thread shows the pause and its end: it acts on the request at its next
    // check-point, and only from there on does the time hold.
    if (!gameScreen.IsPlaying())
        return;
    gameThread.SetPauseRequested(!gameThread.IsPauseRequested());
    WindowAccessible::Announce(*this, ReaderWords::Pause(gameThread.IsPauseRequested()));
}

// The parked game thread asks for no repaints, yet the gestures of a pause must show.
void MainDialog::RepaintIfPaused()
{
    if (gameThread.IsPauseRequested())
        Invalidate();
}

// Escape and every close request of the window arrive here: they stop a game, or leave the
// records, never close.
void MainDialog::reject()
{
    if (gameScreen.IsShowingRecords())
        OnLeaveRecords();
    else
        OnCancel();
}

void MainDialog::paintEvent(QPaintEvent*)
{
    // During play the hover flags stand still while the pointer may move: however the game
    // ended, the title shows them from where the pointer is now.
    if (!gameScreen.IsPlaying())
        gameScreen.UpdateHover(pointer.value_or(Outside));
    QPainter painter(this);
    gameScreen.Paint(painter, gameThread.GetMessageText());
}

void MainDialog::mouseMoveEvent(QMouseEvent* event)
{
    pointer = ClientPoint(event->position());
    OnMouseMove(*pointer);
}

void MainDialog::mousePressEvent(QMouseEvent* event)
{
    pointer = ClientPoint(event->position());
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(*pointer);
    else
        QDialog::mousePressEvent(event);
}

void MainDialog::mouseReleaseEvent(QMouseEvent* event)
{
    pointer = ClientPoint(event->position());
    if (event->button() == Qt::LeftButton)
        OnLButtonUp(*pointer);
    else
        QDialog::mouseReleaseEvent(event);
}

void MainDialog::enterEvent(QEnterEvent* event)
{
    pointer = ClientPoint(event->position());
    QDialog::enterEvent(event);
}

void MainDialog::leaveEvent(QEvent* event)
{
    pointer.reset();
    QDialog::leaveEvent(event);
}

// Stands in for the window menu, which belongs to the window manager here.
void MainDialog::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(aboutAction);
    menu.exec(event->globalPos());
}

void MainDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        OnAbout();
        return;
    }
    // A chord with Ctrl, Alt or Meta is no pause key, and a held key must not toggle on every repeat.
    const bool chord = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!chord && (gameScreen.IsPlaying() ? OnPlayKey(*event) : OnTitleKey(*event)))
        return;
    if ((event->key() == Qt::Key_P || event->key() == Qt::Key_Space) && !chord) {
        if (!event->isAutoRepeat())
            OnPauseKey();
        return;
    }
    if (event->key() == Qt::Key_M && !chord) {
        if (!event->isAutoRepeat())
            OnSoundKey();
        return;
    }
    if (event->key() == Qt::Key_R && !chord) {
        if (event->isAutoRepeat() || gameScreen.IsPlaying())
            return;
        if (gameScreen.IsShowingRecords())
            OnLeaveRecords();
        else
            OnShowRecords();
        return;
    }
    // Without a default button Enter has nothing to press; it must not end the window either.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool MainDialog::OnPlayKey(const QKeyEvent& event)
{
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    // The arrows move on while held; Enter acts once a press.
    if (enter && event.isAutoRepeat())
        return true;
    const PlayInput::KeyStep step = playInput.Key(event.key(), event.modifiers() & Qt::ShiftModifier);
    if (step == PlayInput::KeyStep::None)
        return false;
    RepaintIfPaused();
    WindowAccessible::KeyStepTaken(*this, step);
    return true;
}

bool MainDialog::OnTitleKey(const QKeyEvent& event)
{
    const int key = event.key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (gameScreen.IsShowingRecords()) {
        if (enter && !event.isAutoRepeat())
            OnLeaveRecords();
        else if (key == Qt::Key_Up || key == Qt::Key_Down)
            MoveRecordFocus(key == Qt::Key_Up ? -1 : 1);
        return enter || key == Qt::Key_Up || key == Qt::Key_Down;
    }
    if (enter || key == Qt::Key_Space) {
        if (!event.isAutoRepeat())
            PressTitleButton(gameScreen.focusedButton);
        return true;
    }
    if (key == Qt::Key_Up || key == Qt::Key_Left)
        MoveTitleFocus(-1);
    else if (key == Qt::Key_Down || key == Qt::Key_Right)
        MoveTitleFocus(1);
    else
        return false;
    return true;
}

bool MainDialog::focusNextPrevChild(bool next)
{
    if (!gameScreen.IsPlaying() && !gameScreen.IsShowingRecords())
        MoveTitleFocus(next ? 1 : -1);
    return true;
}

void MainDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        WindowAccessible::WindowActivated(*this);
}

void MainDialog::MoveRecordFocus(int step)
{
    gameScreen.focusedRecord = std::clamp(gameScreen.focusedRecord + step, 0, Screen::RecordCount - 1);
    WindowAccessible::FocusMoved(*this);
}

void MainDialog::MoveTitleFocus(int step)
{
    gameScreen.MoveFocus(step);
    Invalidate();
    WindowAccessible::FocusMoved(*this);
}
