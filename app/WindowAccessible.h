// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "app/PlayInput.h"
#include "base/GameEventSink.h"
#include "render/Screen.h"

#include <QAccessibleWidget>
#include <QCoreApplication>

#include <deque>
#include <map>
#include <utility>
#include <vector>

class MainDialog;

// The main window as a screen reader sees it: the drawn parts of the view on show as its
// children (the title's text and buttons, the records and their rows, or the field) and a
// status bar, each a DrawnAccessible made when a reader first asks for it and deleted with this
// one. Qt makes this interface only once a reader asks; every static function here does
// nothing until then.
class WindowAccessible : public QAccessibleWidget {
    Q_DECLARE_TR_FUNCTIONS(WindowAccessible)

public:
    // A title button is the part FirstButton + its row in TitleButtons.
    enum DrawnPart { Title, Status, Records, Row, Field, Hint, Notice, FirstButton };
    static constexpr int RowCount = Screen::RecordCount;
    // Announcements kept alive after they were shown, for a reader that reads them late.
    static constexpr std::size_t KeptNotices = 16;

    explicit WindowAccessible(MainDialog& dialog);
    ~WindowAccessible() override;
    WindowAccessible(const WindowAccessible&) = delete;
    WindowAccessible& operator=(const WindowAccessible&) = delete;

    // For QAccessible::installFactory.
    static QAccessibleInterface* Factory(const QString& key, QObject* object);
    // Every announcement goes through here: a notification of its own in the status bar,
    // shown once with its text, which it keeps (Orca speaks a notification as it shows; Qt 6.4
    // sends a changed name or description without the text).
    static void Announce(MainDialog& dialog, const QString& text);
    // The keyboard focus moved, or the view changed under it.
    static void FocusMoved(MainDialog& dialog);
    // The window became the active one again: its focus is told anew once the reader knows.
    static void WindowActivated(MainDialog& dialog);
    // A moment of the game, as ReaderEvents hands it over.
    static void Heard(MainDialog& dialog, GameEvent event, int value);
    // A key of the swing gesture did something.
    static void KeyStepTaken(MainDialog& dialog, PlayInput::KeyStep step);

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // The drawn parts' own questions; place is the row of the records or the notice's number.
    QAccessibleInterface* PartFor(int part, int place = 0) const;
    // The drawn parts inside a part, as parts and places: the rows of the records, the hint on
    // the field while it shows.
    std::vector<std::pair<int, int>> PartChildren(int part) const;
    QString PartText(int part, int place, QAccessible::Text t) const;
    QRect PartRect(int part, int place) const;
    static QAccessible::Role PartRole(int part);
    static bool IsButton(int part) { return part >= FirstButton; }
    QAccessible::State PartState(int part, int place) const;
    void Press(int part);

private:
    enum class View { Title, Records, Play };

    static WindowAccessible* Of(MainDialog& dialog);
    MainDialog& Dialog() const;
    View CurrentView() const;
    std::vector<int> Shown() const;
    // The part with the focus, and its place.
    std::pair<int, int> Focused() const;
    static int PartOf(TitleButton button) { return FirstButton + static_cast<int>(button); }
    static TitleButton ButtonOf(int part) { return static_cast<TitleButton>(part - FirstButton); }
    QString StatusText() const;
    QString FieldDescription() const;
    // The rope of the weight carried or last let go, in pixels.
    int RopeLength() const;

    mutable std::map<std::pair<int, int>, QAccessible::Id> parts;
    // The announcements kept, oldest first: their numbers and texts.
    std::deque<std::pair<int, QString>> notices;
    int nextNotice = 0;
};
