#include "billing/printing/inivalue.h"

#include "billing/printing/setorloadini.h"

#include <QFile>
#include <QSaveFile>

#include <string>

#define SI_CONVERT_ICU
#include <SimpleIni.h>

namespace {

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

QString LoadIniValue(const char* section, const char* key, const QString& path) {
    CSimpleIniA ini;
    if (!load(ini, path))
        return QString();
    return QString::fromUtf8(ini.GetValue(section, key, "")).trimmed();
}

void SaveIniValue(const char* section, const char* key, const QString& value, const QString& path) {
    CSimpleIniA ini;
    if (!load(ini, path))
        throw EIniError(QStringLiteral("无法读取 ") + path);
    ini.SetValue(section, key, value.trimmed().toUtf8().constData());
    std::string text;
    if (ini.Save(text, false) < 0)
        throw EIniError(QStringLiteral("无法写入 ") + path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit())
        throw EIniError(QStringLiteral("无法写入 ") + path + QStringLiteral("：") +
                        file.errorString());
}
