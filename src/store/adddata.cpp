#include "store/adddata.h"

#include "store/sqlitedb.h"

#include <memory>

namespace {

struct IndexDef {
    const char* name;
    const char* column;
};

struct TableDef {
    const char* name;
    const char* statement;
    std::initializer_list<IndexDef> indexes;
};

// Tables in the order of creation, each followed by its indexes.
const TableDef kTables[] = {
    {"zel_admin",
     "CREATE TABLE zel_admin ([id] INTEGER PRIMARY KEY,[username] VARCHAR(100),[rndstr] "
     "VARCHAR(20),[encmd5] VARCHAR(40),[truename] VARCHAR(100),[tid] INTEGER DEFAULT 1,[isjob] "
     "INTEGER DEFAULT 0,[addtime] integer);",
     {{"zel_admin_username", "username"}}},
    {"zel_member",
     "CREATE TABLE zel_member ([id] INTEGER PRIMARY KEY,[mobile] VARCHAR(20),[truename] "
     "VARCHAR(100),[stat] INTEGER DEFAULT 0,[zekou] INTEGER DEFAULT 1000,[balance] REAL DEFAULT "
     "0,[addtime] integer,[uptime] INTEGER DEFAULT 0);",
     {{"zel_member_mobile", "mobile"},
      {"zel_member_truename", "truename"},
      {"zel_member_stat", "stat"}}},
    {"zel_orders_detail",
     "CREATE TABLE zel_orders_detail ([id] INTEGER PRIMARY KEY,[title] VARCHAR(255),[deskid] "
     "INTEGER DEFAULT 0,[oneprice] REAL DEFAULT 0,[quantity] REAL DEFAULT 1,[skuid] INTEGER "
     "DEFAULT 0,[caipinid] INTEGER DEFAULT 0,[price] REAL DEFAULT 0.00,[stat] INTEGER DEFAULT "
     "0,[iscal] INTEGER DEFAULT 0,[sku] VARCHAR(250),[yj] VARCHAR(50),[fwy] "
     "VARCHAR(50),[ydtruename] VARCHAR(100),[addtime] integer,[rootid] INTEGER DEFAULT "
     "0,[issettle] tinyint(1) DEFAULT 0,[paytime] DATETIME);",
     {{"orders_detail_stat", "stat"},
      {"orders_detail_deskid", "deskid"},
      {"orders_detail_addtime", "addtime"},
      {"orders_detail_skuid", "skuid"},
      {"orders_detail_caipinid", "caipinid"},
      {"orders_detail_issettle", "issettle"},
      {"orders_detail_rootid", "rootid"}}},
    {"zel_desk",
     "CREATE TABLE zel_desk ([id] INTEGER PRIMARY KEY,[title] VARCHAR(255),[bh] "
     "VARCHAR(50),[nums] INTEGER DEFAULT 0,[price] REAL DEFAULT 0.00,[cid] INTEGER DEFAULT "
     "0,[sort] INTEGER DEFAULT 0,[fwy] VARCHAR(50),[gldesk] VARCHAR(250),[yj] REAL DEFAULT "
     "0.00,[ydtruename] VARCHAR(250),[ydtel] VARCHAR(100),[istest] INTEGER DEFAULT 0,[stat] "
     "INTEGER DEFAULT 0,[deleted] tinyint(1) DEFAULT 0,[addtime] integer);",
     {{"desk_stat", "stat"},
      {"desk_bh", "bh"},
      {"desk_cid", "cid"},
      {"desk_sort", "sort"},
      {"desk_deleted", "deleted"}}},
    {"zel_desk_class",
     "CREATE TABLE zel_desk_class ([id] INTEGER PRIMARY KEY,[title] VARCHAR(255),[sort] INTEGER "
     "DEFAULT 0);",
     {{"desk_class_sort", "sort"}}},
    {"zel_orders",
     "CREATE TABLE zel_orders ([id] INTEGER PRIMARY KEY,[title] VARCHAR(255),[ordid] "
     "CHAR(50),[deskid] INTEGER DEFAULT 0,[allprice] REAL DEFAULT 0.00,[price] REAL DEFAULT "
     "0.00,[shishou] REAL DEFAULT 0.00,[zhaoling] REAL DEFAULT 0.00,[stat] INTEGER,[paytype] "
     "INTEGER DEFAULT 0,[nums] INTEGER DEFAULT 0,[fwy] CHAR(50),[ydtruename] CHAR(50),[ydtel] "
     "CHAR(50),[yj] VARCHAR(20),[bh] VARCHAR(50),[deleted] tinyint(1) DEFAULT 0,[addtime] "
     "integer);",
     {{"order_stat", "stat"},
      {"order_deskid", "deskid"},
      {"order_addtime", "addtime"},
      {"order_ordid", "ordid"},
      {"order_deleted", "deleted"}}},
    {"zel_caipin",
     "CREATE TABLE zel_caipin ([id] INTEGER PRIMARY KEY,[title] VARCHAR(255),[titleen] "
     "VARCHAR(255),[price] REAL DEFAULT 0.00,[stock] INTEGER DEFAULT 0,[sort] INTEGER DEFAULT "
     "0,[cid] INTEGER DEFAULT 0,[addtime] integer,[istest] INTEGER DEFAULT 0,[stat] INTEGER "
     "DEFAULT 0,[iszk] INTEGER DEFAULT 1,[deleted] tinyint(1) DEFAULT 0,[issku] tinyint(1) "
     "DEFAULT 0,[skuidstr] VARCHAR(250));",
     {{"caipin_stat", "stat"},
      {"caipin_cid", "cid"},
      {"caipin_sort", "sort"},
      {"caipin_iszk", "iszk"},
      {"caipin_titleen", "titleen"},
      {"caipin_deleted", "deleted"}}},
    {"zel_caipin_sku",
     "CREATE TABLE zel_caipin_sku ([id] INTEGER PRIMARY KEY,[title] VARCHAR(255),[price] REAL "
     "DEFAULT 0.00,[rootid] INTEGER DEFAULT 0,[deleted] tinyint(1) DEFAULT 0);",
     {{"caipin_sku_rootid", "rootid"}, {"caipin_sku_deleted", "deleted"}}},
    {"zel_caipin_class",
     "CREATE TABLE zel_caipin_class ([id] INTEGER PRIMARY KEY,[title] VARCHAR(255),[sort] "
     "INTEGER DEFAULT 0);",
     {{"caipin_class_sort", "sort"}}},
    {"zel_cart",
     "CREATE TABLE zel_cart ([id] INTEGER PRIMARY KEY,[caipinid] INTEGER DEFAULT 0,[skuid] "
     "INTEGER DEFAULT 0,[deskid] INTEGER DEFAULT 0,[addtime] integer,[quantity] REAL DEFAULT 1);",
     {}},
    // The highest id ever handed out, by table, for tables whose ids must not
    // come back after a delete (rows elsewhere keep pointing at them).
    {"zel_idseq", "CREATE TABLE zel_idseq ([name] VARCHAR(50),[lastid] INTEGER DEFAULT 0);", {}},
};

// The basket indexes have always been written out in full rather than formatted.
const char* const kCartIndexes[] = {
    "CREATE INDEX IF NOT EXISTS cart_caipinid ON zel_cart([caipinid])",
    "CREATE INDEX IF NOT EXISTS cart_skuid ON zel_cart([skuid])",
    "CREATE INDEX IF NOT EXISTS cart_deskid ON zel_cart([deskid])",
};

} // namespace

void CreateTableIfNotExists(TSQLiteDatabase& db, const QString& name, const QString& statement) {
    if (!db.TableExists(name))
        db.ExecSQL(statement);
}

void CreateIndexIfNotExists(TSQLiteDatabase& db, const QString& index, const QString& table,
                            const QString& column) {
    db.ExecSQL(
        QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON [%2](%3);").arg(index, table, column));
}

bool AutoCreateTable(const QString& FileName) {
    std::unique_ptr<TSQLiteDatabase> db;
    try {
        db = std::make_unique<TSQLiteDatabase>(FileName);
    } catch (const ESQLiteException&) {
        return false;
    }
    try {
        TSQLiteTransaction transaction(*db);
        for (const TableDef& t : kTables) {
            const QString table = QString::fromLatin1(t.name);
            CreateTableIfNotExists(*db, table, QString::fromLatin1(t.statement));
            for (const IndexDef& i : t.indexes)
                CreateIndexIfNotExists(*db, QString::fromLatin1(i.name), table,
                                       QLatin1Char('[') + QLatin1String(i.column) +
                                           QLatin1Char(']'));
        }
        for (const char* sql : kCartIndexes)
            db->ExecSQL(QString::fromLatin1(sql));
        transaction.Commit();
        return true;
    } catch (const ESQLiteException&) {
        return false;
    }
}
