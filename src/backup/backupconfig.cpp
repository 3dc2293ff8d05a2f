#include "backup/backupconfig.h"

#include "billing/printing/inivalue.h"

namespace {

const char* const kSection = "Backup";
const char* const kKey = "dir2";

} // namespace

QString LoadBackupDir2(const QString& path) {
    return LoadIniValue(kSection, kKey, path);
}

void SaveBackupDir2(const QString& dir, const QString& path) {
    SaveIniValue(kSection, kKey, dir, path);
}
