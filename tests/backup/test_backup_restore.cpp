#include "app/formcreate.h"
#include "app/startup/instancelock.h"
#include "app/startup/workfolder.h"
#include "backup/backuppicker.h"
#include "backup/backupservice.h"
#include "backup/backupsettings.h"
#include "billing/printing/form_setting.h"
#include "common/appvalues.h"
#include "common/clock.h"
#include "store/adddata.h"
#include "store/sqlitedb.h"

#include "backupfixture.h"
#include "childrun.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <thread>

namespace {

const QDateTime kMorning(QDate(2026, 12, 10), QTime(8, 0, 0));

class BackupRestoreTest : public BackupProgramTest {
protected:
    void SetUp() override {
        BackupProgramTest::SetUp();
        now = kMorning;
        StartupSeams().Launch = [this](const QString& program, const QString& folder) {
            launched << program + QLatin1Char(' ') + folder;
            const QWidget* modal = QApplication::activeModalWidget();
            modalAtLaunch << (modal ? modal->objectName() : QString());
            return true;
        };
        StartupSeams().RequestQuit = [this] {
            ++quits;
        };
    }

    static void addOrder(const QString& title) {
        TSQLiteDatabase db(sqlitename);
        db.ExecSQL(
            QStringLiteral("INSERT INTO zel_orders (title, deleted) VALUES ('%1', 0)").arg(title));
    }
    static QString orders(const QString& file) {
        TSQLiteDatabase db(file);
        return db
            .GetTable(QStringLiteral("SELECT group_concat(title, ',') FROM "
                                     "(SELECT title FROM zel_orders ORDER BY id)"))
            ->FieldAsString(0);
    }

    // Opens the picker from the settings screen and chooses row.
    TForm_backup_restore* pick(int row) {
        auto* setting = screens->Form_setting.get();
        setting->show();
        click(setting->BackupGroup->btn_restore);
        auto* picker = setting->findChild<TForm_backup_restore*>();
        EXPECT_TRUE(picker && picker->isVisible());
        if (!picker)
            return nullptr;
        picker->list->selectRow(row);
        return picker;
    }
    QStringList rows(TForm_backup_restore* picker) const {
        QStringList texts;
        for (int r = 0; r < picker->list->rowCount(); ++r)
            texts << picker->list->item(r, 0)->text() + QLatin1Char('|') +
                         picker->list->item(r, 2)->text();
        return texts;
    }

    QStringList launched;
    // The window that held the till still when the program restarted.
    QStringList modalAtLaunch;
    int quits = 0;
};

TEST_F(BackupRestoreTest, ARestoreBringsBackTheCopyKeepsTheReplacedDataAndRestarts) {
    startWithService();
    addOrder(QStringLiteral("早餐"));
    ASSERT_TRUE(service->Start());
    ASSERT_TRUE(waitIdle());
    now = now.addSecs(3600);
    addOrder(QStringLiteral("午餐")); // taken after the copy

    auto* picker = pick(0);
    ASSERT_TRUE(picker);
    EXPECT_EQ(rows(picker), QStringList{QStringLiteral("2026-12-10 08:00:00|1")});
    EXPECT_EQ(picker->list->item(0, 1)->text(),
              SizeText(QFileInfo(ListBackups(backups()).first().Path).size()));
    messages.Answers = {true};
    click(picker->btnRestore);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !launched.isEmpty(); }, 20000));

    EXPECT_EQ(messages.Texts(),
              QStringList{QStringLiteral("确定用 2026-12-10 08:00:00 的备份恢复数据吗？\n"
                                         "当前数据会另存为一份备份，恢复后程序将重新启动。")});
    EXPECT_EQ(launched, QStringList{folder() + QStringLiteral("zeltora ") + folder()});
    // No order could be taken while the replaced data was copied, and the
    // waiting window is gone once the restart is under way.
    EXPECT_EQ(modalAtLaunch, QStringList{QStringLiteral("BackupProgress")});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(RestorePending(dbPath()));
    // Nothing changed under the running windows.
    EXPECT_EQ(orders(dbPath()), QStringLiteral("早餐,午餐"));
    // The run ends at once: its data was kept as a copy already.
    int closed = 0;
    service->CloseAfterBackup([&] { ++closed; });
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(ListBackups(backups()).size(), 2);

    // The run ends; the next start puts the copy in place before anything opens it.
    service.reset();
    screens.reset();
    window.reset();
    messages.Calls.clear();
    startProgram();
    EXPECT_EQ(messages.Texts(), QStringList());
    EXPECT_FALSE(RestorePending(dbPath()));
    EXPECT_EQ(orders(dbPath()), QStringLiteral("早餐"));
    const auto list = ListBackups(backups());
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(orders(list.first().Path), QStringLiteral("早餐,午餐"));
}

TEST_F(BackupRestoreTest, ADamagedCopyIsRefusedAndACancelChangesNothing) {
    startWithService();
    addOrder(QStringLiteral("早餐"));
    ASSERT_TRUE(service->Start());
    ASSERT_TRUE(waitIdle());
    now = now.addSecs(60);
    ASSERT_TRUE(service->Start());
    ASSERT_TRUE(waitIdle());
    const auto list = ListBackups(backups());
    ASSERT_EQ(list.size(), 2);
    {
        // The newest copy rots on the disk: a page in its middle is overwritten.
        QFile f(list.first().Path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(4096);
        f.write(QByteArray(4096, '\x33'));
    }

    auto* picker = pick(0);
    ASSERT_TRUE(picker);
    click(picker->btnRestore);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.Calls.isEmpty(); }, 20000));
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(messages.Calls.size(), 1);
    EXPECT_EQ(messages.Calls.value(0).kind, TMessageKind::Info);
    EXPECT_TRUE(messages.Calls.value(0).text.startsWith(QStringLiteral("该备份无法使用: ")))
        << messages.Calls.value(0).text.toStdString();

    // The sound copy, but the operator cancels at the question.
    messages.Calls.clear();
    messages.Answers = {false};
    picker = pick(1);
    click(picker->btnRestore);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.Calls.isEmpty(); }, 20000));
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(messages.Calls.value(0).kind, TMessageKind::OkCancel);

    EXPECT_FALSE(RestorePending(dbPath()));
    EXPECT_TRUE(launched.isEmpty());
    EXPECT_EQ(quits, 0);
    EXPECT_EQ(ListBackups(backups()).size(), 2);
}

// Start-up over a file that cannot be read: the newest sound copy is offered.
TEST_F(BackupRestoreTest, StartUpOverAnUnreadableDatabaseOffersTheNewestSoundCopy) {
    const auto makeCopies = [this] {
        ASSERT_TRUE(AutoCreateTable(dbPath()));
        {
            TSQLiteDatabase db(dbPath());
            db.ExecSQL(QStringLiteral("INSERT INTO zel_desk (title, bh) VALUES ('A1', '1')"));
            db.ExecSQL(QStringLiteral("INSERT INTO zel_orders (title) VALUES ('旧')"));
        }
        BackupDatabase(dbPath(), backups(), kMorning.addDays(-2));
        {
            TSQLiteDatabase db(dbPath());
            db.ExecSQL(QStringLiteral("INSERT INTO zel_orders (title) VALUES ('新')"));
        }
        BackupDatabase(dbPath(), backups(), kMorning.addDays(-1));
        // The newest copy is damaged too: the one before it is offered.
        const QString bad = BackupDatabase(dbPath(), backups(), kMorning.addSecs(-60));
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.resize(4096 * 2);
    };
    const QByteArray garbage("id;title\n1;A1\n");
    const QString offer =
        QStringLiteral("数据库文件无法读取：%1\n找到 2026-12-09 08:00:00 的备份（2 个订单），"
                       "是否用它恢复数据？\n无法读取的文件将移到 backup 目录保留。")
            .arg(dbPath());
    const QString report =
        QStringLiteral("数据库文件无法读取：") + dbPath() +
        QStringLiteral("\n该文件不是数据库文件，请将其移走或换回原来的数据库文件后"
                       "重新启动程序");
    const struct {
        const char* name;
        bool copies;
        bool accept;
        QStringList says;
        bool started;
    } cases[] = {
        {"accepted", true, true, {offer}, true},
        {"refused", true, false, {offer, report}, false},
        {"no copy", false, true, {report}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(backups()).removeRecursively();
        QFile::remove(dbPath());
        if (c.copies)
            makeCopies();
        {
            QFile f(dbPath());
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(garbage);
        }
        messages.Calls.clear();
        messages.Answers = {c.accept};
        quits = 0;
        window = std::make_unique<Tform_main>();
        FormCreate(*window);

        EXPECT_EQ(messages.Texts(), c.says);
        EXPECT_EQ(quits, c.started ? 0 : 1);
        EXPECT_EQ(window->TileArea() != nullptr, c.started);
        if (c.started) {
            EXPECT_EQ(orders(dbPath()), QStringLiteral("旧,新"));
            QFile aside(backups() + QStringLiteral("damaged-20261210-080000.db"));
            ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
            EXPECT_EQ(aside.readAll(), garbage);
        } else {
            QFile file(dbPath());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), garbage);
        }
        window.reset();
        UnlockWorkFolder();
    }
}

// A database deleted by mistake (or emptied) while copies are kept: start-up
// offers the newest sound copy before it would make a new, empty database.
TEST_F(BackupRestoreTest, StartUpWithoutTheDatabaseOffersTheNewestSoundCopy) {
    const QString demo =
        QStringLiteral("还没有桌位，是否添加数据体验？可一键删除,添加桌位后不再提示。");
    const QString offer =
        QStringLiteral("数据库文件不存在或为空：%1\n找到 2026-12-09 08:00:00 的备份（1 个订单），"
                       "是否用它恢复数据？")
            .arg(dbPath());
    const struct {
        const char* name;
        bool copies;
        bool emptyFile; // emptied rather than deleted
        bool accept;
        QStringList says;
        QString orders;
    } cases[] = {
        {"deleted, accepted", true, false, true, {offer}, QStringLiteral("早餐")},
        {"emptied, accepted", true, true, true, {offer}, QStringLiteral("早餐")},
        {"refused", true, false, false, {offer, demo}, QString()},
        {"no copy", false, false, true, {demo}, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(backups()).removeRecursively();
        QFile::remove(dbPath());
        if (c.copies) {
            ASSERT_TRUE(AutoCreateTable(dbPath()));
            {
                TSQLiteDatabase db(dbPath());
                db.ExecSQL(QStringLiteral("INSERT INTO zel_desk (title, bh) VALUES ('A1', '1')"));
                db.ExecSQL(QStringLiteral("INSERT INTO zel_orders (title) VALUES ('早餐')"));
            }
            BackupDatabase(dbPath(), backups(), kMorning.addDays(-1));
            ASSERT_TRUE(QFile::remove(dbPath()));
        }
        if (c.emptyFile) {
            QFile f(dbPath());
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        messages.Calls.clear();
        // The demonstration offer, when it comes, is refused.
        messages.Answers = {c.accept, false};
        quits = 0;
        window = std::make_unique<Tform_main>();
        FormCreate(*window);

        EXPECT_EQ(messages.Texts(), c.says);
        EXPECT_EQ(quits, 0);
        EXPECT_NE(window->TileArea(), nullptr);
        EXPECT_EQ(orders(dbPath()), c.orders);
        window.reset();
        UnlockWorkFolder();
    }
}

// Real processes: the program that restarts itself still holds the folder's
// lock while it ends; the new one waits for it and then puts the copy in place.
TEST_F(BackupRestoreTest, TheRestartedProgramWaitsForTheLockOfTheOneEnding) {
    ASSERT_TRUE(AutoCreateTable(dbPath()));
    {
        TSQLiteDatabase db(dbPath());
        db.ExecSQL(QStringLiteral("INSERT INTO zel_desk (title, bh) VALUES ('A1', '1')"));
        db.ExecSQL(QStringLiteral("INSERT INTO zel_orders (title) VALUES ('备份里的')"));
    }
    const QString copy = BackupDatabase(dbPath(), backups(), kMorning);
    {
        TSQLiteDatabase db(dbPath());
        db.ExecSQL(QStringLiteral("INSERT INTO zel_orders (title) VALUES ('之后的')"));
    }
    for (const bool pending : {false, true}) {
        SCOPED_TRACE(pending ? "restore pending" : "no restore pending");
        if (pending)
            PrepareRestore(copy, dbPath());
        TLiveChild ending([this] {
            UnlockWorkFolder();
            return LockWorkFolder(folder()) == TLockResult::Acquired ? QStringLiteral("holding")
                                                                     : QString();
        });
        ASSERT_EQ(ending.Report(), QStringLiteral("holding"));
        std::thread end([&ending] {
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            ending.Kill();
        });
        messages.Calls.clear();
        quits = 0;
        window = std::make_unique<Tform_main>();
        FormCreate(*window);
        end.join();
        if (pending) {
            EXPECT_EQ(messages.Texts(), QStringList());
            EXPECT_EQ(quits, 0);
            EXPECT_EQ(orders(dbPath()), QStringLiteral("备份里的"));
            EXPECT_FALSE(RestorePending(dbPath()));
        } else {
            EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("程序已在运行")});
            EXPECT_EQ(quits, 1);
            EXPECT_EQ(orders(dbPath()), QStringLiteral("备份里的,之后的"));
        }
        window.reset();
        UnlockWorkFolder();
    }
}

} // namespace
