#include "common/update/remotetool.h"

#include <QFileInfo>

QStringList ToDeskPaths() {
    return {QStringLiteral("/opt/todesk/bin/ToDesk"), QStringLiteral("/usr/bin/todesk")};
}

QString FindInstalledTool(const QStringList& candidates) {
    for (const QString& path : candidates) {
        const QFileInfo info(path);
        if (info.isFile() && info.isExecutable())
            return path;
    }
    return QString();
}

QString DownloadedToolPath(const QString& folder) {
    return folder + QStringLiteral("remo");
}

QString DownloadedToolUrl(const QString& base) {
    QString b = base.trimmed();
    if (b.isEmpty())
        return QString();
    while (b.endsWith(QLatin1Char('/')))
        b.chop(1);
    return b + QStringLiteral("/Public/remo");
}
