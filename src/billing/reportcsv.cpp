#include "billing/reportcsv.h"

#include "billing/paytypes.h"
#include "store/rowscan.h"
#include "store/sqlitedb.h"

#include <QSaveFile>
#include <QStringList>

#include <optional>

namespace {

// Spreadsheets run a cell that starts like a formula; table codes and waiter
// names are typed by users, so such a text is kept as text.
bool formulaLike(const QString& text) {
    if (text.isEmpty())
        return false;
    switch (text.front().unicode()) {
    case '=':
    case '+':
    case '-':
    case '@':
    case '\t':
    case '\r':
        return true;
    default:
        return false;
    }
}

QString quoted(const QString& cell) {
    if (!cell.contains(QLatin1Char(',')) && !cell.contains(QLatin1Char('"')) &&
        !cell.contains(QLatin1Char('\r')) && !cell.contains(QLatin1Char('\n')))
        return cell;
    QString out = cell;
    out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

// A text cell as the user typed it.
QString text(const QString& value) {
    return quoted(formulaLike(value) ? QLatin1Char('\'') + value : value);
}

// A number this program wrote; left for the spreadsheet to read as one.
QString number(const QString& value) {
    return quoted(value);
}

QString money(double yuan) {
    return CentsText(YuanToCents(yuan));
}

QString hourText(int hour) {
    return QStringLiteral("%1:00").arg(hour, 2, 10, QLatin1Char('0'));
}

class TCsvWriter {
public:
    explicit TCsvWriter(const QString& target) : FFile(target), FTarget(target) {
        if (!FFile.open(QIODevice::WriteOnly))
            fail();
        write(QByteArrayLiteral("\xEF\xBB\xBF"));
    }

    void Row(const QStringList& cells) {
        write(cells.join(QLatin1Char(',')).toUtf8() + QByteArrayLiteral("\r\n"));
    }

    void Commit() {
        if (!FFile.commit())
            fail();
    }

private:
    void write(const QByteArray& bytes) {
        if (FFile.write(bytes) != bytes.size())
            fail();
    }

    [[noreturn]] void fail() {
        throw EReportExportError(QStringLiteral("无法写入 ") + FTarget + QStringLiteral("：") +
                                 FFile.errorString());
    }

    QSaveFile FFile;
    QString FTarget;
};

void writeFigures(TCsvWriter& csv, const TBusinessReport& report) {
    csv.Row({text(QStringLiteral("统计期间")), text(report.Period.Caption())});
    csv.Row({text(QStringLiteral("营业日开始时间")), text(hourText(report.Period.DayStart))});
    csv.Row({text(QStringLiteral("订单数")), number(QString::number(report.Orders))});
    csv.Row({text(QStringLiteral("就餐人数")), number(QString::number(report.Guests))});
    csv.Row({text(QStringLiteral("营业额")), number(CentsText(report.Cents))});
    csv.Row({text(QStringLiteral("单均消费")), number(CentsText(report.PerOrderCents()))});
    csv.Row({text(QStringLiteral("人均消费")), number(CentsText(report.PerGuestCents()))});
    csv.Row({text(QStringLiteral("支付方式")), text(QStringLiteral("笔数")),
             text(QStringLiteral("金额"))});
    for (const TPayTypeFigure& type : report.PayTypes)
        csv.Row({text(type.Caption), number(QString::number(type.Orders)),
                 number(CentsText(type.Cents))});
    csv.Row({text(QStringLiteral("不计入营业额")), text(QStringLiteral("数量")),
             text(QStringLiteral("金额"))});
    csv.Row({text(QStringLiteral("退菜")), number(QuantityText(report.ReturnedQuantity)),
             number(CentsText(report.ReturnedCents))});
    csv.Row({text(QStringLiteral("删除订单")), number(QString::number(report.DeletedOrders)),
             number(CentsText(report.DeletedCents))});
}

// Orders whose `deleted` is unset count nowhere in the figures, so they stay
// out here as well: the settled rows add up to the takings.
void writeOrders(TCsvWriter& csv, TRowScanner& scan, const TReportPeriod& period) {
    csv.Row({text(QStringLiteral("编号")), text(QStringLiteral("订单号")),
             text(QStringLiteral("结算时间")), text(QStringLiteral("桌位号")),
             text(QStringLiteral("人数")), text(QStringLiteral("支付方式")),
             text(QStringLiteral("金额")), text(QStringLiteral("实收")),
             text(QStringLiteral("找零")), text(QStringLiteral("服务员")),
             text(QStringLiteral("状态"))});
    const QString sql =
        QStringLiteral("SELECT `id`,`ordid`,`addtime`,`bh`,`nums`,`paytype`,`price`,`shishou`,"
                       "`zhaoling`,`fwy`,`deleted` FROM zel_orders WHERE `addtime`>='%1' AND "
                       "`addtime`<'%2' AND `deleted` IS NOT NULL ORDER BY `addtime`,`id`")
            .arg(period.FromText(), period.ToText());
    try {
        scan.Scan(sql, [&csv](const TScanRow& row) {
            csv.Row({number(QString::number(row.Int(0))), text(row.Text(1)), text(row.Text(2)),
                     text(row.Text(3)), number(QString::number(row.Int(4))),
                     text(PayTypeCaption(int(row.Int(5)))), number(money(row.Double(6))),
                     number(money(row.Double(7))), number(money(row.Double(8))), text(row.Text(9)),
                     text(row.Int(10) != 0 ? QStringLiteral("已删除") : QStringLiteral("已结算"))});
        });
    } catch (const ESQLiteException& e) {
        throw EReportExportError(QStringLiteral("无法读取订单：") + e.Message());
    }
}

} // namespace

EReportExportError::EReportExportError(const QString& message)
    : std::runtime_error(message.toStdString()) {}

QString ReportCsvFileName(const TReportPeriod& period) {
    const QString last = period.Last.toString(QStringLiteral("yyyyMMdd"));
    const QString days =
        period.First == period.Last
            ? last
            : period.First.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('-') + last;
    return QStringLiteral("营业统计_") + days + QStringLiteral(".csv");
}

TBusinessReport WriteReportCsv(const QString& dbFile, const TReportPeriod& period,
                               const QString& target) {
    std::optional<TRowScanner> scan;
    TBusinessReport report;
    try {
        scan.emplace(dbFile);
        report = ReadBusinessReport(*scan, period);
    } catch (const ESQLiteException& e) {
        throw EReportExportError(QStringLiteral("无法读取订单：") + e.Message());
    }
    TCsvWriter csv(target);
    writeFigures(csv, report);
    csv.Row({});
    writeOrders(csv, *scan, period);
    csv.Commit();
    return report;
}
