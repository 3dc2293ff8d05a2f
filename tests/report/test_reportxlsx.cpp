// The table export as an Excel workbook, unzipped and read back as a
// spreadsheet reads it: order numbers and codes are text, money is a number
// with two decimals, times are dates; the rows are those of the CSV, and a
// failed export leaves no file.

#include "report/export/reportcsv.h"
#include "report/export/reportexport.h"
#include "report/export/reportxlsx.h"
#include "store/sqlitedb.h"

#include "../common/printqstring.h"
#include "reportcsvtable.h"
#include "reportfixture.h"
#include "reportxlsxsheet.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

class ReportXlsxTest : public ReportFixture {
protected:
    static TReportPeriod period() { return {QDate(2026, 12, 8), QDate(2026, 12, 9), 0}; }
    QString target() const { return path(QStringLiteral("营业统计.xlsx")); }

    // The row of the order numbered `ordid`, from the first column on.
    static QList<TXlsxCell> orderRow(const TXlsxSheet& sheet, const QString& ordid) {
        for (const QList<TXlsxCell>& row : sheet.Rows())
            if (row.size() > 1 && row[1].Value == ordid)
                return row;
        return {};
    }

    static QStringList leftovers() {
        return QDir::temp().entryList({QStringLiteral("zeltora-report-*")}, QDir::Files);
    }
};

TEST_F(ReportXlsxTest, CodesAreTextMoneyHasTwoDecimalsAndTimesAreDates) {
    TSQLiteORM orm(db.get(), QStringLiteral("zel_orders"));
    orm.Where(QStringLiteral("`id`=2"));
    ASSERT_TRUE(orm.Save({{QStringLiteral("ordid"), QStringLiteral("20261208112005123")},
                          {QStringLiteral("bh"), QStringLiteral("007")},
                          {QStringLiteral("fwy"), QStringLiteral("=1+1")}}));
    const TBusinessReport r = WriteReportXlsx(dbPath(), period(), target());
    EXPECT_EQ(r.Orders, 6);
    const TXlsxSheet sheet(target());
    ASSERT_TRUE(sheet.Ok());

    const QList<TXlsxCell> row = orderRow(sheet, QStringLiteral("20261208112005123"));
    ASSERT_EQ(row.size(), 11);
    EXPECT_TRUE(row[1].IsText()) << row[1].Type.toStdString();
    EXPECT_TRUE(row[3].IsText()) << row[3].Type.toStdString();
    EXPECT_EQ(row[3].Value, QStringLiteral("007"));
    // A typed text is a string cell, never a formula, and needs no mark.
    EXPECT_TRUE(row[9].IsText());
    EXPECT_EQ(row[9].Value, QStringLiteral("=1+1"));
    // The id and the guests are plain numbers.
    EXPECT_TRUE(row[0].IsNumber());
    EXPECT_EQ(row[0].Value, QStringLiteral("2"));
    EXPECT_TRUE(row[4].IsNumber());
    EXPECT_EQ(row[4].Value, QStringLiteral("2"));
    // Amount, received, change.
    for (const int col : {6, 7, 8}) {
        SCOPED_TRACE(col);
        EXPECT_TRUE(row[col].IsNumber());
        EXPECT_EQ(row[col].Format, QStringLiteral("0.00"));
    }
    EXPECT_DOUBLE_EQ(row[6].Value.toDouble(), 42.8);
    EXPECT_DOUBLE_EQ(row[8].Value.toDouble(), 0);
    // 2026-12-08 11:20:05 as a date serial, shown as date and time.
    EXPECT_TRUE(row[2].IsNumber());
    const double serial =
        QDate(1899, 12, 30).daysTo(QDate(2026, 12, 8)) + (11 * 3600 + 20 * 60 + 5) / 86400.0;
    EXPECT_NEAR(row[2].Value.toDouble(), serial, 1e-9);
    EXPECT_TRUE(row[2].Format.contains(QStringLiteral("yyyy"))) << row[2].Format.toStdString();
    EXPECT_TRUE(row[2].Format.contains(QStringLiteral("hh:mm:ss"))) << row[2].Format.toStdString();

    // The figures: takings and the per-order money with two decimals, counts
    // as numbers.
    ASSERT_GE(sheet.Rows().size(), 7);
    EXPECT_EQ(sheet.Rows()[2][1].Value, QStringLiteral("6"));
    EXPECT_EQ(sheet.Rows()[3][0].Value, QStringLiteral("用餐人数"));
    EXPECT_EQ(sheet.Rows()[3][1].Value, QStringLiteral("17"));
    EXPECT_EQ(sheet.Rows()[4][0].Value, QStringLiteral("营业额"));
    EXPECT_TRUE(sheet.Rows()[4][1].IsNumber());
    EXPECT_EQ(sheet.Rows()[4][1].Format, QStringLiteral("0.00"));
    EXPECT_EQ(TXlsxSheet::Shown(sheet.Rows()[4][1]), QStringLiteral("427.90"));
}

TEST_F(ReportXlsxTest, TheWorkbookShowsTheRowsOfTheCsv) {
    WriteReportXlsx(dbPath(), period(), target());
    const QString csvFile = path(QStringLiteral("营业统计.csv"));
    WriteReportCsv(dbPath(), period(), csvFile);
    QFile csv(csvFile);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    Table expected = parseCsv(QString::fromUtf8(csv.readAll().mid(3)));
    // An empty record in the CSV is a row without cells in the workbook.
    for (QStringList& row : expected)
        if (row == QStringList({QString()}))
            row.clear();

    const TXlsxSheet sheet(target());
    ASSERT_TRUE(sheet.Ok());
    Table shown;
    for (const QList<TXlsxCell>& row : sheet.Rows()) {
        QStringList texts;
        for (const TXlsxCell& cell : row)
            texts << TXlsxSheet::Shown(cell);
        shown << texts;
    }
    ASSERT_EQ(shown.size(), 28);
    EXPECT_EQ(shown, expected);
}

TEST_F(ReportXlsxTest, AFailedExportLeavesNoFileAndKeepsAnOlderOne) {
    const QStringList tempBefore = leftovers();
    const QString blocked = dbPath() + QStringLiteral("/营业统计.xlsx");
    try {
        WriteReportXlsx(dbPath(), period(), blocked);
        FAIL() << "no error";
    } catch (const EReportExportError& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("无法写入 ") + blocked))
            << e.Message().toStdString();
    }
    EXPECT_FALSE(QFile::exists(blocked));

    QFile old(target());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("older");
    old.close();
    const QString notADatabase = path(QStringLiteral("junk.db"));
    QFile junk(notADatabase);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    QStringList before = QDir(folder()).entryList(QDir::Files);
    EXPECT_THROW(WriteReportXlsx(notADatabase, period(), target()), EReportExportError);
    QFile kept(target());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("older"));
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), before);
    EXPECT_EQ(leftovers(), tempBefore);

    // A good export replaces the older file whole.
    WriteReportXlsx(dbPath(), period(), target());
    EXPECT_TRUE(TXlsxSheet(target()).Ok());
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), before);
    EXPECT_EQ(leftovers(), tempBefore);
}

TEST(ReportFormatTest, TheChosenFilterGivesTheExtensionWhenTheNameHasNone) {
    const QString excel = QStringLiteral("Excel 工作簿 (*.xlsx)");
    const QString csv = QStringLiteral("CSV 文件 (*.csv)");
    ASSERT_EQ(ReportFormats().size(), 2);
    EXPECT_EQ(ReportFormats()[0].Filter, excel);
    EXPECT_EQ(ReportFormats()[1].Filter, csv);
    const struct {
        QString chosen;
        QString filter;
        QString path;
    } cases[] = {
        {"/d/十二月", excel, "/d/十二月.xlsx"},      {"/d/十二月", csv, "/d/十二月.csv"},
        {"/d/十二月.CSV", excel, "/d/十二月.CSV"},   {"/d/十二月.xlsx", csv, "/d/十二月.xlsx"},
        {"/d/十二月.txt", csv, "/d/十二月.txt.csv"}, {"/d/v1.2", QString(), "/d/v1.2.xlsx"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen.toStdString());
        EXPECT_EQ(ReportExportPath(c.chosen, c.filter), c.path);
        const QString extension = c.path.section(QLatin1Char('.'), -1).toLower();
        EXPECT_EQ(ReportFormatFor(c.path, QString()).Extension, extension);
    }
}

} // namespace
