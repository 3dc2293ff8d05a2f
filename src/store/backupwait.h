#pragma once

// A backup holds a read lock on the database for a few milliseconds at a
// time. Every connection of the program waits a moment for it instead of
// failing; without a running backup nothing changes.

struct sqlite3;

// Installs the wait on db.
void InstallBackupWait(sqlite3* db);

// Counts running backups (process-wide).
class TBackupRunning {
public:
    TBackupRunning();
    ~TBackupRunning();
    TBackupRunning(const TBackupRunning&) = delete;
    TBackupRunning& operator=(const TBackupRunning&) = delete;
    static bool Any();
};
