// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/DrawnAccessible.h"

#include "app/WindowAccessible.h"

DrawnAccessible::DrawnAccessible(WindowAccessible& window, int part, int place)
    : owner(window)
    , part(part)
    , place(place)
{
}

QWindow* DrawnAccessible::window() const
{
    return owner.window();
}

QAccessibleInterface* DrawnAccessible::parent() const
{
    switch (part) {
    case WindowAccessible::Row: return owner.PartFor(WindowAccessible::Records);
    // An announcement belongs to the status bar, which does not list it among its children:
    // Orca names no role for a notification there, and reads the bar without the old ones.
    case WindowAccessible::Notice: return owner.PartFor(WindowAccessible::Status);
    default: return &owner;
    }
}

QAccessibleInterface* DrawnAccessible::child(int index) const
{
    return part == WindowAccessible::Records && index >= 0 && index < childCount()
               ? owner.PartFor(WindowAccessible::Row, index)
               : nullptr;
}

int DrawnAccessible::childCount() const
{
    return part == WindowAccessible::Records ? WindowAccessible::RowCount : 0;
}

int DrawnAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* drawn = dynamic_cast<const DrawnAccessible*>(child);
    return part == WindowAccessible::Records && drawn && drawn->part == WindowAccessible::Row ? drawn->place
                                                                                              : -1;
}

QAccessibleInterface* DrawnAccessible::childAt(int x, int y) const
{
    for (int index = 0; index < childCount(); ++index) {
        QAccessibleInterface* row = child(index);
        if (row->rect().contains(x, y))
            return row;
    }
    return nullptr;
}

QString DrawnAccessible::text(QAccessible::Text t) const
{
    return owner.PartText(part, place, t);
}

QRect DrawnAccessible::rect() const
{
    return owner.PartRect(part, place);
}

QAccessible::Role DrawnAccessible::role() const
{
    return WindowAccessible::PartRole(part);
}

QAccessible::State DrawnAccessible::state() const
{
    return owner.PartState(part, place);
}

void* DrawnAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface && !actionNames().isEmpty())
        return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

QStringList DrawnAccessible::actionNames() const
{
    return WindowAccessible::PartRole(part) == QAccessible::PushButton ? QStringList{pressAction()}
                                                                       : QStringList{};
}

void DrawnAccessible::doAction(const QString& actionName)
{
    if (actionName == pressAction())
        owner.Press(part);
}
