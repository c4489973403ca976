// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "PixelTestSupport.h"

#include "render/GameScreen.h"
#include "render/Screen.h"

#include <QPainter>

#include <algorithm>
#include <cstdio>

QImage PaintOnWindow(Screen& screen, int width, int height, const std::string& messageText, qreal ratio)
{
    QImage window(qRound(width * ratio), qRound(height * ratio), QImage::Format_RGB32);
    window.setDevicePixelRatio(ratio);
    window.fill(BlackRgb);
    QPainter painter(&window);
    screen.Paint(painter, messageText);
    painter.end();
    return window;
}

int CountPixels(const QImage& image, const Rect& rect, const std::function<bool(QRgb)>& test)
{
    int count = 0;
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, image.height()); ++y)
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, image.width()); ++x)
            count += test(image.pixel(x, y)) ? 1 : 0;
    return count;
}

int CountColour(const QImage& image, const Rect& rect, QRgb colour)
{
    return CountPixels(image, rect, [colour](QRgb pixel) { return pixel == colour; });
}

int CountNot(const QImage& image, const Rect& rect, QRgb colour)
{
    return CountPixels(image, rect, [colour](QRgb pixel) { return pixel != colour; });
}

Rect BoundsOfOther(const QImage& image, const Rect& rect, QRgb colour)
{
    Rect bounds{rect.right, rect.bottom, rect.left, rect.top};
    bool any = false;
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, image.height()); ++y)
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, image.width()); ++x)
            if (image.pixel(x, y) != colour) {
                any = true;
                bounds.left = std::min(bounds.left, x);
                bounds.top = std::min(bounds.top, y);
                bounds.right = std::max(bounds.right, x + 1);
                bounds.bottom = std::max(bounds.bottom, y + 1);
            }
    return any ? bounds : Rect{};
}

std::string FirstDifference(const QImage& actual, const QImage& expected)
{
    if (actual.size() != expected.size())
        return "sizes differ";
    int count = 0;
    std::string first;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y)) {
                if (count++ == 0) {
                    char text[96];
                    std::snprintf(text, sizeof text, "at %d, %d: %08x instead of %08x", x, y,
                                  actual.pixel(x, y), expected.pixel(x, y));
                    first = text;
                }
            }
    return count == 0 ? std::string() : first + " (" + std::to_string(count) + " pixels differ)";
}

int CountEdgePixels(const QImage& image, const Rect& rect)
{
    int count = 0;
    for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, image.height()); ++y)
        for (int x = std::max(rect.left, 0); x < std::min(rect.right, image.width()); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const bool right = x + 1 < std::min(rect.right, image.width()) && image.pixel(x + 1, y) != pixel;
            const bool below =
                y + 1 < std::min(rect.bottom, image.height()) && image.pixel(x, y + 1) != pixel;
            count += right || below ? 1 : 0;
        }
    return count;
}

int CountMixedBlocks(const QImage& image, const Rect& rect, int factor)
{
    int count = 0;
    for (int y = rect.top; y + factor <= std::min(rect.bottom, image.height()); y += factor)
        for (int x = rect.left; x + factor <= std::min(rect.right, image.width()); x += factor) {
            bool mixed = false;
            for (int dy = 0; dy < factor && !mixed; ++dy)
                for (int dx = 0; dx < factor && !mixed; ++dx)
                    mixed = image.pixel(x + dx, y + dy) != image.pixel(x, y);
            count += mixed ? 1 : 0;
        }
    return count;
}

void LayOutLikeTheWindow(GameScreen& screen)
{
    screen.LayOutTitle();
    screen.SetTitleText("トクレット");
    screen.SetTitleStatusText("ベストタイム:12.3秒");
}
