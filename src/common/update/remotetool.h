#pragma once

// Where the remote-assistance tool is found: ToDesk at its usual Linux install
// paths, otherwise the program "remo" in the working folder, downloaded from
// the vendor's download server when missing.

#include <QString>
#include <QStringList>

// /opt/todesk/bin/ToDesk (the vendor's package), then /usr/bin/todesk.
QStringList ToDeskPaths();

// The first of candidates that is an executable file, or empty.
QString FindInstalledTool(const QStringList& candidates = ToDeskPaths());

// The downloaded tool in folder (with a trailing separator).
QString DownloadedToolPath(const QString& folder);

// base followed by "/Public/remo"; empty when base is empty.
QString DownloadedToolUrl(const QString& base);
