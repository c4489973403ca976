// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/HiddenControls.h"

#include <QMetaObject>
#include <QWidget>

HiddenControls::HiddenControls(QWidget& window)
    : window(window)
{
}

void HiddenControls::Add(int controlId, const Rect& rect, bool enabled)
{
    auto* control = new QWidget(&window);
    control->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    control->setEnabled(enabled);
    control->hide();
    controls[controlId] = control;
}

Rect HiddenControls::RectOf(int controlId) const
{
    const auto found = controls.find(controlId);
    if (found == controls.end())
        return Rect{};
    const QRect geometry = found->second->geometry();
    return Rect{geometry.left(), geometry.top(), geometry.left() + geometry.width(),
                geometry.top() + geometry.height()};
}

bool HiddenControls::Enable(int controlId, bool enable)
{
    const auto found = controls.find(controlId);
    if (found == controls.end())
        return false;
    QWidget* control = found->second;
    QMetaObject::invokeMethod(
        control, [control, enable] { control->setEnabled(enable); }, Qt::QueuedConnection);
    return true;
}
