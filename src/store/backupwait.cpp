#include "store/backupwait.h"

#include <sqlite3.h>

#include <atomic>

namespace {

std::atomic<int> g_running{0};

// About two seconds; a backup step holds its lock for a few milliseconds.
constexpr int kMaxWaits = 2000;

int waitForBackup(void*, int count) {
    if (g_running.load() == 0 || count >= kMaxWaits)
        return 0;
    sqlite3_sleep(1);
    return 1;
}

} // namespace

void InstallBackupWait(sqlite3* db) {
    sqlite3_busy_handler(db, &waitForBackup, nullptr);
}

TBackupRunning::TBackupRunning() {
    ++g_running;
}

TBackupRunning::~TBackupRunning() {
    --g_running;
}

bool TBackupRunning::Any() {
    return g_running.load() > 0;
}
