#include "backup/backup.h"
#include "backup/backuprun.h"
#include "store/adddata.h"
#include "store/backupwait.h"
#include "store/sqlitedb.h"

#include "tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <gmock/gmock.h>

#include <optional>
#include <thread>

using ::testing::HasSubstr;

namespace {

const QDateTime kMorning(QDate(2026, 12, 10), QTime(7, 15, 0));

class BackupTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        ASSERT_TRUE(AutoCreateTable(dbPath()));
    }

    QString backups() const { return folder() + BackupFolderName(); }

    static void addOrders(const QString& file, int from, int count) {
        TSQLiteDatabase db(file);
        TSQLiteTransaction tx(db);
        for (int i = from; i < from + count; ++i)
            db.ExecSQL(QStringLiteral("INSERT INTO zel_orders (title, ordid, price, deleted) "
                                      "VALUES ('order %1', '%1', 10, 0)")
                           .arg(i));
        tx.Commit();
    }

    static QString titles(const QString& file) {
        TSQLiteDatabase db(file);
        auto t = db.GetTable(QStringLiteral("SELECT group_concat(title, ',') FROM "
                                            "(SELECT title FROM zel_orders ORDER BY id)"));
        return t->FieldAsString(0);
    }

    // A database of this program whose index pages are overwritten in the middle.
    QString damagedDatabase(const QString& name) {
        const QString file = path(name);
        EXPECT_TRUE(AutoCreateTable(file));
        addOrders(file, 0, 3000);
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::ReadWrite));
        const qint64 size = f.size();
        f.seek(size / 2 - (size / 2) % 4096);
        f.write(QByteArray(4096 * 3, '\x5a'));
        return file;
    }

    static QStringList names(const QString& dir) {
        return QDir(dir).entryList(QDir::Files, QDir::Name);
    }
};

TEST_F(BackupTest, CopyHoldsTheLastCommittedStateWhileAnotherConnectionWrites) {
    addOrders(dbPath(), 0, 2);
    TSQLiteDatabase writer(dbPath());
    writer.BeginTransaction();
    writer.ExecSQL(QStringLiteral("INSERT INTO zel_orders (title) VALUES ('open')"));

    const QString copy = BackupDatabase(dbPath(), backups(), kMorning);
    EXPECT_EQ(QFileInfo(copy).fileName(), QStringLiteral("zeltora-20261210-071500.db"));
    EXPECT_EQ(CheckCopy(copy), QString());
    EXPECT_EQ(titles(copy), QStringLiteral("order 0,order 1"));
    // The writer never noticed: it still commits.
    writer.Commit();
    EXPECT_EQ(titles(dbPath()), QStringLiteral("order 0,order 1,open"));
    EXPECT_EQ(names(backups()), QStringList{QStringLiteral("zeltora-20261210-071500.db")});
}

TEST_F(BackupTest, ACommitBetweenStepsRestartsTheCopyWhichEndsWithIt) {
    addOrders(dbPath(), 0, 2000); // many pages, so the copy takes many steps
    TSQLiteDatabase writer(dbPath());
    TBackupOptions options;
    options.PagesPerStep = 2;
    int steps = 0;
    int restarted = 0;
    int last = 0;
    options.Progress = [&](int done, int) {
        if (done < last)
            ++restarted;
        last = done;
        if (++steps == 5)
            writer.ExecSQL(QStringLiteral("INSERT INTO zel_orders (title) VALUES ('late')"));
    };
    const QString copy = BackupDatabase(dbPath(), backups(), kMorning, options);
    EXPECT_EQ(restarted, 1);
    EXPECT_EQ(CheckCopy(copy), QString());
    EXPECT_TRUE(titles(copy).endsWith(QStringLiteral("order 1999,late")));
}

TEST_F(BackupTest, EndlessWritesEndTheBackupWithAReasonAndLeaveNoFile) {
    addOrders(dbPath(), 0, 2000);
    TSQLiteDatabase writer(dbPath());
    TBackupOptions options;
    options.PagesPerStep = 2;
    options.MaxRestarts = 3;
    int steps = 0;
    options.Progress = [&](int, int) {
        if (++steps % 4 == 0)
            writer.ExecSQL(QStringLiteral("INSERT INTO zel_orders (title) VALUES ('busy')"));
    };
    try {
        BackupDatabase(dbPath(), backups(), kMorning, options);
        ADD_FAILURE() << "no EBackupError";
    } catch (const EBackupError& e) {
        EXPECT_THAT(e.Message().toStdString(), HasSubstr("备份未能完成"));
    }
    EXPECT_EQ(names(backups()), QStringList());
}

// A write that meets a backup's read lock waits for it while a backup runs; without a
// backup the program's connections keep failing at once, as they always did.
TEST_F(BackupTest, AWriteWaitsForABackupStepOnlyWhileABackupRuns) {
    for (const bool backupRunning : {true, false}) {
        SCOPED_TRACE(backupRunning ? "backup running" : "no backup");
        std::optional<TBackupRunning> running;
        if (backupRunning)
            running.emplace();
        sqlite3* reader = nullptr;
        ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(dbPath()).constData(), &reader,
                                  SQLITE_OPEN_READONLY, nullptr),
                  SQLITE_OK);
        // A read transaction holds the shared lock, as a backup step does.
        sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM zel_orders;", nullptr, nullptr, nullptr);
        std::thread release([reader] {
            std::this_thread::sleep_for(std::chrono::milliseconds(150));
            sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr);
        });
        QString failure;
        try {
            TSQLiteDatabase till(dbPath());
            till.ExecSQL(QStringLiteral("INSERT INTO zel_orders (title) VALUES ('paid')"));
        } catch (const ESQLiteException& e) {
            failure = e.Message();
        }
        release.join();
        sqlite3_close(reader);
        if (backupRunning)
            EXPECT_EQ(failure, QString());
        else
            EXPECT_THAT(failure.toStdString(), HasSubstr("locked"));
    }
    EXPECT_EQ(titles(dbPath()), QStringLiteral("paid"));
}

TEST_F(BackupTest, CopiesAreListedNewestFirstWithoutUnfinishedOrSetAsideFiles) {
    addOrders(dbPath(), 0, 3);
    const QDateTime evening(QDate(2026, 12, 9), QTime(22, 0, 5));
    BackupDatabase(dbPath(), backups(), evening);
    BackupDatabase(dbPath(), backups(), kMorning);
    BackupDatabase(dbPath(), backups(), kMorning); // same second: a name of its own
    for (const char* other : {"zeltora-20261210-090000.db.part", "damaged-20261210-080000.db",
                              "zeltora-2026.db", "notes.txt"})
        QFile(backups() + QString::fromLatin1(other)).open(QIODevice::WriteOnly);

    const auto copies = ListBackups(backups());
    QStringList listed;
    for (const auto& c : copies)
        listed << QFileInfo(c.Path).fileName() + QLatin1Char(' ') +
                      c.Taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    EXPECT_EQ(listed, QStringList({"zeltora-20261210-071500-2.db 2026-12-10 07:15:00",
                                   "zeltora-20261210-071500.db 2026-12-10 07:15:00",
                                   "zeltora-20261209-220005.db 2026-12-09 22:00:05"}));
    EXPECT_EQ(copies.first().Size, QFileInfo(dbPath()).size());
    EXPECT_EQ(CountOrders(copies.first().Path), 3);
    EXPECT_TRUE(HasBackupOf(backups(), QDate(2026, 12, 9)));
    EXPECT_FALSE(HasBackupOf(backups(), QDate(2026, 12, 8)));
}

TEST_F(BackupTest, RotationKeepsTheNewestThirty) {
    for (int i = 0; i < 31; ++i)
        BackupDatabase(dbPath(), backups(), kMorning.addDays(-40 + i));
    const TBackupOutcome outcome = RunBackup(dbPath(), folder(), QString(), kMorning, {});
    EXPECT_EQ(outcome.Error, QString());
    EXPECT_EQ(outcome.Removed, 2);
    const auto copies = ListBackups(backups());
    ASSERT_EQ(copies.size(), kKeptBackups);
    EXPECT_EQ(copies.first().Path, outcome.Copy);
    EXPECT_EQ(copies.last().Taken, kMorning.addDays(-40 + 2));
    EXPECT_EQ(names(backups()).size(), kKeptBackups);
}

// A copy cut off by a crash leaves its unfinished file and journal behind:
// the next backup clears them once they are old, never a copy still written.
TEST_F(BackupTest, LeftoversOfAnInterruptedCopyAreClearedWhenStale) {
    QDir().mkpath(backups());
    const QStringList stale = {QStringLiteral("zeltora-20261201-220000.db.part"),
                               QStringLiteral("zeltora-20261201-220000.db.part-journal")};
    const QString fresh = QStringLiteral("zeltora-20261210-075959.db.part");
    for (const QString& name : stale + QStringList{fresh}) {
        QFile file(backups() + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("unfinished");
        file.flush();
        if (name != fresh) {
            ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-2 * 3600),
                                         QFileDevice::FileModificationTime));
        }
    }
    const TBackupOutcome outcome = RunBackup(dbPath(), folder(), QString(), kMorning, {});
    EXPECT_EQ(outcome.Error, QString());
    EXPECT_EQ(names(backups()), QStringList({QFileInfo(outcome.Copy).fileName(), fresh}));
}

TEST_F(BackupTest, ACopyThatFailsItsCheckKeepsEveryOlderCopy) {
    for (int i = 0; i < 31; ++i)
        BackupDatabase(dbPath(), backups(), kMorning.addDays(-40 + i));
    const QStringList before = names(backups());
    const QString damaged = damagedDatabase(QStringLiteral("damaged.db"));

    const TBackupOutcome outcome = RunBackup(damaged, folder(), QString(), kMorning, {});
    EXPECT_THAT(outcome.Error.toStdString(), HasSubstr("备份校验未通过"));
    EXPECT_EQ(outcome.Copy, QString());
    EXPECT_EQ(outcome.Removed, 0);
    EXPECT_EQ(names(backups()), before);
}

TEST_F(BackupTest, TheSecondFolderGetsTheCopyOrItsFailureIsNamed) {
    QDir().mkpath(path(QStringLiteral("stick")));
    QFile(path(QStringLiteral("plain-file"))).open(QIODevice::WriteOnly);
    struct TCase {
        const char* dir2;
        const char* secondError; // empty: the copy is there
    } cases[] = {
        {"", ""},
        {"stick", ""},
        {"missing", "第二备份目录不存在："},
        {"plain-file", "第二备份目录不存在："},
    };
    int minute = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dir2);
        const QString dir2 = *c.dir2 ? path(QString::fromLatin1(c.dir2)) : QString();
        const TBackupOutcome outcome =
            RunBackup(dbPath(), folder(), dir2, kMorning.addSecs(60 * ++minute), {});
        ASSERT_EQ(outcome.Error, QString());
        EXPECT_TRUE(QFileInfo::exists(outcome.Copy)); // the main folder always gets its copy
        if (*c.secondError) {
            EXPECT_EQ(outcome.SecondError, QString::fromUtf8(c.secondError) + dir2);
        } else {
            EXPECT_EQ(outcome.SecondError, QString());
        }
    }
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("missing"))));
    const auto copies = ListBackups(path(QStringLiteral("stick")));
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(CheckCopy(copies.first().Path), QString());
}

TEST_F(BackupTest, OnlyASoundCopyOfThisProgramIsFitForARestore) {
    const QString good = BackupDatabase(dbPath(), backups(), kMorning);
    QFile text(path(QStringLiteral("text.db")));
    text.open(QIODevice::WriteOnly);
    text.write(QByteArray(8192, 'x'));
    text.close();
    {
        TSQLiteDatabase other(path(QStringLiteral("other.db")));
        other.ExecSQL(QStringLiteral("CREATE TABLE zel_orders (id INTEGER)"));
    }
    const QString damaged = damagedDatabase(QStringLiteral("damaged.db"));
    struct TCase {
        QString file;
        const char* problem; // the start of the reason; empty: fit
    } cases[] = {
        {good, ""},
        {path(QStringLiteral("gone.db")), "备份文件不存在"},
        {path(QStringLiteral("text.db")), "无法打开"},
        {path(QStringLiteral("other.db")), "缺少数据表 zel_admin"},
        {damaged, "完整性检查未通过"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        const QString problem = CheckCopy(c.file);
        if (*c.problem)
            EXPECT_TRUE(problem.startsWith(QString::fromUtf8(c.problem))) << problem.toStdString();
        else
            EXPECT_EQ(problem, QString());
        if (!*c.problem)
            continue;
        EXPECT_THROW(PrepareRestore(c.file, dbPath()), EBackupError);
        EXPECT_FALSE(RestorePending(dbPath()));
        EXPECT_FALSE(QFileInfo::exists(PendingRestoreName(dbPath()) + QStringLiteral(".part")));
    }
}

// The old file's journal (left by a crash inside a transaction) must never be
// played back into the restored file.
TEST_F(BackupTest, ARestoreReplacesTheFileAndDropsTheOldJournal) {
    addOrders(dbPath(), 0, 2);
    const QString copy = BackupDatabase(dbPath(), backups(), kMorning);
    addOrders(dbPath(), 2, 1);

    // A transaction big enough to spill into the file, caught before its end.
    const QString crashed = path(QStringLiteral("crashed/"));
    QDir().mkpath(crashed);
    {
        TSQLiteDatabase writer(dbPath());
        writer.ExecSQL(QStringLiteral("PRAGMA cache_size=2"));
        writer.BeginTransaction();
        writer.ExecSQL(QStringLiteral("UPDATE zel_orders SET title='half written'"));
        for (int i = 0; i < 400; ++i)
            writer.ExecSQL(QStringLiteral("INSERT INTO zel_orders (title) VALUES ('%1')")
                               .arg(QString(200, QLatin1Char('w'))));
        ASSERT_TRUE(QFileInfo::exists(dbPath() + QStringLiteral("-journal")));
        for (const char* name : {"zeltora.db", "zeltora.db-journal"})
            ASSERT_TRUE(QFile::copy(folder() + QString::fromLatin1(name),
                                    crashed + QString::fromLatin1(name)));
    }
    const QString db = crashed + QStringLiteral("zeltora.db");

    PrepareRestore(copy, db);
    EXPECT_TRUE(RestorePending(db));
    EXPECT_TRUE(ApplyPendingRestore(db));
    EXPECT_FALSE(RestorePending(db));
    EXPECT_FALSE(QFileInfo::exists(db + QStringLiteral("-journal")));
    EXPECT_EQ(CheckCopy(db), QString());
    EXPECT_EQ(titles(db), QStringLiteral("order 0,order 1"));
    EXPECT_FALSE(ApplyPendingRestore(db)); // nothing pending any more
}

TEST_F(BackupTest, ADamagedFileIsSetAsideWithItsJournal) {
    const QString damaged = damagedDatabase(QStringLiteral("zeltora-bad.db"));
    QFile journal(damaged + QStringLiteral("-journal"));
    journal.open(QIODevice::WriteOnly);
    journal.write("j");
    journal.close();
    const QByteArray bytes = [&] {
        QFile f(damaged);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    const QString aside = SetDamagedAside(damaged, backups(), kMorning);
    EXPECT_EQ(QFileInfo(aside).fileName(), QStringLiteral("damaged-20261210-071500.db"));
    EXPECT_FALSE(QFileInfo::exists(damaged));
    EXPECT_FALSE(QFileInfo::exists(damaged + QStringLiteral("-journal")));
    EXPECT_TRUE(QFileInfo::exists(aside + QStringLiteral("-journal")));
    QFile kept(aside);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), bytes);
    EXPECT_EQ(ListBackups(backups()).size(), 0);
}

} // namespace
