#include "common/ui/showcentred.h"

#include <QGuiApplication>
#include <QLayout>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

int keptInside(int start, int length, int areaStart, int areaLength) {
    return std::max(areaStart, std::min(start, areaStart + areaLength - length));
}

QMargins frameMargins(const QWidget* window) {
    const QWindow* handle = window->windowHandle();
    return handle ? handle->frameMargins() : QMargins();
}

} // namespace

QRect FittedFrame(const QSize& frameSize, const QPoint& centre, const QRect& available) {
    const int left = centre.x() - frameSize.width() / 2;
    const int top = centre.y() - frameSize.height() / 2;
    return {QPoint(keptInside(left, frameSize.width(), available.x(), available.width()),
                   keptInside(top, frameSize.height(), available.y(), available.height())),
            frameSize};
}

void FitOnScreen(QWidget* window, QWidget* owner) {
    if (!window)
        return;
    const bool onOwner = owner && owner->isVisible();
    QScreen* screen = onOwner ? owner->screen() : window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    // The layout sets the minimum size the window cannot go below.
    if (QLayout* layout = window->layout())
        layout->activate();
    // The platform window knows its decoration once it exists; where the
    // window manager tells only after the first show, the owner's is the guess.
    window->winId();
    QMargins frame = frameMargins(window);
    if (frame.isNull() && onOwner && !window->isVisible())
        frame = frameMargins(owner->window());
    window->resize(window->size().boundedTo(available.size().shrunkBy(frame)));
    const QPoint centre = onOwner ? owner->window()->frameGeometry().center() : available.center();
    window->move(FittedFrame(window->size().grownBy(frame), centre, available).topLeft());
}

void ShowCentred(QWidget* window, QWidget* owner) {
    if (!window)
        return;
    if (QLayout* layout = window->layout())
        layout->activate();
    window->resize(window->sizeHint().expandedTo(window->minimumSize()));
    FitOnScreen(window, owner);
    window->show();
    window->raise();
    window->activateWindow();
}
