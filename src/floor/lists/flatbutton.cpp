#include "floor/lists/flatbutton.h"

#include <QPushButton>

QPushButton* FlatButton(QWidget* parent, const QString& name, const QString& caption,
                        const QColor& colour, const QRect& geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    const QColor pale((colour.red() + 255 * 2) / 3, (colour.green() + 255 * 2) / 3,
                      (colour.blue() + 255 * 2) / 3);
    button->setStyleSheet(
        QStringLiteral("QPushButton { background: %1; color: white; border: none; "
                       "padding: 0 4px; }"
                       "QPushButton:pressed { background: %2; }"
                       "QPushButton:disabled { background: %3; color: #F4F4F4; }")
            .arg(colour.name(), colour.darker(115).name(), pale.name()));
    return button;
}
