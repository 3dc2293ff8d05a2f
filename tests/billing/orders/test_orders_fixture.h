#pragma once

// A database with table 1 ("A01") where orders are settled as the table window
// settles them, one minute apart, with the recording printer and messenger
// installed and both printers set.

#include "billing/table/bill/settlement.h"

#include "deskenvironment.h"

#include <tuple>

class OrdersFixture : public DeskWindowEnvironment {
protected:
    struct Line {
        QString title;
        double oneprice;
        double quantity;
        int stat;
        QString sku;
    };

    void SetUp() override {
        DeskWindowEnvironment::SetUp();
        zclock::SetTestClock([this] { return now; });
    }

    // Settles lines on table 1 the way the table window does; returns the new
    // order's id. The clock then moves on one minute.
    int64_t settle(const QList<Line>& lines, const QString& shishou = QStringLiteral("200")) {
        TSettleInput input;
        input.DeskID = 1;
        input.Deskbh = QStringLiteral("A01");
        input.Desktitle = QStringLiteral("桌位01");
        for (const Line& line : lines) {
            const int id = addLine(line.title, line.oneprice, line.quantity, line.stat);
            if (!line.sku.isEmpty())
                db->ExecSQL(QStringLiteral("UPDATE zel_orders_detail SET sku='%1' WHERE id=%2")
                                .arg(line.sku)
                                .arg(id));
            input.Lines.append(
                {id, QString::number(line.oneprice * line.quantity, 'f', 2), line.stat});
        }
        input.PayType = 7;
        input.Shishou = shishou;
        const TSettlePlan plan = PlanSettlement(input);
        input.Zhaoling = QString::number(shishou.toDouble() - plan.Total, 'f', 2);
        input.Nums = QStringLiteral("3");
        input.Yj = QStringLiteral("50.5");
        input.Fwy = QStringLiteral("小王");
        input.Ydtruename = QStringLiteral("张三");
        input.Ydtel = QStringLiteral("13800000000");
        const int64_t id = Settle(dbPath(), input, plan).OrderID;
        now = now.addSecs(60);
        return id;
    }

    // n orders of one dish each, the first settled at 18:00:00.
    void settleMany(int n) {
        for (int i = 0; i < n; ++i)
            settle({{QStringLiteral("宫保鸡丁"), 30, 1, 3, QString()}});
    }

    QDateTime now{QDate(2026, 12, 9), QTime(18, 0, 0)};
};
