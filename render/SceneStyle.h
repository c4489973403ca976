// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "render/Colour.h"

// The fixed colours and text sizes (tenths of a point) of the scene.
namespace SceneStyle {

constexpr ColorRef Black = 0x000000;
constexpr ColorRef PanelPink = 0xF0F0FF;
constexpr ColorRef DeepBlue = 0xCC000C;
constexpr ColorRef MidGrey = 0x8C8C8C;
constexpr ColorRef HoverPink = 0x9875EF;
constexpr ColorRef NearWhite = 0xFAFAFA;
constexpr ColorRef DarkGrey = 0x262626;
constexpr ColorRef BannerBlue = 0xE0C4B7;
constexpr ColorRef White = 0xFFFFFF;
constexpr ColorRef HintGrey = 0x505050;

constexpr int TitleSize = 400;
constexpr int ButtonSize = 200;
constexpr int BannerSize = 300;
constexpr int StatusSize = 120;
constexpr int HintSize = 150;
constexpr int HintKeysSize = 100;

} // namespace SceneStyle
