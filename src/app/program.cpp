#include "app/program.h"

#include "app/application.h"
#include "app/formcreate.h"
#include "app/quitrequest.h"
#include "common/ui/qtmessenger.h"
#include "floor/form_main.h"

#include <QLocale>

#include <exception>

void InitProgram() {
    QLocale::setDefault(QLocale::c());
    static TQtMessenger messenger;
    SetMessenger(&messenger);
}

std::unique_ptr<Tform_main> CreateMainWindow() {
    auto form = std::make_unique<Tform_main>();
    try {
        FormCreate(*form);
    } catch (const std::exception& e) {
        TApplication::ErrorBox(QString::fromUtf8(e.what()));
    }
    return form;
}

int RunMessageLoop(QApplication& app, Tform_main& mainWindow) {
    if (AppQuitRequested())
        return 0;
    // Closing the main window ends the program, whatever other window is open.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&mainWindow, &Tform_main::Closed, &app, &QApplication::quit);
    mainWindow.show();
    return app.exec();
}
