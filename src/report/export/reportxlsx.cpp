#include "report/export/reportxlsx.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QTime>

#include <xlsxwriter.h>

#include <iterator>

namespace {

// Widths in characters: labels and ids, order number, time, then the rest.
constexpr double kWidths[] = {14, 20, 20, 10, 6, 10, 10, 10, 10, 10, 8};

// The library writes to a file name only, so the workbook is built in a
// temporary file and then copied into place through QSaveFile: the target is
// replaced whole or left as it was, as with the CSV.
class TXlsxWriter {
public:
    explicit TXlsxWriter(const QString& target) : FSave(target), FTarget(target) {
        if (!FSave.open(QIODevice::WriteOnly))
            fail(FSave.errorString());
        FTemp.setFileTemplate(QDir::temp().filePath(QStringLiteral("zeltora-report-XXXXXX.xlsx")));
        if (!FTemp.open())
            fail(FTemp.errorString());
        FTempName = QFile::encodeName(FTemp.fileName());
        lxw_workbook_options options{};
        // Rows go to disk as they are written: a month may hold 100,000 orders.
        options.constant_memory = LXW_TRUE;
        FBook = workbook_new_opt(FTempName.constData(), &options);
        if (!FBook)
            fail(QStringLiteral("无法创建工作簿"));
        FSheet = workbook_add_worksheet(FBook, "营业统计");
        FMoney = workbook_add_format(FBook);
        format_set_num_format(FMoney, "0.00");
        FTime = workbook_add_format(FBook);
        format_set_num_format(FTime, "yyyy-mm-dd hh:mm:ss");
        if (!FSheet || !FMoney || !FTime)
            fail(QStringLiteral("无法创建工作簿"));
        for (lxw_col_t col = 0; col < std::size(kWidths); ++col)
            check(worksheet_set_column(FSheet, col, col, kWidths[col], nullptr));
    }

    ~TXlsxWriter() {
        if (FBook)
            lxw_workbook_free(FBook);
    }

    TXlsxWriter(const TXlsxWriter&) = delete;
    TXlsxWriter& operator=(const TXlsxWriter&) = delete;

    void Row(const TReportRow& cells) {
        if (FRow >= LXW_ROW_MAX)
            fail(QStringLiteral("订单太多，一张工作表最多 %1 行，请缩短统计期间").arg(LXW_ROW_MAX));
        for (lxw_col_t col = 0; col < lxw_col_t(cells.size()); ++col)
            cell(col, cells[col]);
        ++FRow;
    }

    void Commit() {
        const lxw_error closed = workbook_close(FBook);
        FBook = nullptr;
        check(closed);
        QFile built(FTemp.fileName());
        if (!built.open(QIODevice::ReadOnly))
            fail(built.errorString());
        char buffer[1 << 16];
        for (;;) {
            const qint64 n = built.read(buffer, sizeof buffer);
            if (n < 0)
                fail(built.errorString());
            if (n == 0)
                break;
            if (FSave.write(buffer, n) != n)
                fail(FSave.errorString());
        }
        if (!FSave.commit())
            fail(FSave.errorString());
    }

private:
    void cell(lxw_col_t col, const TReportCell& c) {
        switch (c.Kind) {
        case TReportCell::TKind::Count:
            return check(worksheet_write_number(FSheet, FRow, col, double(c.Whole), nullptr));
        case TReportCell::TKind::Money:
            return check(worksheet_write_number(FSheet, FRow, col, double(c.Whole) / 100, FMoney));
        case TReportCell::TKind::Quantity:
            return check(worksheet_write_number(FSheet, FRow, col, c.Quantity, nullptr));
        case TReportCell::TKind::Time:
            if (writeTime(col, c.Text))
                return;
            break;
        case TReportCell::TKind::Text:
            break;
        }
        if (!c.Text.isEmpty())
            check(worksheet_write_string(FSheet, FRow, col, c.Text.toUtf8().constData(), nullptr));
    }

    // A stamp is a wall-clock text; read without a time zone, so a time
    // the clock skipped or repeated is still the time written. Anything
    // else stays text.
    bool writeTime(lxw_col_t col, const QString& stamp) {
        const QDate date = QDate::fromString(stamp.left(10), QStringLiteral("yyyy-MM-dd"));
        const QTime time = QTime::fromString(stamp.mid(11), QStringLiteral("hh:mm:ss"));
        if (stamp.size() != 19 || !date.isValid() || !time.isValid() || date.year() < 1900)
            return false;
        lxw_datetime at{date.year(), date.month(),  date.day(),
                        time.hour(), time.minute(), double(time.second())};
        check(worksheet_write_datetime(FSheet, FRow, col, &at, FTime));
        return true;
    }

    void check(lxw_error error) {
        if (error != LXW_NO_ERROR)
            fail(QString::fromUtf8(lxw_strerror(error)));
    }

    [[noreturn]] void fail(const QString& why) {
        throw EReportExportError(QStringLiteral("无法写入 ") + FTarget + QStringLiteral("：") +
                                 why);
    }

    QSaveFile FSave;
    QString FTarget;
    QTemporaryFile FTemp;
    QByteArray FTempName;
    lxw_workbook* FBook = nullptr;
    lxw_worksheet* FSheet = nullptr;
    lxw_format* FMoney = nullptr;
    lxw_format* FTime = nullptr;
    lxw_row_t FRow = 0;
};

} // namespace

TBusinessReport WriteReportXlsx(const QString& dbFile, const TReportPeriod& period,
                                const QString& target) {
    TXlsxWriter book(target);
    const TBusinessReport report =
        ReadReportRows(dbFile, period, [&book](const TReportRow& row) { book.Row(row); });
    book.Commit();
    return report;
}
