// The table export written from a real database and read back as a
// spreadsheet would: encoding, line ends, quoting and every amount.

#include "report/businessreport.h"
#include "report/export/reportcsv.h"
#include "store/sqlitedb.h"

#include "../common/printqstring.h"
#include "reportcsvtable.h"
#include "reportfixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

class ReportCsvTest : public ReportFixture {
protected:
    static TReportPeriod period() { return {QDate(2026, 12, 8), QDate(2026, 12, 9), 0}; }

    QByteArray bytes(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // The order rows: those after the header row that starts with "编号".
    static Table orderRows(const Table& table) {
        for (qsizetype i = 0; i < table.size(); ++i) {
            if (!table[i].isEmpty() && table[i][0] == QStringLiteral("编号"))
                return table.mid(i + 1);
        }
        return {};
    }

    QString target() const { return path(QStringLiteral("营业统计.csv")); }
};

TEST_F(ReportCsvTest, FileNameNamesTheDaysOfThePeriod) {
    EXPECT_EQ(ReportFileName({QDate(2026, 12, 8), QDate(2026, 12, 9), 0}, QStringLiteral("csv")),
              QStringLiteral("营业统计_20261208-20261209.csv"));
    EXPECT_EQ(ReportFileName({QDate(2026, 12, 9), QDate(2026, 12, 9), 3}, QStringLiteral("xlsx")),
              QStringLiteral("营业统计_20261209.xlsx"));
}

TEST_F(ReportCsvTest, WrittenFiguresAndOrdersReadBackToTheCent) {
    WriteReportCsv(dbPath(), period(), target());
    const QByteArray data = bytes(target());
    ASSERT_TRUE(data.startsWith("\xEF\xBB\xBF"));
    // Every line ends with CRLF.
    EXPECT_TRUE(data.endsWith("\r\n"));
    EXPECT_EQ(data.count('\n'), data.count("\r\n"));

    const Table table = parseCsv(QString::fromUtf8(data.mid(3)));
    ASSERT_GE(table.size(), 16);
    EXPECT_EQ(table.mid(0, 7), Table({{"统计期间", "2026-12-08 至 2026-12-09"},
                                      {"营业日开始时间", "00:00"},
                                      {"订单数", "6"},
                                      {"用餐人数", "17"},
                                      {"营业额", "427.90"},
                                      {"单均消费", "71.32"},
                                      {"人均消费", "25.17"}}));
    EXPECT_EQ(table.mid(7, 9), Table({{"支付方式", "笔数", "金额"},
                                      {"微信支付", "2", "81.60"},
                                      {"支付宝", "1", "64.00"},
                                      {"银行卡", "1", "164.80"},
                                      {"现金", "2", "117.50"},
                                      {"充值卡", "0", "0.00"},
                                      {"余额扣款", "0", "0.00"},
                                      {"免单", "0", "0.00"},
                                      {"其它", "0", "0.00"}}));
    EXPECT_EQ(table.mid(16, 4), Table({{"不计入营业额", "数量", "金额"},
                                       {"退菜", "1", "38.80"},
                                       {"删除订单", "1", "77.60"},
                                       {""}}));
    EXPECT_EQ(table.value(20), QStringList({"编号", "订单号", "结算时间", "桌位号", "人数",
                                            "支付方式", "金额", "实收", "找零", "服务员", "状态"}));

    // The orders of 12-08 and 12-09 by settlement time, the deleted one marked;
    // the order before and the one after the period are not there.
    const Table orders = orderRows(table);
    ASSERT_EQ(orders.size(), 7);
    EXPECT_EQ(orders[0], QStringList({"2", "R2", "2026-12-08 11:20:05", "A01", "2", "微信支付",
                                      "42.80", "42.80", "0.00", "小王", "已结算"}));
    EXPECT_EQ(orders[3], QStringList({"5", "R5", "2026-12-08 20:30:00", "A01", "2", "微信支付",
                                      "77.60", "77.60", "0.00", "小王", "已删除"}));
    EXPECT_EQ(orders[6][2], QStringLiteral("2026-12-09 18:40:10"));
    int64_t settled = 0;
    QStringList times;
    for (const QStringList& o : orders) {
        ASSERT_EQ(o.size(), 11);
        times << o[2];
        if (o[10] == QStringLiteral("已结算"))
            settled += std::llround(o[6].toDouble() * 100);
    }
    EXPECT_EQ(settled, 42790);
    QStringList sorted = times;
    sorted.sort();
    EXPECT_EQ(times, sorted);
}

TEST_F(ReportCsvTest, TypedTextsRoundTripAndNeverRunAsFormulas) {
    const struct {
        QString typed;
        QString read; // the cell as a spreadsheet holds it
    } cases[] = {
        {QStringLiteral("A,\"1\""), QStringLiteral("A,\"1\"")},
        {QStringLiteral("=1+1"), QStringLiteral("'=1+1")},
        {QStringLiteral("+86"), QStringLiteral("'+86")},
        {QStringLiteral("-2"), QStringLiteral("'-2")},
        {QStringLiteral("@SUM(A1)"), QStringLiteral("'@SUM(A1)")},
        {QStringLiteral("=HYPERLINK(\"x\",\"y\")"), QStringLiteral("'=HYPERLINK(\"x\",\"y\")")},
        {QStringLiteral("大厅\r\n2号"), QStringLiteral("大厅\r\n2号")},
        {QStringLiteral("B=2"), QStringLiteral("B=2")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        TSQLiteORM orm(db.get(), QStringLiteral("zel_orders"));
        orm.Where(QStringLiteral("`id`=2"));
        ASSERT_TRUE(orm.Save({{QStringLiteral("bh"), c.typed}, {QStringLiteral("fwy"), c.typed}}));
        WriteReportCsv(dbPath(), period(), target());
        const Table orders = orderRows(parseCsv(QString::fromUtf8(bytes(target()).mid(3))));
        ASSERT_EQ(orders.size(), 7);
        EXPECT_EQ(orders[0].size(), 11);
        EXPECT_EQ(orders[0].value(3), c.read);
        EXPECT_EQ(orders[0].value(9), c.read);
        EXPECT_EQ(orders[0].value(10), QStringLiteral("已结算"));
    }
}

TEST_F(ReportCsvTest, AFailedExportLeavesNoFileAndKeepsAnOlderOne) {
    // A folder that is a file cannot be written, even by root.
    const QString blocked = dbPath() + QStringLiteral("/营业统计.csv");
    try {
        WriteReportCsv(dbPath(), period(), blocked);
        FAIL() << "no error";
    } catch (const EReportExportError& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("无法写入 ") + blocked))
            << e.Message().toStdString();
    }
    EXPECT_FALSE(QFile::exists(blocked));

    // A read that fails after the figures are written leaves the older file whole.
    QFile old(target());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("older");
    old.close();
    const QStringList before = QDir(folder()).entryList(QDir::Files);
    const QString notADatabase = path(QStringLiteral("junk.db"));
    QFile junk(notADatabase);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    EXPECT_THROW(WriteReportCsv(notADatabase, period(), target()), EReportExportError);
    EXPECT_EQ(bytes(target()), QByteArray("older"));
    QStringList after = QDir(folder()).entryList(QDir::Files);
    QStringList expected = before;
    expected << QStringLiteral("junk.db");
    after.sort();
    expected.sort();
    EXPECT_EQ(after, expected);
}

} // namespace
