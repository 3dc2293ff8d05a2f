#pragma once

// The second backup folder in config.ini: section "Backup", key "dir2"
// (a USB stick, a network share). Empty when none is set.

#include "common/appvalues.h"

#include <QString>

QString LoadBackupDir2(const QString& path = inipath);

// Writes the key, keeping every other key of the file; throws EIniError.
void SaveBackupDir2(const QString& dir, const QString& path = inipath);
