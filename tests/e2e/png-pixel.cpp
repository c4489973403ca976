// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

// Prints the colour of one pixel of an image as RRGGBB in hexadecimal.
//   png-pixel <file> <x> <y>

#include <QImage>

#include <cstdio>
#include <stdexcept>
#include <string>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: png-pixel <file> <x> <y>\n");
        return 2;
    }
    int x = 0;
    int y = 0;
    try {
        std::size_t usedX = 0;
        std::size_t usedY = 0;
        x = std::stoi(argv[2], &usedX);
        y = std::stoi(argv[3], &usedY);
        if (argv[2][usedX] != '\0' || argv[3][usedY] != '\0')
            throw std::invalid_argument("trailing characters");
    } catch (const std::exception&) {
        std::fprintf(stderr, "png-pixel: not a pixel position: %s %s\n", argv[2], argv[3]);
        return 2;
    }
    const QImage image(QString::fromLocal8Bit(argv[1]));
    if (image.isNull()) {
        std::fprintf(stderr, "png-pixel: cannot read an image from %s\n", argv[1]);
        return 1;
    }
    if (!image.valid(x, y)) {
        std::fprintf(stderr, "png-pixel: %d, %d is outside the %d x %d image\n", x, y, image.width(),
                     image.height());
        return 1;
    }
    std::printf("%06X\n", image.pixel(x, y) & 0xFFFFFFu);
    return 0;
}
