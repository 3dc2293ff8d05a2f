#include "app/program.h"

#include "app/application.h"
#include "app/formcreate.h"
#include "app/startup/quitrequest.h"
#include "app/translations.h"
#include "backup/backupservice.h"
#include "common/ui/qtmessenger.h"
#include "floor/view/form_main.h"

#include <QLocale>
#include <QtGlobal>

#include <exception>

void InitProgram() {
    QLocale::setDefault(QLocale::c());
    if (!LoadQtTranslations())
        qWarning("Qt 的中文翻译文件未找到，系统对话框将显示英文");
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
    // The closing backup runs to its end first, also when the day's copy is still running.
    TBackupService backups;
    backups.SetNotifyWindow(&mainWindow);
    SetActiveBackups(&backups);
    QObject::connect(&mainWindow, &Tform_main::Closed, &backups,
                     [&backups] { backups.CloseAfterBackup([] { QApplication::quit(); }); });
    mainWindow.show();
    backups.StartIfNoneToday();
    const int code = app.exec();
    // A quit asked for elsewhere closes the windows too; its backup ends here.
    backups.WaitUntilDone();
    SetActiveBackups(nullptr);
    return code;
}
