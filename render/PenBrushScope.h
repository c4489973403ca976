#pragma once

#include "render/DeviceContext.h"

// Held by a shape operation for its duration: it switches the raster operation to XOR when
// asked, selects the operation's pen and brush, and on the way out, an exception included,
// selects the previous ones back and leaves the raster operation at CopyPen.
class PenBrushScope {
public:
    PenBrushScope(DeviceContext& dc, bool xorMode);
    virtual ~PenBrushScope();
    PenBrushScope(const PenBrushScope&) = delete;
    PenBrushScope& operator=(const PenBrushScope&) = delete;

    void Select(Pen newPen, Brush newBrush);

private:
    Brush oldBrush;
    Pen oldPen;
    Brush brush;
    Pen pen;
    DeviceContext* dc;
    bool selected = false;
};
