// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

// Draws the program icon at every installed size: a weight swinging on a rope from its anchor,
// on a dark ground. Run once after changing the drawing; the PNGs it writes are committed.
//   tocklet-make-icons <output directory>

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRadialGradient>
#include <QString>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int Sizes[] = {16, 32, 48, 64, 128, 256};

// The drawing on a 32-unit grid.
constexpr QPointF Anchor{11.0, 6.5};
constexpr double SwingDegrees = 30.0;
constexpr double RopeLength = 17.0;
constexpr double WeightRadius = 6.0;

QPointF WeightCentre()
{
    const double angle = SwingDegrees * std::numbers::pi / 180.0;
    return Anchor + QPointF(RopeLength * std::sin(angle), RopeLength * std::cos(angle));
}

void DrawGround(QPainter& painter, int size)
{
    const double radius = size <= 16 ? 2.0 : size * 0.16;
    QLinearGradient ground(0, 0, 0, size);
    ground.setColorAt(0.0, QColor(0x2b, 0x36, 0x4f));
    ground.setColorAt(1.0, QColor(0x10, 0x14, 0x1f));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ground);
    painter.drawRoundedRect(QRectF(0, 0, size, size), radius, radius);
}

// The faint path of the weight, only where there are pixels enough to show it.
void DrawSwingPath(QPainter& painter, double unit)
{
    QPen pen(QColor(255, 255, 255, 70), 1.4 * unit, Qt::CustomDashLine, Qt::RoundCap);
    pen.setDashPattern({0.1, 2.4});
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QRectF circle((Anchor.x() - RopeLength) * unit, (Anchor.y() - RopeLength) * unit,
                        2 * RopeLength * unit, 2 * RopeLength * unit);
    // From the far end of the swing to just short of the weight; Qt angles run counter-clockwise
    // from three o'clock in sixteenths of a degree, so straight down is -90.
    const double start = -90 - SwingDegrees;
    painter.drawArc(circle, static_cast<int>(start * 16), static_cast<int>((2 * SwingDegrees - 14) * 16));
}

void DrawRope(QPainter& painter, double unit, int size)
{
    const double width = size <= 16 ? 1.2 : std::max(1.5, 1.4 * unit);
    painter.setPen(QPen(QColor(0xd9, 0xcf, 0xb8), width, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(Anchor * unit, WeightCentre() * unit);
}

void DrawAnchor(QPainter& painter, double unit, int size)
{
    const double radius = size <= 16 ? 1.6 : 2.3 * unit;
    painter.setPen(size <= 32 ? Qt::NoPen : QPen(QColor(0x6b, 0x76, 0x8a), 0.6 * unit));
    painter.setBrush(QColor(0xee, 0xf1, 0xf6));
    painter.drawEllipse(Anchor * unit, radius, radius);
}

void DrawWeight(QPainter& painter, double unit, int size)
{
    const QPointF centre = WeightCentre() * unit;
    const double radius = WeightRadius * unit;
    QRadialGradient body(centre - QPointF(radius * 0.35, radius * 0.4), radius * 1.3);
    body.setColorAt(0.0, QColor(0xff, 0xe0, 0x8a));
    body.setColorAt(0.45, QColor(0xf5, 0xa6, 0x23));
    body.setColorAt(1.0, QColor(0xb0, 0x5a, 0x0c));
    painter.setPen(size <= 16 ? Qt::NoPen : QPen(QColor(0x5a, 0x2c, 0x05), std::max(1.0, 0.7 * unit)));
    painter.setBrush(body);
    painter.drawEllipse(centre, radius, radius);
}

QImage DrawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double unit = size / 32.0;
    DrawGround(painter, size);
    if (size >= 48)
        DrawSwingPath(painter, unit);
    DrawRope(painter, unit, size);
    DrawAnchor(painter, unit, size);
    DrawWeight(painter, unit, size);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    QTextStream err(stderr);
    if (argc != 2) {
        err << "usage: tocklet-make-icons <output directory>\n";
        return 2;
    }
    const QDir directory(QString::fromLocal8Bit(argv[1]));
    if (!directory.mkpath(".")) {
        err << "tocklet-make-icons: cannot create " << directory.path() << "\n";
        return 1;
    }
    for (const int size : Sizes) {
        const QString path = directory.filePath(QString("tocklet-%1.png").arg(size));
        if (!DrawIcon(size).save(path, "PNG")) {
            err << "tocklet-make-icons: cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
