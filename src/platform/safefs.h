#pragma once

// File-system steps of start-up that must not be fooled by what another user
// planted: folders are created for the user alone, new files never follow a
// symbolic link, and a folder is trusted only when nobody else can write it.

#include <QByteArray>
#include <QString>

namespace platform {

// Creates the missing folders of the chain, each with mode 0700. True when
// folder is a folder at the end.
bool MakePrivateFolderChain(const QString& folder);

// True when folder is a real folder (not a symbolic link) owned by the
// effective user and writable by nobody else.
bool IsPrivateFolder(const QString& folder);

// True when something, even a dangling symbolic link, stands at path.
bool PathTaken(const QString& path);

// True when path is a regular file itself, not a link to one.
bool IsPlainFile(const QString& path);

// Creates path as a new file with content; fails when anything already
// stands there, a symbolic link included.
bool CreateNewFile(const QString& path, const QByteArray& content);

// True when both files can be read and hold the same bytes.
bool SameFileContent(const QString& a, const QString& b);

} // namespace platform
