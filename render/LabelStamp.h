// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/Geometry.h"
#include "render/Colour.h"

#include <QRect>
#include <QRgb>

#include <cstdint>
#include <string>
#include <vector>

// A label as drawn on ground of one colour, kept as the device pixels of an area round it, so
// that the same label on the same ground can be copied back instead of laid out again. A stamp
// serves images of one stride, given in pixels per row.
class LabelStamp {
public:
    // Everything that decides the label's pixels: its text, font size and colour, its rectangle
    // in logical pixels, Qt's text flags and the colour of the ground.
    struct Key {
        std::string text;
        int pixelSize;
        ColorRef colour;
        Rect rect;
        int flags;
        QRgb ground;
        friend bool operator==(const Key&, const Key&) = default;
    };

    // Takes the pixels of area, which lies inside the image at bits.
    LabelStamp(Key key, const std::uint32_t* bits, qsizetype stride, const QRect& area);

    bool IsFor(const Key& label) const { return key == label; }
    // Copies the pixels back to the area they were taken from.
    void PasteTo(std::uint32_t* bits) const;

private:
    Key key;
    qsizetype stride;
    QRect area;
    std::vector<std::uint32_t> pixels;
};
