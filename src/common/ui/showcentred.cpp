#include "common/ui/showcentred.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void ShowCentred(QWidget* window, QWidget* owner) {
    window->adjustSize();
    const QRect area = owner && owner->isVisible()
                           ? owner->frameGeometry()
                           : QGuiApplication::primaryScreen()->availableGeometry();
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    window->move(frame.topLeft());
    window->show();
    window->raise();
    window->activateWindow();
}
