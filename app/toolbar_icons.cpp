#include "app/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace korvane::app {

namespace {

void drawRadio(QPainter& p, const QColor& body)
{
    p.setBrush(body);
    p.drawRoundedRect(QRectF(9, 8, 11, 20), 2, 2);
    p.drawRect(QRectF(11, 3, 2, 6)); // antenna
    p.setBrush(QColor(200, 230, 255));
    p.drawRect(QRectF(11, 11, 7, 5)); // display
}

void drawArrow(QPainter& p, bool towardsRadio)
{
    p.setPen(QPen(QColor(0, 140, 0), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath path;
    if (towardsRadio) {
        path.moveTo(29, 18);
        path.lineTo(22, 18);
        path.moveTo(25, 15);
        path.lineTo(22, 18);
        path.lineTo(25, 21);
    } else {
        path.moveTo(22, 18);
        path.lineTo(29, 18);
        path.moveTo(26, 15);
        path.lineTo(29, 18);
        path.lineTo(26, 21);
    }
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

// The picture of `key`, drawn on a 32 x 32 grid.
void drawIcon(QPainter& p, const QString& key)
{
    p.setPen(QPen(QColor(40, 40, 40), 1.2));
    if (key == "Open") {
        p.setBrush(QColor(240, 200, 80));
        p.drawRect(QRectF(4, 10, 22, 16));
        p.setBrush(QColor(255, 225, 120));
        QPolygonF flap({ QPointF(4, 26), QPointF(9, 15), QPointF(30, 15), QPointF(26, 26) });
        p.drawPolygon(flap);
    } else if (key == "Save") {
        p.setBrush(QColor(60, 90, 170));
        p.drawRoundedRect(QRectF(5, 5, 22, 22), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 5, 14, 8));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(9, 18, 14, 9));
    } else if (key == "Print") {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 4, 14, 10));
        p.setBrush(QColor(150, 150, 160));
        p.drawRoundedRect(QRectF(4, 12, 24, 11), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 19, 14, 9));
    } else if (key == "Read" || key == "Write") {
        drawRadio(p, QColor(70, 70, 80));
        drawArrow(p, key == "Write");
        p.setPen(QPen(QColor(40, 40, 40), 1.2));
        p.setBrush(QColor(230, 230, 230));
        p.drawRect(QRectF(2, 22, 6, 6)); // the PC side
    }
}

} // namespace

// Drawn afresh for every scale a screen may use, so the icons stay sharp at 125 % to 300 %.
QIcon toolbarIcon(const QString& key)
{
    QIcon icon;
    for (const int size : { 32, 40, 48, 64, 96 }) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 32.0, size / 32.0);
        drawIcon(p, key);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace korvane::app
