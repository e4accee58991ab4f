#include "ui/app_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace brumo {

QPixmap AppIcon::Pixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(Qt::NoPen);

    QLinearGradient tile(0, 2, 0, 62);
    tile.setColorAt(0, QColor("#35a58c"));
    tile.setColorAt(1, QColor("#1b5e50"));
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(27, 11, 10, 5), 1.5, 1.5);
    p.drawRoundedRect(QRectF(16, 16, 32, 6), 2, 2);
    QPainterPath body;
    body.moveTo(19, 25);
    body.lineTo(45, 25);
    body.lineTo(42, 54);
    body.lineTo(22, 54);
    body.closeSubpath();
    p.drawPath(body);

    QPen groove(QColor("#1b5e50"), 2.5, Qt::SolidLine, Qt::RoundCap);
    p.setPen(groove);
    p.drawLine(QPointF(26, 29), QPointF(27, 50));
    p.drawLine(QPointF(32, 29), QPointF(32, 50));
    p.drawLine(QPointF(38, 29), QPointF(37, 50));

    p.setPen(Qt::NoPen);
    p.setBrush(QColor("#ffd54a"));
    const QPointF spark[] = {{51, 6},  {53, 12}, {59, 14}, {53, 16},
                             {51, 22}, {49, 16}, {43, 14}, {49, 12}};
    p.drawPolygon(spark, 8);
    return pixmap;
}

QIcon AppIcon::Icon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(Pixmap(size));
    return icon;
}

} // namespace brumo
