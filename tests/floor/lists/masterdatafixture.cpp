#include "masterdatafixture.h"

#include "common/appvalues.h"
#include "store/SQLiteORM.h"
#include "store/adddata.h"

void MasterDataTest::SetUp() {
    TempFolderTest::SetUp();
    softpath = folder();
    sqlitename = dbPath();
    ASSERT_TRUE(AutoCreateTable(sqlitename));
    db = std::make_unique<TSQLiteDatabase>(sqlitename);
    SetMessenger(&messages);
}

void MasterDataTest::TearDown() {
    SetMessenger(nullptr);
    db.reset();
}

void MasterDataTest::exec(const QString& sql) {
    db->ExecSQL(sql);
}

QString MasterDataTest::scalar(const QString& sql) {
    auto t = db->GetTable(sql);
    return t->RowCount() ? t->FieldAsString(0) : QStringLiteral("<none>");
}

int MasterDataTest::addDish(const QString& title, double price, int sort, int cid, int deleted) {
    TSQLiteORM orm(db.get(), QStringLiteral("zel_caipin"));
    const int64_t id = orm.AddAndGetID({{QStringLiteral("title"), title},
                                        {QStringLiteral("price"), price},
                                        {QStringLiteral("sort"), sort},
                                        {QStringLiteral("cid"), cid},
                                        {QStringLiteral("deleted"), deleted}});
    EXPECT_GT(id, 0) << orm.LastError().toStdString();
    return int(id);
}

int MasterDataTest::addCategory(const QString& title, int sort) {
    TSQLiteORM orm(db.get(), QStringLiteral("zel_caipin_class"));
    const int64_t id =
        orm.AddAndGetID({{QStringLiteral("title"), title}, {QStringLiteral("sort"), sort}});
    EXPECT_GT(id, 0) << orm.LastError().toStdString();
    return int(id);
}
