#pragma once

// One backup of the program: a checked copy into the working folder's backup
// folder, the older copies beyond the newest 30 removed, and the copy also
// into the second folder when one is set.

#include "backup/backup.h"

struct TBackupOutcome {
    QString Copy;        // the new copy; empty when the backup failed
    QString Error;       // why it failed; every older copy is still there
    QString SecondError; // the second folder could not take the copy
    int Removed = 0;     // older copies removed from the backup folder
};

// dbFile's copy into workFolder + "backup/"; dir2 may be empty. Never throws.
TBackupOutcome RunBackup(const QString& dbFile, const QString& workFolder, const QString& dir2,
                         const QDateTime& when, const TBackupOptions& options = {});
