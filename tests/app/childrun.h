#pragma once

// Runs code in a forked child, as the unprivileged user 65534 when the tests
// run as root (root writes through any permission bits), and returns what the
// child reported. The child uses only Qt's core file APIs.

#include <QString>

#include <functional>

struct TChildResult {
    bool ok = false; // the child ran the body to its end
    QString output;
};

TChildResult RunUnprivileged(const std::function<QString()>& body);

// Read-only folders stop the child; this says whether the child is someone
// else than the folder's owner (root) or the owner itself (non-root run).
bool RunningAsRoot();
