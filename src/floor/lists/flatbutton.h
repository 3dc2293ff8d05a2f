#pragma once

// The flat coloured buttons of the master-data windows: white text on one
// colour, paler when disabled, hand cursor.

#include <QColor>
#include <QRect>
#include <QString>

class QPushButton;
class QWidget;

QPushButton* FlatButton(QWidget* parent, const QString& name, const QString& caption,
                        const QColor& colour, const QRect& geometry);

// The colours the windows use.
inline QColor FlatBlue() {
    return QColor(0x1E, 0x9F, 0xFF);
}
inline QColor FlatGreen() {
    return QColor(0x87, 0xB8, 0x7F);
}
inline QColor FlatTeal() {
    return QColor(0x00, 0x96, 0x88);
}
