// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>

class WindowAccessible;

// One drawn part of the main window as a screen reader sees it: a button, a text, the records
// or one of their rows, the field, the status bar or an announcement in it. It has no widget of its own; the
// window's interface makes it when a reader first asks, keeps it and deletes it. Everything it says, it asks
// the window.
class DrawnAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    DrawnAccessible(WindowAccessible& window, int part, int place);

    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    int Part() const { return part; }
    int Place() const { return place; }

private:
    WindowAccessible& owner;
    int part;
    // The row of the records or the announcement's number; 0 for every other part.
    int place;
};
