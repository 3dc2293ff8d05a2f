#pragma once

// A schema'd database with one table and helpers to add lines and basket rows.

#include "store/SQLiteORM.h"
#include "store/adddata.h"

#include "tempfolder.h"

#include <memory>

class DeskFixture : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        ASSERT_TRUE(AutoCreateTable(dbPath()));
        db = std::make_unique<TSQLiteDatabase>(dbPath());
        db->ExecSQL(QStringLiteral("INSERT INTO zel_desk (id, title, bh, nums, price, stat, fwy, "
                                   "ydtruename, ydtel, yj) VALUES (1, '桌位01', 'A01', 4, 30, "
                                   "1, '小王', '张三', '138', 50)"));
    }

    // An open line of table 1; returns its id.
    int addLine(const QString& title, double oneprice, double quantity, int stat, int desk = 1,
                int issettle = 0) {
        TSQLiteORM orm(db.get(), QStringLiteral("zel_orders_detail"));
        return int(orm.AddAndGetID({{QStringLiteral("title"), title},
                                    {QStringLiteral("deskid"), desk},
                                    {QStringLiteral("oneprice"), oneprice},
                                    {QStringLiteral("quantity"), quantity},
                                    {QStringLiteral("price"), oneprice * quantity},
                                    {QStringLiteral("stat"), stat},
                                    {QStringLiteral("issettle"), issettle}}));
    }

    void addCart(int caipinid, double quantity, int desk = 1) {
        db->ExecSQL(QStringLiteral("INSERT INTO zel_cart (caipinid, deskid, quantity) VALUES "
                                   "(%1, %2, %3)")
                        .arg(caipinid)
                        .arg(desk)
                        .arg(quantity));
    }

    QString scalar(const QString& sql) {
        auto t = db->GetTable(sql);
        return t->RowCount() ? t->FieldAsString(0) : QStringLiteral("<none>");
    }

    std::unique_ptr<TSQLiteDatabase> db;
};
