#include "app/startup/quitrequest.h"

#include <QCoreApplication>

namespace {
bool g_quitRequested = false;
}

void RequestAppQuit() {
    g_quitRequested = true;
    if (QCoreApplication::instance())
        QCoreApplication::quit();
}

bool AppQuitRequested() {
    return g_quitRequested;
}
