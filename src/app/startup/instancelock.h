#pragma once

// One program per working folder: an exclusive lock on a file in the folder,
// held until the process ends. The system drops it with the process, so a
// crashed run leaves no lock behind (the file itself stays and is harmless).

#include <QString>

enum class TLockResult {
    Acquired,      // this process now holds the folder (or held it already)
    HeldElsewhere, // another process holds it
    Unavailable,   // the lock file could not be opened; nothing is known
};

// Name of the lock file in the working folder.
QString LockFileName();

// Takes the lock of folder (with trailing separator) for the rest of the
// process; a lock held on another folder is given up once the new one is held.
TLockResult LockWorkFolder(const QString& folder);

// Gives up the lock held by this process, if any.
void UnlockWorkFolder();
