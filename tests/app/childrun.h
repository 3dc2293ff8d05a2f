#pragma once

// Runs code in a forked child, as the unprivileged user 65534 when the tests
// run as root (root writes through any permission bits), and returns what the
// child reported. The child uses only Qt's core file APIs.

#include <QString>
#include <QStringList>

#include <functional>

struct TChildResult {
    bool ok = false; // the child ran the body to its end
    QString output;
};

TChildResult RunUnprivileged(const std::function<QString()>& body);

// Read-only folders stop the child; this says whether the child is someone
// else than the folder's owner (root) or the owner itself (non-root run).
bool RunningAsRoot();

// The user the child of RunUnprivileged runs as.
unsigned ChildUid();

// A forked child of the same user that runs body, reports its text, and then
// lives on until it is killed: as itself, or as the program of command
// (execv), in which case the report is read once that program runs.
class TLiveChild {
public:
    explicit TLiveChild(const std::function<QString()>& body, const QStringList& command = {});
    ~TLiveChild();
    TLiveChild(const TLiveChild&) = delete;
    TLiveChild& operator=(const TLiveChild&) = delete;

    QString Report() const { return FReport; }
    // Kills the child (as a crash would end it) and waits for it.
    void Kill();

private:
    int FPid = -1;
    QString FReport;
};
