#include "ui/dir_sel_images.h"

#include <QPainter>
#include <QPainterPath>

namespace brumo {

namespace {

struct FolderColours {
    QColor fill;
    QColor edge;
};

FolderColours ColoursOf(int index) {
    switch (index) {
    case 0:
    case 2:
    case 7:
        return {QColor(0x3c, 0xb0, 0x43), QColor(0x1b, 0x5e, 0x20)};
    case 1:
        return {QColor(0xe0, 0x3a, 0x2f), QColor(0x7f, 0x16, 0x10)};
    case 3:
        return {QColor(0xf5, 0xc5, 0x18), QColor(0x8a, 0x6a, 0x00)};
    default:
        return {QColor(0xa8, 0xa8, 0xa8), QColor(0x55, 0x55, 0x55)};
    }
}

// Drawn on a 16-unit grid with edges on half units, so lines fall on whole pixels at both
// sizes.
void PaintFolder(QPainter& p, int index) {
    const FolderColours c = ColoursOf(index);
    p.setPen(QPen(c.edge, 1));
    p.setBrush(c.fill.darker(115));
    QPainterPath tab;
    tab.moveTo(1.5, 13.5);
    tab.lineTo(1.5, 3.5);
    tab.lineTo(6.0, 3.5);
    tab.lineTo(7.5, 5.0);
    tab.lineTo(14.5, 5.0);
    tab.lineTo(14.5, 13.5);
    tab.closeSubpath();
    p.drawPath(tab);
    p.setBrush(c.fill);
    p.drawRect(QRectF(1.5, 6.5, 13, 7));
    p.setPen(QPen(c.fill.lighter(140), 1));
    p.drawLine(QPointF(2.5, 7.5), QPointF(13.5, 7.5));

    if (index == 0 || index == 1 || index == 7) {
        QPainterPath plus;
        plus.addRect(QRectF(8.5, 10.5, 7, 3));
        plus.addRect(QRectF(10.5, 8.5, 3, 7));
        plus.setFillRule(Qt::WindingFill);
        p.setPen(QPen(QColor(0x20, 0x20, 0x20), 1));
        p.setBrush(Qt::white);
        p.drawPath(plus.simplified());
    }
}

void PaintBox(QPainter& p, bool ticked) {
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 2.5, 11, 11));
    if (!ticked)
        return;
    QPen pen(QColor(0x10, 0x10, 0x10), 2);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QPointF tick[] = {{5.0, 8.0}, {7.0, 10.5}, {11.0, 5.0}};
    p.drawPolyline(tick, 3);
}

void Paint(QPainter& p, int index) {
    if (index == DirSelImages::Ticked || index == DirSelImages::Unticked)
        PaintBox(p, index == DirSelImages::Ticked);
    else
        PaintFolder(p, index);
}

QPixmap Canvas(int width, int height, int scale) {
    QPixmap pixmap(width * scale, height * scale);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

} // namespace

QPixmap DirSelImages::Pixmap(int index, int size) {
    QPixmap pixmap = Canvas(size, size, 1);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    Paint(p, index);
    return pixmap;
}

QIcon DirSelImages::Icon(int index) {
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap = Pixmap(index, 16 * scale);
        pixmap.setDevicePixelRatio(scale);
        icon.addPixmap(pixmap, QIcon::Normal);
        icon.addPixmap(pixmap, QIcon::Selected);
    }
    return icon;
}

QIcon DirSelImages::NodeIcon(int modeIndex, Tick tick) {
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap = Canvas(32, 16, scale);
        {
            QPainter p(&pixmap);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(scale, scale);
            if (tick != Tick::None)
                PaintBox(p, tick == Tick::Ticked);
            p.translate(16, 0);
            PaintFolder(p, modeIndex);
        }
        pixmap.setDevicePixelRatio(scale);
        icon.addPixmap(pixmap, QIcon::Normal);
        icon.addPixmap(pixmap, QIcon::Selected);
    }
    return icon;
}

} // namespace brumo
