#include "render/PenBrushScope.h"

PenBrushScope::PenBrushScope(DeviceContext& dc, bool xorMode) : dc(&dc)
{
    if (xorMode)
        dc.SetROP2(RasterOp::XorPen);
}

PenBrushScope::~PenBrushScope()
{
    if (selected) {
        dc->SelectPen(oldPen);
        dc->SelectBrush(oldBrush);
    }
    dc->SetROP2(RasterOp::CopyPen);
}

void PenBrushScope::Select(Pen newPen, Brush newBrush)
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
