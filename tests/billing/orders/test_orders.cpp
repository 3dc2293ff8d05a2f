// The order history without windows: the list of settled orders, its search
// and deletion, the reading of one order and its reprint.

#include "billing/orders/orderhistory.h"
#include "floor/lists/pagedlist.h"

#include "test_orders_fixture.h"

namespace {

class OrdersTest : public OrdersFixture {
protected:
    std::unique_ptr<TPagedList> open() {
        auto list = std::make_unique<TPagedList>(*db, OrdersListConfig(), sqlitename);
        list->InitializeORM();
        list->LoadData();
        return list;
    }

    static QStringList column(const TPagedList& list, int column) {
        QStringList out;
        for (const TListRow& row : list.Rows())
            out << row.texts.value(column);
        return out;
    }

    static QStringList ids(int from, int to) {
        QStringList out;
        for (int id = from; id >= to; --id)
            out << QString::number(id);
        return out;
    }
};

TEST_F(OrdersTest, FortyFiveOrdersMakeThreePagesNewestFirst) {
    settleMany(45);
    auto list = open();
    EXPECT_EQ(list->PageInfo(), QStringLiteral("共45条记录，1/3页"));
    EXPECT_EQ(column(*list, orderscolumn::Id), ids(45, 26));
    EXPECT_TRUE(list->PageSQL().endsWith(
        QStringLiteral(" FROM zel_orders WHERE `deleted`=0 ORDER BY `id` DESC LIMIT 20 OFFSET 0")))
        << list->PageSQL().toStdString();
    // The newest order was settled 44 minutes after the first.
    const TListRow& newest = list->Rows().first();
    EXPECT_EQ(newest.texts,
              (QStringList{QStringLiteral("45"), QStringLiteral("2026-12-09 18:44:00结算订单"),
                           QStringLiteral("￥30.00"), QStringLiteral("A01"),
                           QStringLiteral("2026-12-09 18:44:00")}));

    list->LastPage();
    EXPECT_EQ(list->PageInfo(), QStringLiteral("共45条记录，3/3页"));
    EXPECT_EQ(column(*list, orderscolumn::Id), ids(5, 1));
}

TEST_F(OrdersTest, AmountsAreTruncatedToTwoDecimals) {
    db->ExecSQL(QStringLiteral("INSERT INTO zel_orders (id, title, price, shishou, zhaoling, yj, "
                               "bh, deleted) VALUES (7, 't', 12.349, 100.009, 87.6699, '5.555', "
                               "'B2', 0)"));
    auto list = open();
    ASSERT_EQ(list->Rows().size(), 1);
    EXPECT_EQ(list->Rows().first().texts.value(orderscolumn::Price), QStringLiteral("￥12.34"));
    const TOrderDetail detail = ReadOrderDetail(*db, QStringLiteral("7"));
    EXPECT_EQ(detail.price, QStringLiteral("￥12.34"));
    EXPECT_EQ(detail.shishou, QStringLiteral("￥100.00"));
    EXPECT_EQ(detail.zhaoling, QStringLiteral("￥87.66"));
    EXPECT_EQ(detail.yj, QStringLiteral("￥5.555")); // the deposit as stored
}

TEST_F(OrdersTest, KeywordsSearchTheTitle) {
    settleMany(45);
    // 18:00 .. 18:44; order 45 deleted.
    db->ExecSQL(QStringLiteral("UPDATE zel_orders SET deleted=1 WHERE id=45"));
    const struct {
        const char* typed;
        const char* info;
        int newest; // id of the first row, 0 without rows
    } cases[] = {
        {"结算", "共44条记录，1/3页", 44},  {"18:3", "共10条记录，1/1页", 40},
        {"18:'3", "共10条记录，1/1页", 40}, // the apostrophe is dropped
        {"'18:4'", "共4条记录，1/1页", 44}, // 18:44 is deleted
        {" ' ", "共44条记录，1/3页", 44},   {"2026-12-09 18:05", "共1条记录，1/1页", 6},
        {"退款", "共0条记录，1/0页", 0},
    };
    auto list = open();
    for (const auto& c : cases) {
        list->Search(QString::fromUtf8(c.typed));
        EXPECT_EQ(list->PageInfo(), QString::fromUtf8(c.info)) << c.typed;
        EXPECT_EQ(list->Rows().isEmpty() ? 0 : list->Rows().first().id.toInt(), c.newest)
            << c.typed;
    }
    EXPECT_EQ(list->Condition(), QStringLiteral("`deleted`=0 AND `title` LIKE '%退款%'"));
}

TEST_F(OrdersTest, DeletingAnOrderKeepsItsLinesSettled) {
    const int64_t kept = settle({{QStringLiteral("宫保鸡丁"), 30, 1, 3, QString()}});
    const int64_t gone = settle({{QStringLiteral("鱼香肉丝"), 12, 2, 3, QString()},
                                 {QStringLiteral("米饭"), 2, 1, 7, QString()}});
    auto list = open();
    EXPECT_EQ(list->PageInfo(), QStringLiteral("共2条记录，1/1页"));

    EXPECT_FALSE(list->DeleteItem(QStringLiteral("2 OR 1=1")));
    EXPECT_EQ(scalar(QStringLiteral("SELECT SUM(deleted) FROM zel_orders")), QStringLiteral("0"));

    EXPECT_TRUE(list->DeleteItem(QString::number(gone)));
    list->LoadData();
    EXPECT_EQ(list->PageInfo(), QStringLiteral("共1条记录，1/1页"));
    EXPECT_EQ(column(*list, orderscolumn::Id), QStringList{QString::number(kept)});
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(id || ':' || deleted) FROM zel_orders")),
              QStringLiteral("1:0,2:1"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(issettle || ':' || rootid) FROM "
                                    "zel_orders_detail")),
              QStringLiteral("1:1,1:2,1:2"));
    // The deleted order is not found by a search either.
    list->Search(QStringLiteral("结算"));
    EXPECT_EQ(list->PageInfo(), QStringLiteral("共1条记录，1/1页"));
}

TEST_F(OrdersTest, AFailedDeleteRaisesItsReason) {
    settleMany(1);
    db->ExecSQL(QStringLiteral("CREATE TRIGGER keep BEFORE UPDATE ON zel_orders BEGIN SELECT "
                               "RAISE(ABORT, '订单已锁定'); END"));
    auto list = open();
    try {
        list->DeleteItem(QStringLiteral("1"));
        ADD_FAILURE() << "reported as deleted";
    } catch (const std::exception& e) {
        const QString message = QString::fromUtf8(e.what());
        EXPECT_TRUE(message.startsWith(QStringLiteral("删除失败: "))) << e.what();
        EXPECT_TRUE(message.contains(QStringLiteral("订单已锁定"))) << e.what();
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT deleted FROM zel_orders")), QStringLiteral("0"));
}

TEST_F(OrdersTest, DetailsOfAnOrderWithAReturnedLine) {
    settleMany(1);
    const int64_t id = settle({{QStringLiteral("鱼香肉丝"), 12.5, 2, 3, QStringLiteral("大份")},
                               {QStringLiteral("米饭"), 2, 1, 7, QString()},
                               {QStringLiteral("可乐"), 4.5, 1, 0, QString()}},
                              QStringLiteral("100"));
    const TOrderDetail d = ReadOrderDetail(*db, QString::number(id));
    ASSERT_TRUE(d.found);
    EXPECT_EQ(d.title, QStringLiteral("2026-12-09 18:01:00结算订单"));
    EXPECT_EQ(d.ordid, QStringLiteral("2")); // the row id the list shows as 编号
    // The returned line is linked to the order but not paid for.
    EXPECT_EQ(d.price, QStringLiteral("￥29.50"));
    EXPECT_EQ(d.shishou, QStringLiteral("￥100.00"));
    EXPECT_EQ(d.zhaoling, QStringLiteral("￥70.50"));
    EXPECT_EQ(d.addtime, QStringLiteral("2026-12-09 18:01:00"));
    EXPECT_EQ(d.bh, QStringLiteral("A01"));
    EXPECT_EQ(d.nums, QStringLiteral("3"));
    EXPECT_EQ(d.yj, QStringLiteral("￥50.5"));
    EXPECT_EQ(d.ydtel, QStringLiteral("13800000000"));
    EXPECT_EQ(d.ydtruename, QStringLiteral("张三"));
    EXPECT_EQ(d.fwy, QStringLiteral("小王"));
    ASSERT_EQ(d.lines.size(), 3);
    const auto text = [](const TOrderDetailLine& l) {
        return QStringList{l.title, l.oneprice, l.quantity, l.price, l.sku}.join(QLatin1Char('|'));
    };
    EXPECT_EQ(text(d.lines[0]), QStringLiteral("鱼香肉丝|￥12.50|2|￥25.00|大份"));
    EXPECT_EQ(text(d.lines[1]), QStringLiteral("米饭|￥2.00|1|￥2.00|"));
    EXPECT_EQ(text(d.lines[2]), QStringLiteral("可乐|￥4.50|1|￥4.50|"));
    EXPECT_FALSE(d.lines[0].returned);
    EXPECT_TRUE(d.lines[1].returned);
    EXPECT_FALSE(d.lines[2].returned);
}

TEST_F(OrdersTest, AnOrderThatIsNotThereIsNotFound) {
    settleMany(1);
    for (const char* id : {"9", "1 OR 1=1", ""}) {
        const TOrderDetail d = ReadOrderDetail(*db, QString::fromLatin1(id));
        EXPECT_FALSE(d.found) << id;
        EXPECT_TRUE(d.lines.isEmpty()) << id;
        EXPECT_TRUE(d.title.isEmpty()) << id;
    }
}

TEST_F(OrdersTest, ReprintStrikesTheReturnedLineAndLeavesItOutOfTheTotal) {
    const int64_t id = settle({{QStringLiteral("鱼香肉丝"), 12.5, 2, 3, QString()},
                               {QStringLiteral("米饭"), 2, 1, 7, QString()}});
    settleMany(1); // another order's lines stay off this receipt
    const QString result =
        ReprintOrder(device, TicketSettings(), *db, QString::number(id), QStringLiteral("A01"));
    EXPECT_EQ(result, QStringLiteral("打印完成"));
    EXPECT_EQ(device.JobsEnded, 1);
    EXPECT_EQ(device.Selected, QStringLiteral("前台"));
    QStringList struck;
    QStringList plainLines;
    for (const auto& t : device.Texts) {
        if (t.style == TFontStyle::StrikeOut)
            struck << t.text;
        else if (t.text == QStringLiteral("鱼香肉丝") || t.text == QStringLiteral("宫保鸡丁"))
            plainLines << t.text;
    }
    EXPECT_EQ(struck,
              (QStringList{QStringLiteral("米饭"), QStringLiteral("1"), QStringLiteral("2.00")}));
    EXPECT_EQ(plainLines, QStringList{QStringLiteral("鱼香肉丝")});
    const QStringList drawn = device.DrawnTexts();
    EXPECT_TRUE(drawn.contains(QStringLiteral("合计：￥25.00")))
        << drawn.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(drawn.contains(QStringLiteral("桌位号：A01")))
        << drawn.join(QLatin1Char('|')).toStdString();
}

TEST_F(OrdersTest, ReprintWithoutAPrinterSaysSo) {
    const int64_t id = settle({{QStringLiteral("鱼香肉丝"), 12.5, 2, 3, QString()}});
    kd_printname.clear();
    EXPECT_EQ(ReprintOrder(QString::number(id), QStringLiteral("A01")),
              QStringLiteral("请先设置打印机"));
    EXPECT_EQ(device.JobsEnded, 0);
    EXPECT_TRUE(device.Texts.isEmpty());
}

TEST(OrdersHitTest, DetailPrintAndDeleteCells) {
    const TListConfig config = OrdersListConfig();
    QList<int> widths;
    for (const TListColumn& column : config.columns)
        widths << column.width;
    // 编号 60, 订单名称 70, 金额 90, 桌位号 80, 结算时间 140 | 详情 440..490 | 打印 490..540 | 删除
    const struct {
        int x;
        TListCell cell;
    } cases[] = {
        {5, TListCell::Text},         {440, TListCell::Text},       {441, TListCell::DetailIcon},
        {489, TListCell::DetailIcon}, {490, TListCell::Text},       {491, TListCell::PrintIcon},
        {539, TListCell::PrintIcon},  {540, TListCell::Text},       {541, TListCell::DeleteIcon},
        {589, TListCell::DeleteIcon}, {900, TListCell::DeleteIcon},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HitListCell(config.columns, widths, c.x), c.cell) << c.x;
}

} // namespace
