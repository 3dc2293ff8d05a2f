#pragma once

// Checks of a window on a small screen: its frame lies on the available area
// and a command is drawn whole.

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <gtest/gtest.h>

inline QRect available() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// The whole of w is drawn: it lies inside each parent up to its window, so no
// edge and no scroll area cuts it off.
inline ::testing::AssertionResult inSight(const QWidget* w) {
    if (!w)
        return ::testing::AssertionFailure() << "no widget";
    if (!w->isVisible())
        return ::testing::AssertionFailure() << w->objectName().toStdString() << " is hidden";
    const QWidget* window = w->window();
    const QRect rect(w->mapTo(window, QPoint()), w->size());
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        const QRect outer(p->mapTo(window, QPoint()), p->size());
        if (!outer.contains(rect))
            return ::testing::AssertionFailure()
                   << w->objectName().toStdString() << " is cut off by "
                   << p->objectName().toStdString() << " of " << p->metaObject()->className();
        if (p == window)
            break;
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult onScreen(const QWidget* window) {
    if (available().contains(window->frameGeometry()))
        return ::testing::AssertionSuccess();
    const QRect f = window->frameGeometry();
    return ::testing::AssertionFailure()
           << window->objectName().toStdString() << " frame " << f.x() << "," << f.y() << " "
           << f.width() << "x" << f.height() << " is not inside " << available().width() << "x"
           << available().height();
}
