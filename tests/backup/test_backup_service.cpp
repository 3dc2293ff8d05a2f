#include "backup/backupconfig.h"
#include "backup/backupservice.h"
#include "backup/backupsettings.h"
#include "billing/printing/form_setting.h"
#include "common/appvalues.h"
#include "common/clock.h"
#include "common/ui/laymsg.h"
#include "store/sqlitedb.h"

#include "backupfixture.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace {

const QDateTime kToday(QDate(2026, 12, 10), QTime(9, 30, 0));

class BackupServiceTest : public BackupProgramTest {
protected:
    void SetUp() override {
        BackupProgramTest::SetUp();
        now = kToday;
    }

    QStringList copies(const QString& dir) const {
        QStringList names;
        for (const auto& c : ListBackups(dir))
            names << QFileInfo(c.Path).fileName();
        return names;
    }
    static QString panel() { return mypan() && mypan()->isVisible() ? mypan()->text() : ""; }

    // Enough pages that a copy in single-page steps with pauses takes a while.
    void growDatabase() {
        TSQLiteDatabase db(sqlitename);
        TSQLiteTransaction tx(db);
        for (int i = 0; i < 3000; ++i)
            db.ExecSQL(QStringLiteral("INSERT INTO zel_orders (title) VALUES ('%1')")
                           .arg(QString(300, QLatin1Char('x'))));
        tx.Commit();
    }
};

TEST_F(BackupServiceTest, TheFirstStartOfADayTakesACopyLaterStartsDoNot) {
    startWithService();
    ASSERT_TRUE(service->StartIfNoneToday());
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(copies(backups()), QStringList{QStringLiteral("zeltora-20261210-093000.db")});
    EXPECT_EQ(panel(), QStringLiteral("备份完成"));

    now = kToday.addSecs(3600);
    EXPECT_FALSE(service->StartIfNoneToday());
    now = kToday.addDays(1);
    EXPECT_TRUE(service->StartIfNoneToday());
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(copies(backups()).size(), 2);
    EXPECT_TRUE(messages.Calls.isEmpty());
}

TEST_F(BackupServiceTest, BackupNowInTheSettingsAndAMissingSecondFolderIsToldOnceAsANotification) {
    startWithService();
    auto* setting = screens->Form_setting.get();
    setting->show();
    const QString stick = path(QStringLiteral("usb-stick"));
    TBackupGroup::ChooseFolder = [&](QWidget*, const QString&) {
        return stick;
    };
    QDir().mkpath(stick);
    click(setting->BackupGroup->btn_dir2);
    EXPECT_EQ(setting->BackupGroup->lab_dir2->text(), stick);
    EXPECT_EQ(LoadBackupDir2(), stick); // saved at once

    click(setting->BackupGroup->btn_backup);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(panel(), QStringLiteral("备份完成"));
    EXPECT_EQ(copies(stick), copies(backups()));

    // The stick is pulled out: the till's own copy is still made, the operator told once.
    QDir(stick).removeRecursively();
    const QStringList seen = [&] {
        QStringList texts;
        for (int i = 0; i < 2; ++i) {
            now = now.addSecs(60);
            click(setting->BackupGroup->btn_backup);
            EXPECT_TRUE(waitIdle());
            texts << panel();
        }
        return texts;
    }();
    EXPECT_EQ(seen, QStringList({QStringLiteral("备份完成；第二备份目录不存在：") + stick,
                                 QStringLiteral("备份完成")}));
    EXPECT_EQ(copies(backups()).size(), 3);
    EXPECT_FALSE(QFileInfo::exists(stick));
    EXPECT_TRUE(messages.Calls.isEmpty()) << messages.Texts().join('|').toStdString();
}

TEST_F(BackupServiceTest, ClosingWaitsForTheRunningCopyThenTakesTheClosingOneWithAProgressWindow) {
    startWithService();
    growDatabase();
    service->Options.PagesPerStep = 1;
    service->Options.PauseMs = 3;
    service->ProgressAfterMs = 0;
    ASSERT_TRUE(service->Start());
    int quits = 0;
    bool stillRunningAtQuit = true;
    service->CloseAfterBackup([&] {
        ++quits;
        stillRunningAtQuit = service->Running();
    });
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(screens->Form_setting->isVisible());
    auto progress = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("BackupProgress"))
                return w;
        return static_cast<QWidget*>(nullptr);
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return progress() && progress()->isVisible(); }, 5000));
    EXPECT_EQ(quits, 0);
    now = now.addSecs(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return quits > 0; }, 30000));
    EXPECT_EQ(quits, 1);
    EXPECT_FALSE(stillRunningAtQuit);
    EXPECT_FALSE(progress()->isVisible());
    // The copy that ran and the closing copy, both checked.
    const auto list = ListBackups(backups());
    ASSERT_EQ(list.size(), 2);
    for (const auto& c : list)
        EXPECT_EQ(CheckCopy(c.Path), QString());
}

// A quit asked for elsewhere (the updater) closes the windows after the loop
// has been told to end: the closing backup still runs to its end.
TEST_F(BackupServiceTest, AfterTheLoopTheRunningBackupIsWaitedFor) {
    startWithService();
    growDatabase();
    service->Options.PagesPerStep = 1;
    service->Options.PauseMs = 2;
    int quits = 0;
    service->CloseAfterBackup([&] { ++quits; });
    ASSERT_TRUE(service->Running());
    service->WaitUntilDone();
    EXPECT_FALSE(service->Running());
    EXPECT_EQ(quits, 1);
    ASSERT_EQ(ListBackups(backups()).size(), 1);
    EXPECT_EQ(CheckCopy(ListBackups(backups()).first().Path), QString());
}

TEST_F(BackupServiceTest, ClosingEndsTheProgramWhenTheBackupFails) {
    startWithService();
    // A file where the backup folder belongs: no copy can be made.
    QFile blocker(path(QStringLiteral("backup")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    int quits = 0;
    TBackupOutcome outcome;
    QObject::connect(service.get(), &TBackupService::BackupFinished,
                     [&](const TBackupOutcome& o) { outcome = o; });
    service->CloseAfterBackup([&] { ++quits; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return quits > 0; }, 10000));
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(outcome.Error.startsWith(QStringLiteral("无法创建备份目录")))
        << outcome.Error.toStdString();
    EXPECT_TRUE(messages.Calls.isEmpty());
}

// The copy holds its read lock in almost every moment here; the till's writes
// wait for a step instead of failing, and the copy ends with all of them.
TEST_F(BackupServiceTest, TillWritesDuringABackupAllSucceed) {
    startWithService();
    growDatabase();
    service->Options.PagesPerStep = 1;
    service->Options.PauseMs = 0;
    service->Options.MaxRestarts = 100000;
    const auto state = [](TSQLiteDatabase& db) {
        return std::pair(
            db.GetTable(QStringLiteral("SELECT count(*) FROM zel_cart"))->FieldAsInteger(0),
            db.GetTable(QStringLiteral("SELECT price FROM zel_desk ORDER BY id LIMIT 1"))
                ->FieldAsInteger(0));
    };
    const auto before = [&] {
        TSQLiteDatabase db(sqlitename);
        return state(db);
    }();
    ASSERT_TRUE(service->Start());
    QStringList failures;
    int written = 0;
    for (int i = 0; i < 20 && service->Running(); ++i) {
        try {
            TSQLiteDatabase till(sqlitename);
            TSQLiteTransaction tx(till);
            till.ExecSQL(QStringLiteral("UPDATE zel_desk SET price = price + 1 WHERE id = "
                                        "(SELECT min(id) FROM zel_desk)"));
            till.ExecSQL(QStringLiteral("INSERT INTO zel_cart (deskid) VALUES (%1)").arg(i));
            tx.Commit();
            ++written;
        } catch (const ESQLiteException& e) {
            failures << e.Message();
        }
        QTest::qWait(2);
    }
    ASSERT_TRUE(waitIdle(60000));
    EXPECT_EQ(failures, QStringList());
    EXPECT_GT(written, 2); // the copy was still running for several writes
    EXPECT_EQ(panel(), QStringLiteral("备份完成"));
    // The copy holds whole writes only: every added cart row with its price step.
    TSQLiteDatabase copy(ListBackups(backups()).first().Path);
    const auto copied = state(copy);
    EXPECT_EQ(copied.first - before.first, copied.second - before.second);
    EXPECT_LE(copied.first - before.first, written);
}

} // namespace
