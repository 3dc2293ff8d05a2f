#include "app/application.h"
#include "app/program.h"
#include "app/screens.h"
#include "app/startup/quitrequest.h"
#include "billing/printing/devices/qtpagedevice.h"
#include "floor/view/form_main.h"

int main(int argc, char* argv[]) {
    TApplication app(argc, argv);
    InitProgram();
    // Printers are reached through the page device; it goes before the application.
    TQtPageDevice printers;
    SetPageDevice(&printers);

    // Every screen is created once, hidden, main window first; its creation is
    // the start-up sequence and ends before any other screen exists.
    const auto mainWindow = CreateMainWindow();
    // A run that ends during start-up never shows them, and they would open the database.
    const auto screens = AppQuitRequested() ? nullptr : CreateScreens(*mainWindow);

    return RunMessageLoop(app, *mainWindow);
}
