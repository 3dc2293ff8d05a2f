#pragma once

// A cheap look at a database file before anything writes to it: whether it
// can be read and starts like an SQLite database with a readable schema. It
// opens the file read-only and never changes it. It reads the header and the
// schema, not every page: damage inside the table data is not found here.

#include <QString>

enum class TDbFileState {
    New,          // no file yet, or an empty one: it becomes a new database
    Usable,       // an SQLite database whose schema can be read
    NotAFile,     // a folder or another non-file stands at the path
    NoAccess,     // the file cannot be opened for reading
    NotADatabase, // the file does not start like an SQLite database
    Damaged,      // it starts like one, but its header or schema cannot be read
};

struct TDbFileCheck {
    TDbFileState State = TDbFileState::New;
    // What the system or SQLite said, in its own words; empty when all is well.
    QString Detail;

    bool Readable() const { return State == TDbFileState::New || State == TDbFileState::Usable; }
};

TDbFileCheck CheckDatabaseFile(const QString& FileName);

// The message for a file that is not Readable(): its path, why, and what to do.
QString UnreadableDatabaseMessage(const QString& FileName, const TDbFileCheck& Check);
