// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/DrawnAccessible.h"

#include "app/WindowAccessible.h"

#include <algorithm>
#include <utility>
#include <vector>

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
    case WindowAccessible::Hint: return owner.PartFor(WindowAccessible::Field);
    // An announcement belongs to the status bar, which does not list it among its children:
    // Orca names no role for a notification there, and reads the bar without the old ones.
    case WindowAccessible::Notice: return owner.PartFor(WindowAccessible::Status);
    default: return &owner;
    }
}

QAccessibleInterface* DrawnAccessible::child(int index) const
{
    const std::vector<std::pair<int, int>> children = owner.PartChildren(part);
    if (index < 0 || index >= static_cast<int>(children.size()))
        return nullptr;
    const auto [childPart, childPlace] = children[static_cast<std::size_t>(index)];
    return owner.PartFor(childPart, childPlace);
}

int DrawnAccessible::childCount() const
{
    return static_cast<int>(owner.PartChildren(part).size());
}

int DrawnAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* drawn = dynamic_cast<const DrawnAccessible*>(child);
    if (!drawn)
        return -1;
    const std::vector<std::pair<int, int>> children = owner.PartChildren(part);
    const auto found = std::find(children.begin(), children.end(), std::pair{drawn->part, drawn->place});
    return found == children.end() ? -1 : static_cast<int>(found - children.begin());
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
