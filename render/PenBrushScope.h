// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "render/DeviceContext.h"

// Held by a shape operation for its duration: it switches the raster operation to XOR when
// asked, selects the operation's pen and brush, and on the way out, an exception included,
// selects the previous ones back and leaves the raster operation at CopyPen. Inline, so that a
// shape drawn many times a paint costs no calls for its state.
class PenBrushScope {
public:
    PenBrushScope(DeviceContext& dc, bool xorMode)
        : dc(&dc)
    {
        if (xorMode)
            dc.SetROP2(RasterOp::XorPen);
    }

    virtual ~PenBrushScope()
    {
        if (selected) {
            dc->SelectPen(oldPen);
            dc->SelectBrush(oldBrush);
        }
        dc->SetROP2(RasterOp::CopyPen);
    }

    PenBrushScope(const PenBrushScope&) = delete;
    PenBrushScope& operator=(const PenBrushScope&) = delete;

    void Select(Pen newPen, Brush newBrush)
    {
        pen = newPen;
        brush = newBrush;
        const Pen previousPen = dc->SelectPen(pen);
        const Brush previousBrush = dc->SelectBrush(brush);
        if (!selected) {
            oldPen = previousPen;
            oldBrush = previousBrush;
            selected = true;
        }
    }

private:
    Brush oldBrush;
    Pen oldPen;
    Brush brush;
    Pen pen;
    DeviceContext* dc;
    bool selected = false;
};
