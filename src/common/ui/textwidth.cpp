#include "common/ui/textwidth.h"

#include <QApplication>
#include <QFontMetrics>

QFont MessageFont() {
    QFont font = QApplication::font();
    font.setPointSize(10);
    return font;
}

int32_t GetWidthText(const QString& Text) {
    return QFontMetrics(MessageFont()).horizontalAdvance(Text);
}
