// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/Geometry.h"

#include <QImage>
#include <QRgb>

#include <functional>
#include <string>

class GameScreen;
class Screen;

// What Paint puts on a window of this logical size that was black before; a window with a
// device pixel ratio above 1 has that many more pixels each way.
QImage PaintOnWindow(Screen& screen, int width, int height, const std::string& messageText = "",
                     qreal ratio = 1.0);

// Pixels of rect (clipped to the image) for which the test holds.
int CountPixels(const QImage& image, const Rect& rect, const std::function<bool(QRgb)>& test);
int CountColour(const QImage& image, const Rect& rect, QRgb colour);
int CountNot(const QImage& image, const Rect& rect, QRgb colour);

// The smallest rectangle holding every pixel of rect that is not the given colour; empty if none.
Rect BoundsOfOther(const QImage& image, const Rect& rect, QRgb colour);

constexpr QRgb BlackRgb = 0xFF000000u;
constexpr QRgb PanelRgb = qRgb(255, 240, 240);
constexpr QRgb DeepBlueRgb = qRgb(12, 0, 204);
constexpr QRgb NearWhiteRgb = qRgb(250, 250, 250);

constexpr int WindowWidth = 449;
constexpr int WindowHeight = 407;

// The main window's layout, title and best-time text: the play area is the whole client area.
void LayOutLikeTheWindow(GameScreen& screen);

// Pixels of rect that differ from their right or lower neighbour inside rect.
int CountEdgePixels(const QImage& image, const Rect& rect);
// Blocks of factor x factor pixels in rect, from its top-left corner on, whose pixels are not
// all alike: there are none in an image enlarged from one factor times smaller when that corner
// lies on a multiple of factor.
int CountMixedBlocks(const QImage& image, const Rect& rect, int factor);

// "" when the images are equal, else where they first differ and how.
std::string FirstDifference(const QImage& actual, const QImage& expected);
