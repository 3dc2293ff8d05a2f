#include "store/SQLiteORM.h"
#include "store/adddata.h"
#include "store/demodata.h"
#include "store/sqlitedb.h"

#include "tempfolder.h"

#include <QStringList>

namespace {

const QString kTime = QStringLiteral("1715058309");

class DemoDataTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        ASSERT_TRUE(AutoCreateTable(dbPath()));
    }

    // Answers the offer and records the questions asked.
    TConfirmFn answer(bool ok) {
        return [this, ok](const QString& q) {
            questions << q;
            return ok;
        };
    }

    int count(const QString& sql) {
        TSQLiteDatabase db(dbPath());
        return int(db.GetTable(sql)->FieldAsInteger(0));
    }

    void exec(const QString& sql) {
        TSQLiteDatabase db(dbPath());
        db.ExecSQL(sql);
    }

    QStringList questions;
};

TEST_F(DemoDataTest, AcceptedOfferAddsTwentyTablesAndTwentyDishes) {
    EXPECT_EQ(AddTestData(dbPath(), answer(true), kTime), QStringLiteral("测试数据添加完成！"));
    EXPECT_EQ(questions, QStringList({QStringLiteral(
                             "还没有桌位，是否添加数据体验？可一键删除,添加桌位后不再提示。")}));

    TSQLiteDatabase db(dbPath());
    auto desks = db.GetTable(QStringLiteral("SELECT title, bh, cid, sort, nums, price, stat, "
                                            "istest, addtime FROM zel_desk ORDER BY id"));
    ASSERT_EQ(desks->RowCount(), 20u);
    const QStringList first = {"桌位01", "01", "0", "1", "0", "0", "0", "1", kTime};
    for (int c = 0; c < first.size(); ++c)
        EXPECT_EQ(desks->FieldAsString(c), first[c]) << c;
    for (int i = 0; i < 9; ++i)
        desks->Next();
    EXPECT_EQ(desks->FieldAsString(0), QStringLiteral("桌位10"));
    EXPECT_EQ(desks->FieldAsString(1), QStringLiteral("10"));

    auto dishes =
        db.GetTable(QStringLiteral("SELECT title, price, cid, sort, titleen, stock, iszk, "
                                   "istest, stat, addtime FROM zel_caipin ORDER BY id"));
    ASSERT_EQ(dishes->RowCount(), 20u);
    const QStringList dish1 = {"乐山钵钵鸡", "58.8", "0", "1", "", "0", "1", "1", "0", kTime};
    for (int c = 0; c < dish1.size(); ++c)
        EXPECT_EQ(dishes->FieldAsString(c), dish1[c]) << c;
    for (int i = 0; i < 5; ++i)
        dishes->Next();
    EXPECT_EQ(dishes->FieldAsString(0), QStringLiteral("印象毛血旺(大份)"));
    EXPECT_EQ(dishes->FieldAsString(1), QStringLiteral("56"));
    // No category is made, so no dish points at one: a category the user
    // creates later holds only what is put in it.
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM zel_caipin WHERE cid=0")), 20);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM zel_caipin_class")), 0);
    EXPECT_EQ(CountTestDesks(dbPath()), 20);
}

TEST_F(DemoDataTest, CancelledOfferLeavesTheDatabaseEmptyAndComesBack) {
    EXPECT_EQ(AddTestData(dbPath(), answer(false), kTime), QStringLiteral("用户取消添加体验数据"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM zel_desk")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM zel_caipin")), 0);
    EXPECT_EQ(AddTestData(dbPath(), answer(false), kTime), QStringLiteral("用户取消添加体验数据"));
    EXPECT_EQ(questions.size(), 2);
}

TEST_F(DemoDataTest, AnyTableRowEvenDeletedStopsTheOffer) {
    exec(QStringLiteral("INSERT INTO zel_desk (title, deleted) VALUES ('old', 1)"));
    EXPECT_EQ(AddTestData(dbPath(), answer(true), kTime),
              QStringLiteral("系统中已存在基础数据（当前有 1 个桌位）"));
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(AddTestDeskData(dbPath(), kTime), QStringLiteral("数据库中已有 1 个桌位，无需添加"));
    EXPECT_EQ(CountTestDesks(dbPath()), 0);
}

TEST_F(DemoDataTest, ExistingDishesGetTablesOnly) {
    exec(QStringLiteral("INSERT INTO zel_caipin (title) VALUES ('自家菜')"));
    EXPECT_EQ(AddTestData(dbPath(), answer(true), kTime), QStringLiteral("测试数据添加完成！"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM zel_desk WHERE istest=1")), 20);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM zel_caipin")), 1);
    EXPECT_EQ(AddTestCaipinData(dbPath(), kTime), QStringLiteral("数据库中已有菜品数据，无需添加"));
}

TEST_F(DemoDataTest, FailedInsertStopsAndNamesTheRowRowsBeforeStay) {
    exec(QStringLiteral("CREATE TRIGGER no5 BEFORE INSERT ON zel_desk WHEN NEW.bh='05' "
                        "BEGIN SELECT RAISE(ABORT, 'no'); END"));
    EXPECT_EQ(AddTestData(dbPath(), answer(true), kTime),
              QStringLiteral("插入桌位数据失败: 桌位05"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM zel_desk")), 4);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM zel_caipin")), 0);

    exec(QStringLiteral("CREATE TRIGGER noshrimp BEFORE INSERT ON zel_caipin WHEN "
                        "NEW.title='香辣虾' BEGIN SELECT RAISE(ABORT, 'no'); END"));
    EXPECT_EQ(AddTestCaipinData(dbPath(), kTime), QStringLiteral("插入菜品数据失败: 香辣虾"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM zel_caipin")), 17);
}

TEST_F(DemoDataTest, UnopenableFileGivesThePrefixedMessages) {
    const QString bad = folder() + QStringLiteral("no/such/folder/zeltora.db");
    EXPECT_TRUE(
        AddTestData(bad, answer(true), kTime).startsWith(QStringLiteral("检查基础数据失败: ")));
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_TRUE(AddTestDeskData(bad, kTime).startsWith(QStringLiteral("添加桌位数据失败: ")));
    EXPECT_TRUE(AddTestCaipinData(bad, kTime).startsWith(QStringLiteral("添加测试数据失败: ")));
    EXPECT_THROW(CountTestDesks(bad), ESQLiteException);
    QString error;
    EXPECT_FALSE(DeleteTestData(bad, error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(DemoDataTest, DeleteRemovesOnlyDemoRowsAndLeavesReferences) {
    ASSERT_EQ(AddTestData(dbPath(), answer(true), kTime), QStringLiteral("测试数据添加完成！"));
    exec(QStringLiteral("INSERT INTO zel_desk (title, istest) VALUES ('mine', 0)"));
    exec(QStringLiteral("INSERT INTO zel_orders_detail (deskid, caipinid) VALUES (3, 4)"));
    exec(QStringLiteral("INSERT INTO zel_cart (deskid, caipinid) VALUES (3, 4)"));

    QString error;
    EXPECT_TRUE(DeleteTestData(dbPath(), error)) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM zel_desk")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM zel_caipin")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM zel_orders_detail WHERE deskid=3 AND "
                                   "caipinid=4")),
              1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM zel_cart WHERE deskid=3")), 1);
    // Nothing left to delete is still a success.
    EXPECT_TRUE(DeleteTestData(dbPath(), error));
}

TEST_F(DemoDataTest, FailedDeleteSaysWhichTableAndWhy) {
    ASSERT_EQ(AddTestData(dbPath(), answer(true), kTime), QStringLiteral("测试数据添加完成！"));
    exec(QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON zel_caipin "
                        "BEGIN SELECT RAISE(ABORT, 'kept'); END"));
    QString error;
    EXPECT_FALSE(DeleteTestData(dbPath(), error));
    EXPECT_TRUE(error.contains(QStringLiteral("zel_caipin"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("kept")));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM zel_desk")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM zel_caipin")), 20);
}

} // namespace
