// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "render/Screen.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <map>

class MainDialog;

// The main window as a screen reader sees it: the drawn parts of the view on show as its
// children (the title's texts and buttons, the records, or the field), each a DrawnAccessible
// made when a reader first asks for it and deleted with this one. Qt makes this interface only
// once a reader asks; every static function here does nothing until then.
class WindowAccessible : public QAccessibleWidget {
    Q_DECLARE_TR_FUNCTIONS(WindowAccessible)

public:
    // A title button is the part FirstButton + its row in TitleButtons.
    enum DrawnPart { Title, BestTime, GameTime, Records, Row, Field, FirstButton };
    static constexpr int RowCount = Screen::RecordCount;

    explicit WindowAccessible(MainDialog& dialog);
    ~WindowAccessible() override;
    WindowAccessible(const WindowAccessible&) = delete;
    WindowAccessible& operator=(const WindowAccessible&) = delete;

    // For QAccessible::installFactory.
    static QAccessibleInterface* Factory(const QString& key, QObject* object);
    // What a sighted player sees happen, told to a reader as the new description of the part
    // that has the focus: Qt 6.4 has no announcement event, and Orca speaks these changes.
    static void Announce(MainDialog& dialog, const QString& text);
    // The row of the records the keys picked, told as its sentence.
    static void AnnounceRow(MainDialog& dialog, int place);
    // The keyboard focus moved, or the view changed under it.
    static void FocusMoved(MainDialog& dialog);
    // Called on the window's timer: tells the return to the title after a game and the weights
    // the shadows swallow, at most one message a second.
    static void Follow(MainDialog& dialog);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // The drawn parts' own questions.
    QAccessibleInterface* PartFor(int part, int place = 0) const;
    QString PartText(int part, int place, QAccessible::Text t) const;
    QRect PartRect(int part, int place) const;
    static QAccessible::Role PartRole(int part);
    static bool IsButton(int part) { return part >= FirstButton; }
    QAccessible::State PartState(int part) const;
    void Press(int part);

private:
    enum class View { Title, Records, Play };

    static WindowAccessible* Of(MainDialog& dialog);
    MainDialog& Dialog() const;
    View CurrentView() const;
    std::vector<int> Shown() const;
    int FocusedPart() const;
    static int PartOf(TitleButton button) { return FirstButton + static_cast<int>(button); }
    static TitleButton ButtonOf(int part) { return static_cast<TitleButton>(part - FirstButton); }
    QString RowSentence(int place) const;
    QString FieldDescription() const;
    int WeightsInPlay() const;

    mutable std::map<int, QAccessible::Id> parts;
    QString announcement;
    int announcedPart = -1;
    View lastView = View::Title;
    int lastWeights = 0;
    QElapsedTimer lastSwallow;
};
