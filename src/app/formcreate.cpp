#include "app/formcreate.h"

#include "app/instancelock.h"
#include "app/supportcommands.h"
#include "app/workfolder.h"
#include "common/appvalues.h"
#include "common/clock.h"
#include "common/messages.h"
#include "common/myfun.h"
#include "common/ui/laymsg.h"
#include "floor/form_main.h"
#include "platform/platform.h"
#include "store/adddata.h"
#include "store/dbcheck.h"
#include "store/demodata.h"
#include "store/sqlitedb.h"

#include <QTimer>

namespace {

void countTestDesks(Tform_main& form) {
    try {
        testnums = CountTestDesks(sqlitename);
    } catch (const ESQLiteException& e) {
        laymsg(QStringLiteral("加载失败: ") + e.Message(), 0, &form);
    }
}

// Start-up ends here when another program works in the same folder.
bool lockWorkFolder() {
    switch (LockWorkFolder(softpath)) {
    case TLockResult::Acquired:
        return true;
    case TLockResult::HeldElsewhere:
        Messages().Info(MessageCaption(), QStringLiteral("程序已在运行"));
        StartupSeams().RequestQuit();
        return false;
    case TLockResult::Unavailable:
        // Refusing to start over a lock file that cannot be opened would stop the till.
        platform::DebugOutput(QStringLiteral("cannot lock ") + softpath + LockFileName());
        return true;
    }
    return true;
}

// Nothing can work over a file that cannot be read, and nothing may write to it.
bool databaseReadable() {
    const TDbFileCheck check = CheckDatabaseFile(sqlitename);
    if (check.Readable())
        return true;
    if (!check.Detail.isEmpty())
        platform::DebugOutput(sqlitename + QStringLiteral(": ") + check.Detail);
    Messages().Info(MessageCaption(), UnreadableDatabaseMessage(sqlitename, check));
    StartupSeams().RequestQuit();
    return false;
}

} // namespace

void FormCreate(Tform_main& form) {
    softpath = StartupSeams().ApplicationFolder();
    sqlitename = softpath + QStringLiteral("zeltora.db");
    inipath = softpath + QStringLiteral("config.ini");
    form.CenterOnScreen();

    TPermissionOutcome outcome = TPermissionOutcome::Continue;
    if (!CheckPermission(&outcome)) {
        // Only when nothing at all can be written; the other ways out said why already.
        if (outcome == TPermissionOutcome::NoWritableFolder)
            Messages().Info(MessageCaption(), QStringLiteral("当前所有目录无写入权限"));
        return;
    }
    if (!lockWorkFolder() || !databaseReadable())
        return;

    // A failed schema step rolls itself back; start-up goes on regardless.
    AutoCreateTable(sqlitename);
    AddTestData(
        sqlitename,
        [](const QString& question) { return Messages().OkCancel(MessageCaption(), question); },
        getunittime(zclock::Now()));
    countTestDesks(form);

    form.CreateCategoryPanel();
    form.LoadDesksByCategory(0);
    form.TimerResize->stop();
    form.TimerResize->setInterval(100);
    form.AddTestDataMenuEntry();

    RunUpdateCheck(form);
}

void RunUpdateCheck(Tform_main& form) {
    // Only starts the query: the floor is usable while the service answers.
    StartUpdateCheck(form);
}
