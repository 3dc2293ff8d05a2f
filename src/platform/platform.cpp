#include "platform/platform.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace platform {

QString ExecutablePath() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString ExecutableFolder() {
    const QString exe = ExecutablePath();
    if (exe.isEmpty())
        return QString();
    QString folder = QFileInfo(exe).absolutePath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

void DebugOutput(const QString& line) {
    const QByteArray utf8 = line.toUtf8();
    std::fprintf(stderr, "%s\n", utf8.constData());
    std::fflush(stderr);
}

} // namespace platform
