#pragma once

#include <QString>

namespace platform {

// Absolute path of the running executable (/proc/self/exe), empty when unknown.
QString ExecutablePath();

// Folder of the running executable with a trailing separator.
QString ExecutableFolder();

// The debugger output channel: one line on standard error.
void DebugOutput(const QString& line);

} // namespace platform
