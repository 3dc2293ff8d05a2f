#include "common/ui/closeonescape.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

void CloseOnEscape(QWidget* window) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    shortcut->setObjectName(QStringLiteral("EscapeShortcut"));
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, &QWidget::close);
}
