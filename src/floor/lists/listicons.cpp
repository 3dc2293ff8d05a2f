#include "floor/lists/listicons.h"

#include <QHash>
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

QPixmap drawDetail() {
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor teal(0x00, 0x96, 0x88);
    // A sheet with a folded corner and three text lines.
    p.setPen(QPen(teal, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath sheet;
    sheet.moveTo(8, 5);
    sheet.lineTo(19, 5);
    sheet.lineTo(25, 11);
    sheet.lineTo(25, 27);
    sheet.lineTo(8, 27);
    sheet.closeSubpath();
    p.drawPath(sheet);
    p.drawLine(QPointF(19, 5), QPointF(19, 11));
    p.drawLine(QPointF(19, 11), QPointF(25, 11));
    p.drawLine(QPointF(12, 15), QPointF(21, 15));
    p.drawLine(QPointF(12, 19), QPointF(21, 19));
    p.drawLine(QPointF(12, 23), QPointF(18, 23));
    return pixmap;
}

QPixmap drawPrint() {
    QPixmap pixmap = blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor blue(0x1E, 0x9F, 0xFF);
    p.setPen(QPen(blue, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(10, 5, 12, 7)); // paper going in
    p.setBrush(blue);
    p.drawRoundedRect(QRectF(5, 12, 22, 10), 2, 2); // body
    p.setBrush(Qt::white);
    p.drawRect(QRectF(10, 18, 12, 9)); // paper coming out
    p.drawLine(QPointF(13, 22), QPointF(19, 22));
    return pixmap;
}

} // namespace

QPixmap ListIcon(TListCell cell, int size) {
    const QPixmap* icon = nullptr;
    switch (cell) {
    case TListCell::EditIcon:
        icon = &EditListIcon();
        break;
    case TListCell::DeleteIcon:
        icon = &DeleteListIcon();
        break;
    case TListCell::DetailIcon:
        icon = &DetailListIcon();
        break;
    case TListCell::PrintIcon:
        icon = &PrintListIcon();
        break;
    case TListCell::Text:
        return QPixmap();
    }
    if (size == kListIconSize)
        return *icon;
    // Rows paint often; each size is scaled once.
    static QHash<QPair<int, int>, QPixmap> scaled;
    const QPair<int, int> key(int(cell), size);
    auto found = scaled.constFind(key);
    if (found == scaled.constEnd())
        found = scaled.insert(
            key, icon->scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    return *found;
}

const QPixmap& DetailListIcon() {
    static const QPixmap icon = drawDetail();
    return icon;
}

const QPixmap& PrintListIcon() {
    static const QPixmap icon = drawPrint();
    return icon;
}

const QPixmap& EditListIcon() {
    static const QPixmap icon = drawEdit();
    return icon;
}

const QPixmap& DeleteListIcon() {
    static const QPixmap icon = drawDelete();
    return icon;
}
