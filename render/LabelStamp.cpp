// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "render/LabelStamp.h"

#include <cstring>
#include <utility>

LabelStamp::LabelStamp(Key key, const std::uint32_t* bits, qsizetype stride, const QRect& area)
    : key(std::move(key))
    , stride(stride)
    , area(area)
{
    pixels.reserve(static_cast<std::size_t>(area.width()) * static_cast<std::size_t>(area.height()));
    for (int y = 0; y < area.height(); ++y) {
        const std::uint32_t* const row = bits + stride * (area.top() + y) + area.left();
        pixels.insert(pixels.end(), row, row + area.width());
    }
}

void LabelStamp::PasteTo(std::uint32_t* bits) const
{
    const auto width = static_cast<std::size_t>(area.width());
    for (int y = 0; y < area.height(); ++y)
        std::memcpy(bits + stride * (area.top() + y) + area.left(),
                    pixels.data() + static_cast<std::size_t>(y) * width, sizeof(std::uint32_t) * width);
}
