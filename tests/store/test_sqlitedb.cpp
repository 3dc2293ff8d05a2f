#include "store/decltype.h"
#include "store/sqlitedb.h"

#include "tempfolder.h"

#include <gmock/gmock.h>

using ::testing::HasSubstr;
using ::testing::StartsWith;

namespace {

// Runs fn and returns the message of the ESQLiteException it raised.
template <typename F> QString raisedMessage(F&& fn) {
    try {
        fn();
    } catch (const ESQLiteException& e) {
        return e.Message();
    }
    ADD_FAILURE() << "no ESQLiteException raised";
    return QString();
}

class SQLiteDbTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        db = std::make_unique<TSQLiteDatabase>(dbPath());
        db->ExecSQL(QStringLiteral("CREATE TABLE t ([id] INTEGER PRIMARY KEY, [price] REAL, "
                                   "[addtime] integer, [flag] tinyint(1), [name] VARCHAR(20))"));
    }
    std::unique_ptr<TSQLiteDatabase> db;
};

} // namespace

TEST_F(SQLiteDbTest, DeclaredTypesDecideHowColumnsRead) {
    db->ExecSQL(QStringLiteral(
        "INSERT INTO t (price, addtime, flag, name) VALUES (26.8, 1700000000123, 1, '面')"));
    auto t = db->GetTable(QStringLiteral("SELECT id, price, addtime, flag, name FROM t"));
    ASSERT_EQ(t->RowCount(), 1u);
    EXPECT_EQ(t->ColumnType(0), dtInt);
    EXPECT_EQ(t->ColumnType(1), dtNumeric);
    EXPECT_EQ(t->ColumnType(2), dtStr); // lower-case "integer" reads as text
    EXPECT_EQ(t->ColumnType(3), dtStr);
    EXPECT_EQ(t->FieldAsInteger(1), 26);
    EXPECT_DOUBLE_EQ(t->FieldAsDouble(1), 26.8);
    EXPECT_EQ(t->FieldAsString(1), QStringLiteral("26.8"));
    EXPECT_EQ(t->FieldAsString(2), QStringLiteral("1700000000123"));
    EXPECT_EQ(t->FieldAsString(4), QStringLiteral("面"));

    const QString msg = raisedMessage([&] { t->FieldAsInteger(2); });
    EXPECT_EQ(msg, QStringLiteral("字段 \"ADDTIME\" (索引: 2) 不是整数或数字类型。字段类型: 3, "
                                  "字段值: \"1700000000123\", SQL: 请检查调用的SQL语句"));
    const QString msg1 = raisedMessage([&] { t->FieldAsDouble(3); });
    EXPECT_EQ(msg1, QStringLiteral("字段 \"FLAG\" (索引: 3) 不是整数或数字类型1。字段类型: 3, "
                                   "字段值: \"1\", SQL: 请检查调用的SQL语句FLAG"));
}

TEST_F(SQLiteDbTest, RealValuesReadAsGeneralFormatText) {
    const std::pair<const char*, const char*> cases[] = {{"12", "12"},
                                                         {"0.1", "0.1"},
                                                         {"26.8", "26.8"},
                                                         {"-3.5", "-3.5"},
                                                         {"1e20", "1E20"},
                                                         {"0.00001", "1E-5"},
                                                         {"123456.789", "123456.789"}};
    for (const auto& [stored, text] : cases) {
        db->ExecSQL(QStringLiteral("DELETE FROM t"));
        db->ExecSQL(QStringLiteral("INSERT INTO t (price) VALUES (%1)").arg(QLatin1String(stored)));
        auto t = db->GetTable(QStringLiteral("SELECT price FROM t"));
        EXPECT_EQ(t->FieldAsString(0), QString::fromLatin1(text)) << stored;
    }
}

TEST_F(SQLiteDbTest, EmptyResultHasNoColumns) {
    auto t = db->GetTable(QStringLiteral("SELECT * FROM t"));
    EXPECT_EQ(t->RowCount(), 0u);
    EXPECT_EQ(t->ColCount(), 0u);
    EXPECT_TRUE(t->Eof());
    EXPECT_FALSE(t->Next());
    EXPECT_EQ(raisedMessage([&] { t->FieldIndex(QStringLiteral("price")); }),
              QStringLiteral("Field price Not found. Empty dataset"));
    EXPECT_EQ(raisedMessage([&] { t->FieldAsString(0); }),
              QStringLiteral("Table is at End of File"));
}

TEST_F(SQLiteDbTest, UntypedColumnsTakeTheFirstRowsStorageClass) {
    auto max = db->GetTable(QStringLiteral("SELECT MAX(price) FROM t"));
    ASSERT_EQ(max->RowCount(), 1u);
    EXPECT_TRUE(max->FieldIsNull(0));
    EXPECT_EQ(max->FieldAsInteger(0), 0);

    // NULL in the first row makes the whole column a null column.
    auto mixed = db->GetTable(QStringLiteral("SELECT NULL UNION ALL SELECT 5"));
    ASSERT_EQ(mixed->RowCount(), 2u);
    EXPECT_EQ(mixed->ColumnType(0), dtNull);
    ASSERT_TRUE(mixed->Next());
    EXPECT_EQ(mixed->FieldAsString(0), QString());
    EXPECT_THAT(raisedMessage([&] { mixed->FieldAsInteger(0); }).toStdString(),
                HasSubstr("不是整数或数字类型"));

    auto count = db->GetTable(QStringLiteral("SELECT COUNT(*), 1.5, 'x'"));
    EXPECT_EQ(count->ColumnType(0), dtInt);
    EXPECT_EQ(count->ColumnType(1), dtNumeric);
    EXPECT_EQ(count->ColumnType(2), dtStr);
}

TEST_F(SQLiteDbTest, FieldIndexIgnoresCaseAndTakesTheFirstOfTwins) {
    db->ExecSQL(QStringLiteral("INSERT INTO t (name) VALUES ('a')"));
    auto t = db->GetTable(QStringLiteral("SELECT id AS x, name AS X FROM t"));
    EXPECT_EQ(t->FieldIndex(QStringLiteral("x")), 0);
    EXPECT_EQ(t->Columns(1), QStringLiteral("X"));
    EXPECT_EQ(raisedMessage([&] { t->FieldIndex(QStringLiteral("nope")); }),
              QStringLiteral("Field not found in dataset: nope"));
}

TEST_F(SQLiteDbTest, ExecSQLRunsOnlyTheFirstStatement) {
    db->ExecSQL(QStringLiteral("INSERT INTO t (name) VALUES ('one'); DROP TABLE t;"));
    auto t = db->GetTable(QStringLiteral("SELECT name FROM t"));
    EXPECT_EQ(t->RowCount(), 1u);
}

TEST_F(SQLiteDbTest, FailuresCarryTheirMessages) {
    db->ExecSQL(QStringLiteral("INSERT INTO t (name) VALUES ('a')"));
    EXPECT_THAT(
        raisedMessage([&] { db->ExecSQL(QStringLiteral("SELECT * FROM t")); }).toStdString(),
        StartsWith("Error executing SQL statement"));
    EXPECT_EQ(raisedMessage([&] { db->ExecSQL(QStringLiteral("SELEC oops")); }),
              QStringLiteral("Error executing SQL.\rError [1]: SQL error or missing database.\r"
                             "\"SELEC oops\": near \"SELEC\": syntax error"));
    EXPECT_EQ(raisedMessage([&] { db->ExecSQL(QStringLiteral("  ")); }),
              QStringLiteral("Could not prepare SQL statement"));
    EXPECT_THAT(
        raisedMessage([&] { db->GetTable(QStringLiteral("SELECT * FROM nope")); }).toStdString(),
        StartsWith("Error executing SQL.\rError [1]"));
}

TEST(SQLiteErrorStrTest, KnownAndUnknownCodes) {
    EXPECT_EQ(SQLiteErrorStr(0), QStringLiteral("Successful result"));
    EXPECT_EQ(SQLiteErrorStr(19), QStringLiteral("Abort due to contraint violation"));
    EXPECT_EQ(SQLiteErrorStr(26), QStringLiteral("File opened that is not a database file"));
    EXPECT_EQ(SQLiteErrorStr(100), QStringLiteral("sqlite3_step() has another row ready"));
    EXPECT_EQ(SQLiteErrorStr(101), QStringLiteral("sqlite3_step() has finished executing"));
    EXPECT_EQ(SQLiteErrorStr(27), QStringLiteral("Unknown SQLite Error Code \"27\""));
    EXPECT_EQ(SQLiteErrorStr(-1), QStringLiteral("Unknown SQLite Error Code \"-1\""));
}

TEST_F(SQLiteDbTest, OpenFailureNamesTheFile) {
    const QString bad = folder() + QStringLiteral("missing/dir/zeltora.db");
    EXPECT_EQ(
        raisedMessage([&] { TSQLiteDatabase other(bad); }),
        QStringLiteral("Failed to open database \"%1\" : unable to open database file").arg(bad));
}

TEST_F(SQLiteDbTest, TransactionsDoNotNestAndRollBackOnDestroy) {
    db->BeginTransaction();
    EXPECT_EQ(raisedMessage([&] { db->BeginTransaction(); }),
              QStringLiteral("Transaction already open"));
    EXPECT_TRUE(db->InTransaction());
    db->ExecSQL(QStringLiteral("INSERT INTO t (name) VALUES ('kept')"));
    db->Commit();

    db->BeginTransaction();
    db->ExecSQL(QStringLiteral("INSERT INTO t (name) VALUES ('lost')"));
    db.reset();

    TSQLiteDatabase again(dbPath());
    auto t = again.GetTable(QStringLiteral("SELECT name FROM t"));
    ASSERT_EQ(t->RowCount(), 1u);
    EXPECT_EQ(t->FieldAsString(0), QStringLiteral("kept"));
}

// The guard: a failure unwinding through it rolls back and the original
// error reaches the caller, even when the rollback itself cannot run.
TEST_F(SQLiteDbTest, TransactionGuardRollsBackUnlessCommitted) {
    const auto names = [&] {
        auto t = db->GetTable(QStringLiteral("SELECT group_concat(name) FROM t"));
        return t->FieldAsString(0);
    };
    {
        TSQLiteTransaction transaction(*db);
        db->ExecSQL(QStringLiteral("INSERT INTO t (name) VALUES ('kept')"));
        transaction.Commit();
    }
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(raisedMessage([&] {
                  TSQLiteTransaction transaction(*db);
                  db->ExecSQL(QStringLiteral("INSERT INTO t (name) VALUES ('lost')"));
                  db->ExecSQL(QStringLiteral("INSERT INTO nowhere VALUES (1)"));
                  transaction.Commit();
              }).left(5),
              QStringLiteral("Error"));
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(names(), QStringLiteral("kept"));

    // Ended behind the guard's back: its destructor must not throw.
    EXPECT_NO_THROW({
        TSQLiteTransaction transaction(*db);
        db->ExecSQL(QStringLiteral("ROLLBACK"));
    });
    // A committed guard leaves later transactions of the connection alone.
    TSQLiteTransaction outer(*db);
    db->ExecSQL(QStringLiteral("INSERT INTO t (name) VALUES ('again')"));
    outer.Commit();
    EXPECT_EQ(names(), QStringLiteral("kept,again"));
}

TEST_F(SQLiteDbTest, TextCrossesConnectionsUnchanged) {
    const QString text = QStringLiteral("宫保鸡丁 'quoted' 🍜");
    QString escaped = text;
    escaped.replace(QLatin1Char('\''), QStringLiteral("''"));
    db->ExecSQL(QStringLiteral("INSERT INTO t (name) VALUES ('%1')").arg(escaped));
    EXPECT_EQ(db->GetLastInsertRowID(), 1);

    TSQLiteDatabase other(dbPath());
    auto t = other.GetTable(QStringLiteral("SELECT name FROM t WHERE id=1"));
    EXPECT_EQ(t->FieldAsString(0), text);
}

TEST_F(SQLiteDbTest, TableExistsIgnoresCase) {
    EXPECT_TRUE(db->TableExists(QStringLiteral("T")));
    EXPECT_FALSE(db->TableExists(QStringLiteral("zel_desk")));
}

TEST_F(SQLiteDbTest, LockedByAnotherConnectionFailsAtOnce) {
    TSQLiteDatabase other(dbPath());
    other.BeginTransaction();
    other.ExecSQL(QStringLiteral("INSERT INTO t (name) VALUES ('x')"));
    EXPECT_THAT(raisedMessage([&] {
                    db->ExecSQL(QStringLiteral("INSERT INTO t (name) VALUES ('y')"));
                }).toStdString(),
                HasSubstr("Error [5]: The database file is locked."));
    other.Rollback();
    db->ExecSQL(QStringLiteral("INSERT INTO t (name) VALUES ('y')"));
}

TEST(DeclaredTypesTest, FirstTypeWordAsWrittenPerColumn) {
    const auto types = ParseDeclaredTypes(
        "CREATE TABLE x ([id] INTEGER PRIMARY KEY, \"two words\" integer DEFAULT 0, `b` Real,"
        " plain text NOT NULL, -- a comment, with a comma\n c /* (x, y) */ int,"
        " d NUMERIC(10, 2) DEFAULT (1+2), CONSTRAINT pk UNIQUE (b, c), CHECK (c > 0))");
    EXPECT_EQ(types.value(QStringLiteral("id")), QByteArray("INTEGER"));
    EXPECT_EQ(types.value(QStringLiteral("two words")), QByteArray("integer"));
    EXPECT_EQ(types.value(QStringLiteral("b")), QByteArray("Real"));
    EXPECT_EQ(types.value(QStringLiteral("plain")), QByteArray("text"));
    EXPECT_EQ(types.value(QStringLiteral("c")), QByteArray("int"));
    EXPECT_EQ(types.value(QStringLiteral("d")), QByteArray("NUMERIC"));
    EXPECT_FALSE(types.contains(QStringLiteral("constraint")));
    EXPECT_FALSE(types.contains(QStringLiteral("check")));
    EXPECT_EQ(types.size(), 6);
}

TEST_F(SQLiteDbTest, TypingFollowsASchemaChangedByAnotherConnection) {
    db->ExecSQL(QStringLiteral("INSERT INTO t (addtime) VALUES (5)"));
    EXPECT_EQ(db->GetTable(QStringLiteral("SELECT addtime FROM t"))->ColumnType(0), dtStr);
    {
        TSQLiteDatabase other(dbPath());
        other.ExecSQL(QStringLiteral("DROP TABLE t"));
        other.ExecSQL(QStringLiteral("CREATE TABLE t ([addtime] INTEGER)"));
        other.ExecSQL(QStringLiteral("INSERT INTO t (addtime) VALUES (5)"));
    }
    auto t = db->GetTable(QStringLiteral("SELECT addtime FROM t"));
    EXPECT_EQ(t->ColumnType(0), dtInt);
    EXPECT_EQ(t->FieldAsInteger(0), 5);
    // Through a view the origin column's spelling still decides.
    db->ExecSQL(QStringLiteral("CREATE TABLE u ([v] real)"));
    db->ExecSQL(QStringLiteral("INSERT INTO u VALUES (1.5)"));
    db->ExecSQL(QStringLiteral("CREATE VIEW w AS SELECT v FROM u"));
    EXPECT_EQ(db->GetTable(QStringLiteral("SELECT v FROM w"))->ColumnType(0), dtStr);
}
