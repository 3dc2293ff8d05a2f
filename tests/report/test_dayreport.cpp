// The day report printed on the recording page device from a real database:
// which text lands in which row and column, and what stops a print.

#include "billing/printing/myprint.h"
#include "report/businessreport.h"
#include "report/dayreport.h"
#include "store/sqlitedb.h"

#include "../common/printqstring.h"
#include "reportfixture.h"

#include <gtest/gtest.h>

#include <QMap>

namespace {

// The recording device at 254 dpi: 1 cm = 100 px, so the receipt columns
// start at x 0, 310 and 420; a character at size 12 is 1.2 mm wide.
class DayReportTest : public ReportFixture {
protected:
    QString print(int dayStart = 0) {
        const TBusinessReport report =
            ReadBusinessReport(dbPath(), {QDate(2026, 12, 8), QDate(2026, 12, 9), dayStart});
        return PrintDayReport(device, TicketSettings(), report);
    }

    // The drawn rows top to bottom, each as "text@x" joined by " | ".
    QStringList rows() const {
        QMap<int, QStringList> byY;
        for (const auto& t : device.Texts)
            byY[t.y] << QStringLiteral("%1@%2").arg(t.text).arg(t.x);
        QStringList out;
        for (const QStringList& cells : byY)
            out << cells.join(QStringLiteral(" | "));
        return out;
    }

    // The rows from the one that starts with `first` up to the one that
    // starts with `last`, both included.
    QStringList rowsBetween(const QString& first, const QString& last) const {
        const QStringList all = rows();
        qsizetype from = -1;
        for (qsizetype i = 0; i < all.size(); ++i) {
            if (from < 0 && all[i].startsWith(first))
                from = i;
            if (from >= 0 && all[i].startsWith(last))
                return all.mid(from, i - from + 1);
        }
        return {};
    }
};

TEST_F(DayReportTest, FiguresOfTwoDaysLandInTheirRowsAndColumns) {
    TicketSettings().SetEdit(QStringLiteral("lab_shopname"), QStringLiteral("老王家常菜"));
    ASSERT_EQ(print(), printresult::Done());
    ASSERT_EQ(device.JobTitles.size(), 1);
    EXPECT_EQ(device.Selected, QStringLiteral("前台"));

    const QStringList all = rows();
    ASSERT_GE(all.size(), 3);
    EXPECT_TRUE(all[0].startsWith(QStringLiteral("老王家常菜@")));
    EXPECT_TRUE(all[1].startsWith(QStringLiteral("营业日报@")));
    EXPECT_EQ(all[2], QStringLiteral("日期：2026-12-08 至 2026-12-09@0"));
    EXPECT_EQ(rowsBetween(QStringLiteral("订单数"), QStringLiteral("人均消费")),
              QStringList({"订单数@0 | 6@310", "用餐人数@0 | 17@310", "营业额@0 | ￥427.90@310",
                           "单均消费@0 | ￥71.32@310", "人均消费@0 | ￥25.17@310"}));
    // Only the payment types that took orders, then their sum.
    EXPECT_EQ(rowsBetween(QStringLiteral("支付方式"), QStringLiteral("合计")),
              QStringList({"支付方式@0 | 笔数@310 | 金额@420", "微信支付@0 | 2@310 | 81.60@420",
                           "支付宝@0 | 1@310 | 64.00@420", "银行卡@0 | 1@310 | 164.80@420",
                           "现金@0 | 2@310 | 117.50@420", "合计@0 | 6@310 | 427.90@420"}));
    EXPECT_EQ(rowsBetween(QStringLiteral("以下不计入营业额"), QStringLiteral("删除订单")),
              QStringList({"以下不计入营业额@0", "退菜@0 | 1份@310 | 38.80@420",
                           "删除订单@0 | 1单@310 | 77.60@420"}));
    EXPECT_EQ(rowsBetween(QStringLiteral("销量前十"), QStringLiteral("酸辣土豆丝")),
              QStringList({"销量前十@0", "菜品@0 | 数量@310 | 金额@420",
                           "米饭@0 | 10@310 | 20.00@420", "印象毛血旺@0 | 4@310 | 242.00@420",
                           "宫保鸡丁@0 | 3@310 | 116.40@420", "酸辣土豆丝@0 | 3@310 | 49.50@420"}));
    EXPECT_EQ(all.last(), QStringLiteral("打印时间：2026-12-10 10:00@0"));
    // The business day starting at midnight needs no word.
    EXPECT_FALSE(device.DrawnTexts().join(QLatin1Char('\n')).contains(QStringLiteral("营业日自")));
    // The title alone is bold; nothing is struck through.
    for (const auto& t : device.Texts)
        EXPECT_EQ(t.style,
                  t.text == QStringLiteral("营业日报") ? TFontStyle::Bold : TFontStyle::Plain)
            << t.text.toStdString();
}

TEST_F(DayReportTest, ALaterDayStartIsStatedAndMovesTheNightToTheDayBefore) {
    ASSERT_EQ(print(2), printresult::Done());
    const QStringList all = rows();
    // Without a shop name the report opens with its title.
    ASSERT_GE(all.size(), 3);
    EXPECT_TRUE(all[0].startsWith(QStringLiteral("营业日报@")));
    EXPECT_EQ(all[2], QStringLiteral("营业日自 02:00 起@0"));
    // The order of 01:30 on 12-09 still counts, and the 10 o'clock order of
    // 12-10 is still out: the sums are the same.
    EXPECT_TRUE(all.contains(QStringLiteral("营业额@0 | ￥427.90@310")));
}

TEST_F(DayReportTest, ALongDishNameWrapsInsideItsColumnBesideItsFigures) {
    const QString name = QString(QStringLiteral("超长的招牌菜名")).repeated(9).left(60);
    db->ExecSQL(QStringLiteral("INSERT INTO zel_caipin (id, title, price, cid) VALUES (9, '%1', "
                               "1.5, 1)")
                    .arg(name));
    order(QStringLiteral("2026-12-09 13:00:00"), 7, 1, {{9, name, 1.5, 20}});
    ASSERT_EQ(print(), printresult::Done());

    // 25 characters fit before the quantity column at 31 mm.
    QStringList pieces;
    QList<int> ys;
    for (const auto& t : device.Texts) {
        if (name.contains(t.text) && t.text.size() > 2) {
            pieces << t.text;
            ys << t.y;
            EXPECT_EQ(t.x, 0);
        }
    }
    EXPECT_EQ(pieces, QStringList({name.left(25), name.mid(25, 25), name.mid(50)}));
    ASSERT_EQ(ys.size(), 3);
    EXPECT_EQ(ys[1] - ys[0], 50);
    EXPECT_EQ(ys[2] - ys[1], 50);
    EXPECT_TRUE(rows().contains(name.left(25) + QStringLiteral("@0 | 20@310 | 30.00@420")));
    // The last piece has its row to itself: the next dish starts below it.
    EXPECT_TRUE(rows().contains(name.mid(50) + QStringLiteral("@0")));
}

TEST_F(DayReportTest, AnEmptyDayPrintsZeroesAndNoPaymentOrDishRows) {
    const TBusinessReport report =
        ReadBusinessReport(dbPath(), {QDate(2026, 12, 1), QDate(2026, 12, 1), 0});
    ASSERT_EQ(PrintDayReport(device, TicketSettings(), report), printresult::Done());
    EXPECT_EQ(rowsBetween(QStringLiteral("支付方式"), QStringLiteral("合计")),
              QStringList({"支付方式@0 | 笔数@310 | 金额@420", "合计@0 | 0@310 | 0.00@420"}));
    EXPECT_EQ(rowsBetween(QStringLiteral("营业额"), QStringLiteral("人均消费")),
              QStringList(
                  {"营业额@0 | ￥0.00@310", "单均消费@0 | ￥0.00@310", "人均消费@0 | ￥0.00@310"}));
    const QStringList all = rows();
    const qsizetype heading = all.indexOf(QStringLiteral("菜品@0 | 数量@310 | 金额@420"));
    ASSERT_GE(heading, 0);
    EXPECT_TRUE(all[heading + 1].startsWith(QStringLiteral("---")));
}

TEST_F(DayReportTest, WhatStopsThePrintIsGivenBackAndNothingIsPrinted) {
    const struct {
        const char* key;
        const char* value;
        QString result;
    } cases[] = {
        {"kd_printname", "", printresult::NoPrinter()},
        {"kd_labedit_size", "0", printresult::BadFontSize()},
        {"kd_labedit_top", "abc", QStringLiteral("'abc' 不是有效的数字")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        TicketSettings().Reset();
        kd_printname = QStringLiteral("前台");
        device.JobTitles.clear();
        device.Texts.clear();
        if (QLatin1String(c.key) == QLatin1String("kd_printname"))
            kd_printname = QString::fromUtf8(c.value);
        else
            TicketSettings().SetEdit(QString::fromUtf8(c.key), QString::fromUtf8(c.value));
        EXPECT_EQ(print(), c.result);
        EXPECT_TRUE(device.JobTitles.isEmpty());
        EXPECT_TRUE(device.Texts.isEmpty());
    }
}

} // namespace
