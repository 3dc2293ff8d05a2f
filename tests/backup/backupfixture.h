#pragma once

// The real program windows with a backup service of their own and a clock the
// test sets: copies are named by that clock.

#include "backup/backup.h"
#include "backup/backupservice.h"
#include "common/clock.h"

#include "programfixture.h"

#include <QDateTime>
#include <QTest>

#include <memory>

class BackupProgramTest : public ProgramWindowsTest {
protected:
    void SetUp() override {
        ProgramWindowsTest::SetUp();
        zclock::SetTestClock([this] { return now; });
    }
    void TearDown() override {
        service.reset();
        zclock::SetTestClock({});
        ProgramWindowsTest::TearDown();
    }

    void startWithService() {
        startProgram();
        messages.Calls.clear(); // the demonstration offer
        service = std::make_unique<TBackupService>();
        service->SetNotifyWindow(window.get());
        SetActiveBackups(service.get());
    }
    bool waitIdle(int ms = 20000) {
        return QTest::qWaitFor([this] { return !service->Running(); }, ms);
    }
    QString backups() const { return folder() + BackupFolderName(); }

    QDateTime now;
    std::unique_ptr<TBackupService> service;
};
