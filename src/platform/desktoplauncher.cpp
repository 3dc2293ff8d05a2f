#include "platform/desktoplauncher.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace platform {

namespace {

// A string value of the desktop entry format: backslash and line breaks escaped.
QString escapeValue(QString value) {
    value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    value.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    value.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    value.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    if (value.startsWith(QLatin1Char(' ')))
        value.replace(0, 1, QStringLiteral("\\s"));
    return value;
}

// One argument of Exec: quoted, with ", `, $ and \ escaped inside the quotes and
// % doubled (field codes); escapeValue then applies on top, as the format reads
// Exec as a string first.
QString execArgument(QString argument) {
    QString quoted;
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString LauncherName() {
    return QStringLiteral("Quorvel餐饮管理软件");
}

QString DesktopEntryText(const QString& exePath) {
    const QString folder = QFileInfo(exePath).absolutePath();
    QStringList lines = {
        QStringLiteral("[Desktop Entry]"),
        QStringLiteral("Type=Application"),
        QStringLiteral("Version=1.0"),
        QStringLiteral("Name=") + escapeValue(LauncherName()),
        QStringLiteral("Comment=") + escapeValue(LauncherName()),
        QStringLiteral("Exec=") + escapeValue(execArgument(exePath)),
        QStringLiteral("Path=") + escapeValue(folder),
        QStringLiteral("Terminal=false"),
    };
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString DesktopFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/Desktop");
    return folder;
}

bool CreateDesktopLauncher(const QString& exePath, const QString& folder, QString& error) {
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("无法创建文件夹 ") + folder;
        return false;
    }
    const QString path = QDir(folder).filePath(LauncherName() + QStringLiteral(".desktop"));
    QSaveFile file(path);
    const QByteArray text = DesktopEntryText(exePath).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        error = file.errorString();
        return false;
    }
    // Desktops start only launchers that are marked executable.
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    return true;
}

} // namespace platform
