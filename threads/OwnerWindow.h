// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/Geometry.h"

// What a worker may ask of the window that owns it. Every operation may be called from any
// thread; the window carries it out on its own thread.
class OwnerWindow {
public:
    virtual ~OwnerWindow() = default;

    // Repaints the whole client area, or the given rectangle of it; erase clears it first.
    virtual void RequestRepaint(bool erase) = 0;
    virtual void RequestRepaint(const Rect& rect, bool erase) = 0;
    // Enables or disables the control with this id; false when the window has no such control.
    virtual bool EnableControl(int controlId, bool enable) = 0;
};
