#include "billing/backupconfig.h"

#include "billing/setorloadini.h"

#include <QFile>
#include <QSaveFile>

#include <string>

#define SI_CONVERT_ICU
#include <SimpleIni.h>

namespace {

const char* const kSection = "Backup";
const char* const kKey = "dir2";

// False only when an existing file cannot be read or parsed.
bool load(CSimpleIniA& ini, const QString& path) {
    ini.SetUnicode(true);
    ini.SetSpaces(false);
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    return ini.LoadData(data.constData(), size_t(data.size())) >= 0;
}

} // namespace

QString LoadBackupDir2(const QString& path) {
    CSimpleIniA ini;
    if (!load(ini, path))
        return QString();
    return QString::fromUtf8(ini.GetValue(kSection, kKey, "")).trimmed();
}

void SaveBackupDir2(const QString& dir, const QString& path) {
    CSimpleIniA ini;
    if (!load(ini, path))
        throw EIniError(QStringLiteral("无法读取 ") + path);
    ini.SetValue(kSection, kKey, dir.trimmed().toUtf8().constData());
    std::string text;
    if (ini.Save(text, false) < 0)
        throw EIniError(QStringLiteral("无法写入 ") + path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit())
        throw EIniError(QStringLiteral("无法写入 ") + path + QStringLiteral("：") +
                        file.errorString());
}
