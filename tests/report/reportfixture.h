#pragma once

// Two business days of settled orders with known sums, on 2026-12-08 and
// 2026-12-09, plus one order just before and one just after. The clock stands
// at 2026-12-10 10:00:00.
//
// In 2026-12-08 .. 2026-12-09 with the day starting at 0 o'clock:
//   orders 6, guests 17, takings 427.90 (71.32 per order, 25.17 per guest)
//   微信支付 2 / 81.60, 支付宝 1 / 64.00, 银行卡 1 / 164.80, 现金 2 / 117.50
//   returned 1 portion / 38.80; deleted 1 order / 77.60
//   by day 207.80, 220.10; by hour 1: 16.50, 11: 42.80, 12: 265.80,
//   18: 38.80, 19: 64.00
//   dishes: 米饭 10 / 20.00, 印象毛血旺 4 / 242.00 (one of them 大份),
//           宫保鸡丁 3 / 116.40, 酸辣土豆丝 3 / 49.50
// With the day starting at 2 o'clock the order of 01:30 on 2026-12-09 counts
// to 2026-12-08: by day 224.30, 203.60.

#include "deskenvironment.h"

#include <QDateTime>
#include <QList>

class ReportFixture : public DeskWindowEnvironment {
protected:
    struct Line {
        int caipinid;
        QString title;
        double oneprice;
        double quantity;
        int stat = 3; // served
    };

    void SetUp() override {
        DeskWindowEnvironment::SetUp();
        zclock::SetTestClock([] { return QDateTime(QDate(2026, 12, 10), QTime(10, 0)); });
        db->ExecSQL(QStringLiteral(
            "INSERT INTO zel_caipin (id, title, price, cid) VALUES (1, '宫保鸡丁', 38.8, 1), "
            "(2, '印象毛血旺', 58, 1), (3, '酸辣土豆丝', 16.5, 2), (4, '米饭', 2, 3)"));
        const Line rice2{4, QStringLiteral("米饭"), 2, 2};
        const Line chicken{1, QStringLiteral("宫保鸡丁"), 38.8, 1};
        order(QStringLiteral("2026-12-07 23:59:59"), 7, 1, {{4, QStringLiteral("米饭"), 2, 5}});
        order(QStringLiteral("2026-12-08 11:20:05"), 1, 2, {chicken, rice2});
        order(QStringLiteral("2026-12-08 12:45:30"), 7, 4,
              {{2, QStringLiteral("印象毛血旺(大份)"), 68, 1},
               {3, QStringLiteral("酸辣土豆丝"), 16.5, 2},
               {1, QStringLiteral("宫保鸡丁"), 38.8, 1, 7}});
        order(QStringLiteral("2026-12-08 19:10:00"), 3, 3,
              {{2, QStringLiteral("印象毛血旺"), 58, 1}, {4, QStringLiteral("米饭"), 2, 3}});
        order(QStringLiteral("2026-12-08 20:30:00"), 1, 2,
              {{1, QStringLiteral("宫保鸡丁"), 38.8, 2}}, true);
        order(QStringLiteral("2026-12-09 01:30:00"), 7, 2,
              {{3, QStringLiteral("酸辣土豆丝"), 16.5, 1}});
        order(
            QStringLiteral("2026-12-09 12:05:00"), 5, 5,
            {{2, QStringLiteral("印象毛血旺"), 58, 2}, chicken, {4, QStringLiteral("米饭"), 2, 5}});
        order(QStringLiteral("2026-12-09 18:40:10"), 1, 1, {chicken});
        order(QStringLiteral("2026-12-10 09:30:00"), 3, 2,
              {{3, QStringLiteral("酸辣土豆丝"), 16.5, 2}});
    }

    // A settled order with its lines; its price leaves returned lines out, as
    // settlement books it. Returns the order id.
    int64_t order(const QString& addtime, int paytype, int guests, const QList<Line>& lines,
                  bool deleted = false) {
        double price = 0;
        for (const Line& line : lines)
            if (line.stat != 7)
                price += line.oneprice * line.quantity;
        TSQLiteORM orders(db.get(), QStringLiteral("zel_orders"));
        const int64_t id = orders.AddAndGetID({
            {QStringLiteral("title"), addtime + QStringLiteral("结算订单")},
            {QStringLiteral("ordid"), QStringLiteral("R%1").arg(++FOrders)},
            {QStringLiteral("deskid"), 1},
            {QStringLiteral("price"), price},
            {QStringLiteral("allprice"), price},
            {QStringLiteral("shishou"), price},
            {QStringLiteral("stat"), 1},
            {QStringLiteral("paytype"), paytype},
            {QStringLiteral("nums"), guests},
            {QStringLiteral("bh"), QStringLiteral("A01")},
            {QStringLiteral("fwy"), QStringLiteral("小王")},
            {QStringLiteral("deleted"), deleted ? 1 : 0},
            {QStringLiteral("addtime"), addtime},
        });
        for (const Line& line : lines) {
            TSQLiteORM orm(db.get(), QStringLiteral("zel_orders_detail"));
            orm.AddAndGetID({{QStringLiteral("title"), line.title},
                             {QStringLiteral("deskid"), 1},
                             {QStringLiteral("caipinid"), line.caipinid},
                             {QStringLiteral("oneprice"), line.oneprice},
                             {QStringLiteral("quantity"), line.quantity},
                             {QStringLiteral("price"), line.oneprice * line.quantity},
                             {QStringLiteral("stat"), line.stat},
                             {QStringLiteral("rootid"), qlonglong(id)},
                             {QStringLiteral("issettle"), 1}});
        }
        return id;
    }

private:
    int FOrders = 0;
};
