#pragma once

// The desktop shortcut: a .desktop launcher in the user's desktop folder (XDG).

#include <QString>

namespace platform {

// "Quorvel餐饮管理软件"
QString LauncherName();

// The launcher's text for the program at exePath, started in its own folder.
QString DesktopEntryText(const QString& exePath);

// The user's desktop folder (XDG_DESKTOP_DIR, else ~/Desktop).
QString DesktopFolder();

// Writes LauncherName() + ".desktop" into folder (created when missing),
// replacing an existing one, and makes it executable. False with error set
// when it cannot.
bool CreateDesktopLauncher(const QString& exePath, const QString& folder, QString& error);

} // namespace platform
