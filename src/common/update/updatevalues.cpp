#include "common/update/updatevalues.h"

#include "common/update/updateanswer.h"

#include <QFile>

#define SI_CONVERT_ICU
#include <SimpleIni.h>

QString helpurl;
QString downupdateurl;
QString updateversion;
int32_t isupupdate = 0;
QString loadtit;
int64_t allsize = 0;

namespace {

QString iniValue(const QString& path, const char* section, const char* key) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray data = file.readAll();
    CSimpleIniA ini;
    ini.SetUnicode(true);
    if (ini.LoadData(data.constData(), size_t(data.size())) < 0)
        return QString();
    return QString::fromUtf8(ini.GetValue(section, key, "")).trimmed();
}

} // namespace

void StoreUpdateAnswer(const TUpdateAnswer& answer) {
    downupdateurl = answer.downupdateurl;
    updateversion = answer.updateversion;
    isupupdate = answer.isupupdate;
    helpurl = answer.helpurl;
}

QString UpdateServiceBase(const QString& iniPath) {
    return iniValue(iniPath, "Update", "url");
}

QString DownloadServerBase(const QString& iniPath) {
    return iniValue(iniPath, "Update", "download");
}
