#include "common/ui/elidedlabel.h"

#include <QPainter>

void TElidedLabel::SetTailLength(qsizetype TailLength) {
    FTailLength = qBound(qsizetype(0), TailLength, text().size());
    update();
}

QString TElidedLabel::ShownText() const {
    const QFontMetrics metrics = fontMetrics();
    const int width = contentsRect().width();
    const QString full = text();
    const qsizetype tailLength = qMin(FTailLength, full.size());
    if (metrics.horizontalAdvance(full) <= width || tailLength == 0)
        return metrics.elidedText(full, Qt::ElideRight, width);
    const QString tail = full.right(tailLength);
    const int headWidth = width - metrics.horizontalAdvance(tail);
    // No room even for the tail: cut the whole text at its end.
    if (headWidth <= metrics.horizontalAdvance(QChar(0x2026)))
        return metrics.elidedText(full, Qt::ElideRight, width);
    return metrics.elidedText(full.left(full.size() - tailLength), Qt::ElideRight, headWidth) +
           tail;
}

void TElidedLabel::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), int(alignment()) | Qt::TextSingleLine, ShownText());
}
