#include "store/adddata.h"
#include "store/dbcheck.h"
#include "store/sqlitedb.h"

#include "childrun.h"
#include "tempfolder.h"

#include <QDir>
#include <QFile>
#include <QMap>

#include <functional>
#include <memory>

#include <sys/stat.h>

namespace {

const char* stateName(TDbFileState s) {
    switch (s) {
    case TDbFileState::New:
        return "New";
    case TDbFileState::Usable:
        return "Usable";
    case TDbFileState::NotAFile:
        return "NotAFile";
    case TDbFileState::NoAccess:
        return "NoAccess";
    case TDbFileState::NotADatabase:
        return "NotADatabase";
    case TDbFileState::Damaged:
        return "Damaged";
    }
    return "?";
}

// Every entry of a folder with its bytes and modification time to the nanosecond.
QMap<QString, QString> snapshot(const QString& folder) {
    QMap<QString, QString> entries;
    for (const QString& name : QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries)) {
        const QString file = folder + name;
        struct stat st {};
        ::stat(QFile::encodeName(file).constData(), &st);
        QFile f(file);
        const QByteArray bytes = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        entries[name] = QStringLiteral("%1.%2 %3")
                            .arg(st.st_mtim.tv_sec)
                            .arg(st.st_mtim.tv_nsec)
                            .arg(QString::fromLatin1(bytes.toHex()));
    }
    return entries;
}

class DbCheckTest : public TempFolderTest {
public:
    QString db() const { return dbPath(); }

    void makeDatabase() {
        ASSERT_TRUE(AutoCreateTable(db()));
        TSQLiteDatabase conn(db());
        conn.ExecSQL(QStringLiteral("INSERT INTO zel_desk (title, bh) VALUES ('A1', '1')"));
    }
    void write(const QByteArray& bytes) {
        QFile f(db());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    // A real database with its bytes from offset on replaced, or cut there.
    void spoil(qint64 offset, const QByteArray& bytes, bool cut = false) {
        makeDatabase();
        QFile f(db());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        if (cut) {
            ASSERT_TRUE(f.resize(offset));
        }
        ASSERT_TRUE(f.seek(offset));
        f.write(bytes);
    }
};

TEST_F(DbCheckTest, TellsWhatKindOfFileStandsThereAndNeverChangesIt) {
    const struct {
        const char* name;
        std::function<void(DbCheckTest&)> make;
        TDbFileState expected;
    } cases[] = {
        {"no file", [](DbCheckTest&) {}, TDbFileState::New},
        {"empty file", [](DbCheckTest& t) { t.write(QByteArray()); }, TDbFileState::New},
        {"database", [](DbCheckTest& t) { t.makeDatabase(); }, TDbFileState::Usable},
        {"text file", [](DbCheckTest& t) { t.write("orders of last week, one per line\n"); },
         TDbFileState::NotADatabase},
        {"shorter than a header", [](DbCheckTest& t) { t.write("SQLite"); },
         TDbFileState::NotADatabase},
        {"folder", [](DbCheckTest& t) { QDir().mkpath(t.db()); }, TDbFileState::NotAFile},
        {"schema page overwritten", [](DbCheckTest& t) { t.spoil(100, QByteArray(400, '\xff')); },
         TDbFileState::Damaged},
        {"impossible page size", [](DbCheckTest& t) { t.spoil(16, QByteArray("\x00\x03", 2)); },
         TDbFileState::Damaged},
        {"cut after the header", [](DbCheckTest& t) { t.spoil(100, QByteArray(), true); },
         TDbFileState::Damaged},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(folder()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder()));
        c.make(*this);
        const auto before = snapshot(folder());
        EXPECT_STREQ(stateName(CheckDatabaseFile(db()).State), stateName(c.expected));
        EXPECT_EQ(snapshot(folder()), before);
    }
}

TEST_F(DbCheckTest, AJournalLeftByACrashIsNoDamage) {
    makeDatabase();
    const QString copy = path(QStringLiteral("copy.db"));
    {
        // Copied in the middle of a transaction, the pair looks like a crashed run.
        TSQLiteDatabase conn(db());
        conn.ExecSQL(QStringLiteral("PRAGMA synchronous=OFF"));
        conn.BeginTransaction();
        conn.ExecSQL(QStringLiteral("UPDATE zel_desk SET title = 'B2'"));
        ASSERT_TRUE(QFile::copy(db(), copy));
        ASSERT_TRUE(
            QFile::copy(db() + QStringLiteral("-journal"), copy + QStringLiteral("-journal")));
    }
    const auto before = snapshot(folder());
    const TDbFileCheck check = CheckDatabaseFile(copy);
    EXPECT_STREQ(stateName(check.State), "Usable") << check.Detail.toStdString();
    EXPECT_EQ(snapshot(folder()), before);
}

TEST_F(DbCheckTest, AFileTheUserCannotReadIsReportedAsSuch) {
    ASSERT_EQ(::chmod(QFile::encodeName(folder()).constData(), 0755), 0);
    makeDatabase();
    const QString closed = path(QStringLiteral("closed/"));
    ASSERT_TRUE(QDir().mkpath(closed));
    ASSERT_TRUE(QFile::copy(db(), closed + QStringLiteral("zeltora.db")));
    // Nobody may enter the folder, and only the owner, root, may read the file.
    const QByteArray closedName = QFile::encodeName(closed);
    ASSERT_EQ(::chmod(closedName.constData(), 0), 0);
    const std::unique_ptr<const char, std::function<void(const char*)>> reopen(
        closedName.constData(), [](const char* name) { ::chmod(name, 0755); });
    ASSERT_EQ(::chmod(QFile::encodeName(db()).constData(), RunningAsRoot() ? 0600 : 0200), 0);
    const auto before = snapshot(folder());

    const TChildResult r = RunUnprivileged([&] {
        return QStringLiteral("%1 %2").arg(
            QLatin1String(stateName(CheckDatabaseFile(db()).State)),
            QLatin1String(
                stateName(CheckDatabaseFile(closed + QStringLiteral("zeltora.db")).State)));
    });
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.output, QStringLiteral("NoAccess NoAccess"));
    EXPECT_EQ(snapshot(folder()), before);
}

} // namespace
