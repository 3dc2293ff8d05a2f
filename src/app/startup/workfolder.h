#pragma once

// The working folder: the program's own folder when it can be written,
// otherwise the first writable fallback folder, to which the program copies
// itself and from which it starts again. Widget-free, and usable without an
// application object.

#include <QString>
#include <QStringList>

#include <functional>

// Name of the program file in the working folder.
QString ExecutableName();
// Files copied on relocation, in order; missing ones are skipped.
QStringList CopyList();

// What start-up needs from the outside world; tests replace the members.
struct TStartupSeams {
    // The program's own folder, with a trailing separator.
    std::function<QString()> ApplicationFolder;
    // Fallback folders in order of preference; the first is the preferred one.
    std::function<QStringList()> FallbackFolders;
    // Starts program detached in folder; false when it could not be started.
    std::function<bool(const QString& program, const QString& folder)> Launch;
    // Asks the application to quit.
    std::function<void()> RequestQuit;
};

// The process-wide seams, initially the real ones.
TStartupSeams& StartupSeams();
void ResetStartupSeams();

// $HOME/dorvantek/, /var/tmp/dorvantek/, then <volume>/dorvantek/ for every
// mounted volume under /media, /run/media and /mnt, in path order.
QStringList DefaultFallbackFolders();

// True when a new file can really be written in folder (created with its
// parents, for the user alone, when missing); the probe file is removed again.
// The probe never writes through a symbolic link.
bool DirWritable(const QString& folder);

// A fallback folder is used only when it is the user's own, nobody else can
// write it, it is no symbolic link, and DirWritable says yes.
bool UsableFallbackFolder(const QString& folder);

// Copies the files of CopyList() present in softpath to target, overwriting.
void AutoCopy(const QString& target);

enum class TPermissionOutcome {
    Continue,          // softpath is writable and holds the program
    ExecutableMissing, // softpath is writable but the program file is not there
    NoWritableFolder,  // nothing can be written; quit requested
    Relocated,         // copied and started elsewhere; quit requested
    CopyFailed,        // relocated, but the program file did not arrive
    LaunchFailed,      // relocated, but the copy could not be started
};

// True only when start-up may go on in softpath. Every box goes through the
// message seam; outcome (optional) says which way it went.
bool CheckPermission(TPermissionOutcome* outcome = nullptr);
