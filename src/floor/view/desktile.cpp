#include "floor/view/desktile.h"

#include <QPainter>

TDeskTile::TDeskTile(QWidget* parent, int32_t tag, const QString& hint)
    : QGroupBox(parent), FTag(tag), FHint(hint) {
    setAutoFillBackground(true);
}

QColor TDeskTile::FillColor() const {
    return palette().color(QPalette::Window);
}

void TDeskTile::SetFillColor(const QColor& color) {
    if (FillColor() == color)
        return;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
}

void TDeskTile::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QPainter painter(this);
    painter.setPen(FillColor().darker(160));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
