#pragma once

#include "model/Geometry.h"

#include <QImage>
#include <QRgb>

#include <functional>
#include <string>

class Screen;

// What Paint puts on a window of this size that was black before.
QImage PaintOnWindow(Screen& screen, int width, int height, const std::string& messageText = "");

// Pixels of rect (clipped to the image) for which the test holds.
int CountPixels(const QImage& image, const Rect& rect, const std::function<bool(QRgb)>& test);
int CountColour(const QImage& image, const Rect& rect, QRgb colour);
int CountNot(const QImage& image, const Rect& rect, QRgb colour);

// The smallest rectangle holding every pixel of rect that is not the given colour; empty if none.
Rect BoundsOfOther(const QImage& image, const Rect& rect, QRgb colour);

constexpr QRgb BlackRgb = 0xFF000000u;

// "" when the images are equal, else where they first differ and how.
std::string FirstDifference(const QImage& actual, const QImage& expected);
