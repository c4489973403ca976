// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <array>
#include <charconv>
#include <string>

// Seconds with one decimal, rounded as printf's "%.1f" does, whatever the C locale:
// 12.345 gives "12.3".
inline std::string FormatSeconds(double seconds)
{
    // Large enough for any finite double in fixed notation with one decimal.
    std::array<char, 330> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), seconds, std::chars_format::fixed, 1);
    if (result.ec != std::errc())
        return {};
    return std::string(buffer.data(), result.ptr);
}

// The seconds as FormatSeconds shows them: 12.345 gives 12.3.
inline double ShownSeconds(double seconds)
{
    const std::string text = FormatSeconds(seconds);
    double shown = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), shown);
    return shown;
}
