#pragma once

// Processes: ending the running copies of one program file, running a program
// hidden with its output captured, and starting one detached. Programs are
// always given as a path and a list of arguments, never through a shell.

#include <QString>
#include <QStringList>

namespace platform {

// Ends (SIGKILL, as an immediate termination) every process of this user whose
// executable is the file at programPath, compared by identity, so another
// program of the same name elsewhere is left alone. Never the calling process.
// Returns how many were ended.
int EndProcess(const QString& programPath);

// Runs program with arguments, standard output and error merged, and waits for
// it to end; Output is everything it wrote. False when it could not start.
bool ExecuteExternalExe(const QString& ExePath, const QStringList& Parameters, QString& Output);

// Starts program detached in folder (its own folder when empty); the caller
// never waits for it. False when it could not be started.
bool StartDetached(const QString& program, const QStringList& arguments = {},
                   const QString& folder = QString());

} // namespace platform
