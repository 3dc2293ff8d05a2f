#include "app/formcreate.h"

#include "app/startup/instancelock.h"
#include "app/startup/workfolder.h"
#include "app/supportcommands.h"
#include "backup/backup.h"
#include "common/appvalues.h"
#include "common/clock.h"
#include "common/messages.h"
#include "common/myfun.h"
#include "common/ui/laymsg.h"
#include "floor/view/form_main.h"
#include "platform/platform.h"
#include "store/adddata.h"
#include "store/dbcheck.h"
#include "store/demodata.h"
#include "store/sqlitedb.h"

#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>

namespace {

void countTestDesks(Tform_main& form) {
    try {
        testnums = CountTestDesks(sqlitename);
    } catch (const ESQLiteException& e) {
        laymsg(QStringLiteral("加载失败: ") + e.Message(), 0, &form);
    }
}

// A program that restarts itself after a restore still holds the lock for a
// moment while it ends: the new one waits for it instead of refusing to start.
TLockResult lockOrWaitForRestart() {
    TLockResult result = LockWorkFolder(softpath);
    if (result != TLockResult::HeldElsewhere || !RestorePending(sqlitename))
        return result;
    QDeadlineTimer deadline(15000);
    while (result == TLockResult::HeldElsewhere && !deadline.hasExpired()) {
        QThread::msleep(50);
        result = LockWorkFolder(softpath);
    }
    return result;
}

// Start-up ends here when another program works in the same folder.
bool lockWorkFolder() {
    switch (lockOrWaitForRestart()) {
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

// A restore chosen in the last run is put in place before anything opens the file.
bool applyPendingRestore() {
    try {
        ApplyPendingRestore(sqlitename);
        return true;
    } catch (const EBackupError& e) {
        Messages().Info(MessageCaption(), QStringLiteral("恢复备份失败: ") + e.Message());
        StartupSeams().RequestQuit();
        return false;
    }
}

// The newest copy that passes its check, put in place when the operator
// agrees. heading says what is wrong with the file; an unreadable file is
// kept aside in the backup folder, a missing or empty one is just replaced.
bool restoredFromBackup(const QString& heading, bool setAside) {
    const QString folder = softpath + BackupFolderName();
    for (const TBackupCopy& copy : ListBackups(folder)) {
        if (!CheckCopy(copy.Path).isEmpty())
            continue;
        QString question =
            heading + QStringLiteral("\n找到 %1 的备份（%2 个订单），是否用它恢复数据？")
                          .arg(copy.Taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
                          .arg(CountOrders(copy.Path));
        if (setAside)
            question += QStringLiteral("\n无法读取的文件将移到 backup 目录保留。");
        if (!Messages().OkCancel(MessageCaption(), question))
            return false;
        try {
            PrepareRestore(copy.Path, sqlitename);
            if (setAside)
                SetDamagedAside(sqlitename, folder, zclock::Now());
            ApplyPendingRestore(sqlitename);
        } catch (const EBackupError& e) {
            Messages().Info(MessageCaption(), QStringLiteral("恢复备份失败: ") + e.Message());
            return false;
        }
        return true;
    }
    return false;
}

// Nothing can work over a file that cannot be read, and nothing may write to it.
bool databaseReadable() {
    const TDbFileCheck check = CheckDatabaseFile(sqlitename);
    // Gone or emptied while copies of it are kept: a file deleted by mistake
    // or a new disk, not a new restaurant. Refused, it starts as a new one.
    if (check.State == TDbFileState::New) {
        restoredFromBackup(QStringLiteral("数据库文件不存在或为空：") + sqlitename, false);
        return true;
    }
    if (check.Readable())
        return true;
    if (!check.Detail.isEmpty())
        platform::DebugOutput(sqlitename + QStringLiteral(": ") + check.Detail);
    if (restoredFromBackup(QStringLiteral("数据库文件无法读取：") + sqlitename, true))
        return true;
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
    if (!lockWorkFolder() || !applyPendingRestore() || !databaseReadable())
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
