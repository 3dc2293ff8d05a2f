#include "store/adddata.h"
#include "store/sqlitedb.h"

#include "tempfolder.h"

#include <QStringList>

namespace {

const QStringList kTables = {QStringLiteral("zel_admin"),         QStringLiteral("zel_member"),
                             QStringLiteral("zel_orders_detail"), QStringLiteral("zel_desk"),
                             QStringLiteral("zel_desk_class"),    QStringLiteral("zel_orders"),
                             QStringLiteral("zel_caipin"),        QStringLiteral("zel_caipin_sku"),
                             QStringLiteral("zel_caipin_class"),  QStringLiteral("zel_cart"),
                             QStringLiteral("zel_idseq")};

QStringList names(TSQLiteDatabase& db, const char* type) {
    auto t = db.GetTable(QStringLiteral("SELECT name FROM sqlite_master WHERE type='%1' AND name "
                                        "NOT LIKE 'sqlite_%' ORDER BY rowid")
                             .arg(QLatin1String(type)));
    QStringList out;
    for (; !t->Eof(); t->Next())
        out << t->FieldAsString(0);
    return out;
}

class SchemaTest : public TempFolderTest {};

} // namespace

TEST_F(SchemaTest, NewFileGetsEveryTableAndIndex) {
    ASSERT_TRUE(AutoCreateTable(dbPath()));
    TSQLiteDatabase db(dbPath());
    EXPECT_EQ(names(db, "table"), kTables);
    const QStringList indexes = names(db, "index");
    EXPECT_EQ(indexes.size(), 34);
    EXPECT_EQ(indexes.first(), QStringLiteral("zel_admin_username"));
    EXPECT_EQ(indexes.last(), QStringLiteral("cart_deskid"));

    auto sql = db.GetTable(QStringLiteral("SELECT sql FROM sqlite_master WHERE name='desk_bh'"));
    EXPECT_EQ(sql->FieldAsString(0), QStringLiteral("CREATE INDEX desk_bh ON [zel_desk]([bh])"));

    // Running again changes nothing and still succeeds.
    EXPECT_TRUE(AutoCreateTable(dbPath()));
    EXPECT_EQ(names(db, "index").size(), 34);
}

TEST_F(SchemaTest, ExistingTablesKeepTheirShapeAndGainMissingIndexes) {
    {
        TSQLiteDatabase db(dbPath());
        // Older shape, different letter case: counts as existing and is not altered.
        db.ExecSQL(QStringLiteral("CREATE TABLE ZEL_DESK ([id] INTEGER PRIMARY KEY, [bh] TEXT, "
                                  "[cid] INTEGER, [sort] INTEGER, [stat] INTEGER, [deleted] "
                                  "INTEGER)"));
        db.ExecSQL(QStringLiteral("INSERT INTO ZEL_DESK (bh) VALUES ('A1')"));
    }
    ASSERT_TRUE(AutoCreateTable(dbPath()));
    TSQLiteDatabase db(dbPath());
    EXPECT_EQ(names(db, "table").size(), 11);
    EXPECT_EQ(names(db, "index").size(), 34);
    auto cols = db.GetTable(QStringLiteral("PRAGMA table_info(zel_desk)"));
    EXPECT_EQ(cols->RowCount(), 6u);
    auto rows = db.GetTable(QStringLiteral("SELECT bh FROM zel_desk"));
    EXPECT_EQ(rows->FieldAsString(0), QStringLiteral("A1"));
}

TEST_F(SchemaTest, AnyFailureLeavesNothingBehind) {
    {
        TSQLiteDatabase db(dbPath());
        // A view holding the last table's name makes its CREATE TABLE fail.
        db.ExecSQL(QStringLiteral("CREATE VIEW zel_cart AS SELECT 1 AS x"));
    }
    EXPECT_FALSE(AutoCreateTable(dbPath()));
    TSQLiteDatabase db(dbPath());
    EXPECT_TRUE(names(db, "table").isEmpty());
    EXPECT_TRUE(names(db, "index").isEmpty());
}

TEST_F(SchemaTest, UnopenableFileReportsFalse) {
    EXPECT_FALSE(AutoCreateTable(folder() + QStringLiteral("no/such/folder/zeltora.db")));
}
