#include "backup/backuprun.h"

#include <QFileInfo>

TBackupOutcome RunBackup(const QString& dbFile, const QString& workFolder, const QString& dir2,
                         const QDateTime& when, const TBackupOptions& options) {
    TBackupOutcome outcome;
    const QString folder = workFolder + BackupFolderName();
    try {
        outcome.Copy = BackupDatabase(dbFile, folder, when, options);
    } catch (const EBackupError& e) {
        outcome.Error = e.Message();
        return outcome;
    }
    // Only a copy that passed its check makes room.
    outcome.Removed = RemoveOldBackups(folder);

    if (dir2.trimmed().isEmpty())
        return outcome;
    // A missing folder (a stick not plugged in) is never created here.
    const QFileInfo second(dir2);
    if (!second.isDir()) {
        outcome.SecondError = QStringLiteral("第二备份目录不存在：") + dir2;
        return outcome;
    }
    try {
        CopyBackupTo(outcome.Copy, dir2);
        RemoveOldBackups(dir2);
    } catch (const EBackupError&) {
        outcome.SecondError = QStringLiteral("第二备份目录无法写入：") + dir2;
    }
    return outcome;
}
