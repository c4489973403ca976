// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>
#include <QRgb>

#include <cstdint>

// A colour as 0x00BBGGRR: red in the low byte.
using ColorRef = std::uint32_t;

constexpr ColorRef Rgb(int red, int green, int blue)
{
    return static_cast<ColorRef>((red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16);
}

// An opaque QRgb (0xAARRGGBB) of the same colour.
constexpr QRgb ToQRgb(ColorRef colour)
{
    return 0xFF000000u | (colour & 0xFFu) << 16 | (colour & 0xFF00u) | (colour >> 16 & 0xFFu);
}

inline QColor ToQColor(ColorRef colour)
{
    return QColor::fromRgb(ToQRgb(colour));
}
