#include "floor/listicons.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QPixmap blank() {
    QPixmap pixmap(kListIconSize, kListIconSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPixmap drawEdit() {
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor blue(0x1E, 0x9F, 0xFF);
    // A pencil lying from bottom left to top right over a short baseline.
    p.translate(16, 16);
    p.rotate(-45);
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    p.drawRect(QRectF(-7, -3, 14, 6));
    p.setBrush(blue.darker(140));
    p.drawRect(QRectF(7, -3, 3, 6));
    QPainterPath tip;
    tip.moveTo(-7, -3);
    tip.lineTo(-12, 0);
    tip.lineTo(-7, 3);
    tip.closeSubpath();
    p.setBrush(QColor(0xF0, 0xC0, 0x80));
    p.drawPath(tip);
    p.resetTransform();
    p.setPen(QPen(blue.darker(140), 1.5));
    p.drawLine(QPointF(6, 26), QPointF(26, 26));
    return pixmap;
}

QPixmap drawDelete() {
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor red(0xE0, 0x4B, 0x4B);
    p.setPen(QPen(red, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(8, 9), QPointF(24, 9));  // lid
    p.drawLine(QPointF(13, 9), QPointF(14, 6)); // handle
    p.drawLine(QPointF(14, 6), QPointF(18, 6));
    p.drawLine(QPointF(18, 6), QPointF(19, 9));
    QPainterPath body;
    body.moveTo(10, 11);
    body.lineTo(11.5, 26);
    body.lineTo(20.5, 26);
    body.lineTo(22, 11);
    p.drawPath(body);
    p.drawLine(QPointF(14, 14), QPointF(14.5, 23));
    p.drawLine(QPointF(18, 14), QPointF(17.5, 23));
    return pixmap;
}

} // namespace

const QPixmap& EditListIcon() {
    static const QPixmap icon = drawEdit();
    return icon;
}

const QPixmap& DeleteListIcon() {
    static const QPixmap icon = drawDelete();
    return icon;
}
