#pragma once

// Copies of the database: taken with SQLite's online backup while the program
// writes, checked before they count, kept in a folder (the newest 30), and
// brought back in place of the database before anything opens it.

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <stdexcept>

class EBackupError : public std::runtime_error {
public:
    explicit EBackupError(const QString& message);
    QString Message() const { return QString::fromUtf8(what()); }
};

// Copies kept in one folder; older ones go once a newer copy has passed its check.
constexpr int kKeptBackups = 30;

// "backup/": the folder of copies inside the working folder.
QString BackupFolderName();

struct TBackupCopy {
    QString Path;
    QDateTime Taken; // from the file name, local time
    qint64 Size = 0;
};

// Copies in folder, newest first. Only finished copies are listed, never a
// file still being written or a damaged database set aside.
QList<TBackupCopy> ListBackups(const QString& folder);

// True when folder holds a copy taken on day.
bool HasBackupOf(const QString& folder, const QDate& day);

struct TBackupOptions {
    // Pages copied per step; the file is locked for reading only during a step.
    int PagesPerStep = 128;
    // Pause between steps, so a write of the program gets in between.
    int PauseMs = 1;
    // A copy restarts whenever another connection commits; after this many
    // restarts the backup gives up instead of running for ever.
    int MaxRestarts = 50;
    // Pages copied and in all, after every step (called on the copying thread).
    std::function<void(int done, int total)> Progress;
};

// Copies source into folder (created when missing) under a name made of
// when, as a temporary file that is checked and only then renamed. Returns the
// copy's path; throws EBackupError with what went wrong (the temporary file is
// removed, older copies are untouched).
QString BackupDatabase(const QString& source, const QString& folder, const QDateTime& when,
                       const TBackupOptions& options = {});

// Copies an already checked copy into folder under the same name (temporary
// name, then rename). Throws EBackupError.
QString CopyBackupTo(const QString& copy, const QString& folder);

// Removes the oldest copies of folder beyond keep; returns how many went.
// Unfinished copies left by a crash (untouched for an hour) go too.
int RemoveOldBackups(const QString& folder, int keep = kKeptBackups);

// Empty when file is a sound database of this program (integrity check
// passed, its tables present); otherwise why not, in words for the operator.
QString CheckCopy(const QString& file);

// Settled orders in file (deleted ones too), or -1 when it cannot be read.
qint64 CountOrders(const QString& file);

// The prepared database beside dbFile that replaces it at the next start.
QString PendingRestoreName(const QString& dbFile);
bool RestorePending(const QString& dbFile);

// Writes copy to the pending name (temporary file, flushed, checked, renamed).
// Throws EBackupError; nothing is pending then.
void PrepareRestore(const QString& copy, const QString& dbFile);

// Puts a pending restore in place of dbFile. Only while no connection to
// dbFile is open: the old file's journal is dropped first, so it can never be
// played back into the restored file. True when a restore was applied; throws
// EBackupError when it was pending but could not be applied.
bool ApplyPendingRestore(const QString& dbFile);

// Moves a database that cannot be read (and its journal) into folder as
// "damaged-<time>.db", so a restore keeps it for a closer look.
QString SetDamagedAside(const QString& dbFile, const QString& folder, const QDateTime& when);
