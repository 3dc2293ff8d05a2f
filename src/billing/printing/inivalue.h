#pragma once

// One value of config.ini, read or written on its own. A write keeps every
// other key of the file and replaces the file in one step.

#include <QString>

// The trimmed value, or "" when the file, the section or the key is missing
// or the file cannot be read.
QString LoadIniValue(const char* section, const char* key, const QString& path);

// Writes the trimmed value; throws EIniError (billing/printing/setorloadini.h).
void SaveIniValue(const char* section, const char* key, const QString& value, const QString& path);
