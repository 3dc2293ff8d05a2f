#include "report/export/reporttable.h"

#include "billing/table/bill/paytypes.h"
#include "store/rowscan.h"
#include "store/sqlitedb.h"

#include <optional>

namespace {

using Cell = TReportCell;

QString hourText(int hour) {
    return QStringLiteral("%1:00").arg(hour, 2, 10, QLatin1Char('0'));
}

void figureRows(const TBusinessReport& report, const std::function<void(const TReportRow&)>& row) {
    row({Cell::Of(QStringLiteral("统计期间")), Cell::Of(report.Period.Caption())});
    row({Cell::Of(QStringLiteral("营业日开始时间")), Cell::Of(hourText(report.Period.DayStart))});
    row({Cell::Of(QStringLiteral("订单数")), Cell::Count(report.Orders)});
    row({Cell::Of(GuestsCaption()), Cell::Count(report.Guests)});
    row({Cell::Of(QStringLiteral("营业额")), Cell::Money(report.Cents)});
    row({Cell::Of(QStringLiteral("单均消费")), Cell::Money(report.PerOrderCents())});
    row({Cell::Of(QStringLiteral("人均消费")), Cell::Money(report.PerGuestCents())});
    row({Cell::Of(QStringLiteral("支付方式")), Cell::Of(QStringLiteral("笔数")),
         Cell::Of(QStringLiteral("金额"))});
    for (const TPayTypeFigure& type : report.PayTypes)
        row({Cell::Of(type.Caption), Cell::Count(type.Orders), Cell::Money(type.Cents)});
    row({Cell::Of(QStringLiteral("不计入营业额")), Cell::Of(QStringLiteral("数量")),
         Cell::Of(QStringLiteral("金额"))});
    row({Cell::Of(QStringLiteral("退菜")), Cell::Portions(report.ReturnedQuantity),
         Cell::Money(report.ReturnedCents)});
    row({Cell::Of(QStringLiteral("删除订单")), Cell::Count(report.DeletedOrders),
         Cell::Money(report.DeletedCents)});
}

// Orders whose `deleted` is unset count nowhere in the figures, so they stay
// out here as well: the settled rows add up to the takings.
void orderRows(TRowScanner& scan, const TReportPeriod& period,
               const std::function<void(const TReportRow&)>& row) {
    TReportRow header;
    for (const char* caption : {"编号", "订单号", "结算时间", "桌位号", "人数", "支付方式", "金额",
                                "实收", "找零", "服务员", "状态"})
        header << Cell::Of(QString::fromUtf8(caption));
    row(header);
    const QString sql =
        QStringLiteral("SELECT `id`,`ordid`,`addtime`,`bh`,`nums`,`paytype`,`price`,`shishou`,"
                       "`zhaoling`,`fwy`,`deleted` FROM zel_orders WHERE `addtime`>='%1' AND "
                       "`addtime`<'%2' AND `deleted` IS NOT NULL ORDER BY `addtime`,`id`")
            .arg(period.FromText(), period.ToText());
    scan.Scan(sql, [&row](const TScanRow& r) {
        row({Cell::Count(r.Int(0)), Cell::Of(r.Text(1)), Cell::Time(r.Text(2)), Cell::Of(r.Text(3)),
             Cell::Count(r.Int(4)), Cell::Of(PayTypeCaption(int(r.Int(5)))),
             Cell::Money(YuanToCents(r.Double(6))), Cell::Money(YuanToCents(r.Double(7))),
             Cell::Money(YuanToCents(r.Double(8))), Cell::Of(r.Text(9)),
             Cell::Of(r.Int(10) != 0 ? QStringLiteral("已删除") : QStringLiteral("已结算"))});
    });
}

} // namespace

EReportExportError::EReportExportError(const QString& message)
    : std::runtime_error(message.toStdString()) {}

QString ReportFileName(const TReportPeriod& period, const QString& extension) {
    const QString last = period.Last.toString(QStringLiteral("yyyyMMdd"));
    const QString days =
        period.First == period.Last
            ? last
            : period.First.toString(QStringLiteral("yyyyMMdd")) + QLatin1Char('-') + last;
    return QStringLiteral("营业统计_") + days + QLatin1Char('.') + extension;
}

TBusinessReport ReadReportRows(const QString& dbFile, const TReportPeriod& period,
                               const std::function<void(const TReportRow&)>& row) {
    try {
        TRowScanner scan(dbFile);
        const TBusinessReport report = ReadBusinessReport(scan, period);
        figureRows(report, row);
        row({});
        orderRows(scan, period, row);
        return report;
    } catch (const ESQLiteException& e) {
        throw EReportExportError(QStringLiteral("无法读取订单：") + e.Message());
    }
}
