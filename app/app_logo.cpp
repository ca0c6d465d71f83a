#include "app/app_logo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace korvane::app {

QPixmap appLogo(int size, qreal ratio)
{
    QPixmap pixmap(qRound(size * ratio), qRound(size * ratio));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 64-unit tile, like the icon file.
    p.scale(size / 64.0, size / 64.0);

    QLinearGradient sky(0, 2, 0, 62);
    sky.setColorAt(0, QColor(0x2f, 0x7a, 0xd0));
    sky.setColorAt(1, QColor(0x0c, 0x3c, 0x78));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    p.setBrush(QColor(0x1a, 0x1b, 0x20));
    p.drawRoundedRect(QRectF(21, 6, 5, 16), 2, 2); // antenna
    p.setPen(QPen(QColor(0x10, 0x11, 0x14), 1.2));
    p.setBrush(QColor(0x2b, 0x2e, 0x36));
    p.drawRoundedRect(QRectF(17, 18, 26, 40), 5, 5); // body
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xbf, 0xe8, 0xff));
    p.drawRoundedRect(QRectF(21, 23, 18, 11), 1.5, 1.5); // display
    p.setBrush(QColor(0x1d, 0x4f, 0x7a));
    p.drawRect(QRectF(23, 26, 9, 1.8));
    p.drawRect(QRectF(23, 29.5, 13, 1.8));
    p.setBrush(QColor(0x8c, 0x93, 0xa3));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawEllipse(QPointF(23.5 + 6.5 * col, 40 + 5.5 * row), 1.8, 1.8); // keypad

    p.setPen(QPen(QColor(0xff, 0xc2, 0x3a), 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath waves;
    // Two arcs right of the antenna, as in the icon file: radius 9 about (40.34, 20) and radius 15
    // about (42, 20), each between the points where it meets x = 46 and x = 51.
    waves.moveTo(46, 13);
    waves.arcTo(QRectF(31.34, 11, 18, 18), 51.0, -102.0);
    waves.moveTo(51, 8);
    waves.arcTo(QRectF(27, 5, 30, 30), 53.13, -106.26);
    p.drawPath(waves);
    return pixmap;
}

QIcon appIcon()
{
    QIcon icon;
    for (const int size : { 16, 24, 32, 48, 64, 128 })
        icon.addPixmap(appLogo(size));
    return icon;
}

} // namespace korvane::app
