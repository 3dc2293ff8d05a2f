#include "report/dayreport.h"

#include "billing/printing/myprint.h"
#include "billing/printing/ticketlayout.h"
#include "common/clock.h"

namespace {

// Label and value; the value gets the room of the two right columns.
void figure(TLayout& layout, const QString& label, const QString& value) {
    layout.Line({label, value}, false);
}

} // namespace

QString BuildDayReport(const TTicketSettings& settings, const TBusinessReport& report) {
    TLayout layout;
    // No blank line on the paper for a shop without a name.
    const QString shop = settings.Edit(QStringLiteral("lab_shopname")).trimmed();
    if (!shop.isEmpty())
        layout.Centred(shop, QStringLiteral("\"size\":12,"));
    layout.Centred(QStringLiteral("营业日报"), QStringLiteral("\"isbold\":1,"));
    layout.Title(QStringLiteral("日期：") + report.Period.Caption());
    if (report.Period.DayStart > 0)
        layout.Title(QStringLiteral("营业日自 %1:00 起")
                         .arg(report.Period.DayStart, 2, 10, QLatin1Char('0')));
    layout.Dash();
    figure(layout, QStringLiteral("订单数"), QString::number(report.Orders));
    figure(layout, GuestsCaption(), QString::number(report.Guests));
    figure(layout, QStringLiteral("营业额"), YuanText(report.Cents));
    figure(layout, QStringLiteral("单均消费"), YuanText(report.PerOrderCents()));
    figure(layout, QStringLiteral("人均消费"), YuanText(report.PerGuestCents()));

    layout.Dash();
    layout.Line({QStringLiteral("支付方式"), QStringLiteral("笔数"), QStringLiteral("金额")},
                false);
    int orders = 0;
    int64_t cents = 0;
    for (const TPayTypeFigure& type : report.PayTypes) {
        if (type.Orders == 0)
            continue;
        layout.Line({type.Caption, QString::number(type.Orders), CentsText(type.Cents)}, false);
        orders += type.Orders;
        cents += type.Cents;
    }
    layout.Line({QStringLiteral("合计"), QString::number(orders), CentsText(cents)}, false);

    // Apart from the takings, so nobody adds them in.
    layout.Dash();
    layout.Title(QStringLiteral("以下不计入营业额"));
    layout.Line({QStringLiteral("退菜"),
                 QuantityText(report.ReturnedQuantity) + QStringLiteral("份"),
                 CentsText(report.ReturnedCents)},
                false);
    layout.Line({QStringLiteral("删除订单"),
                 QString::number(report.DeletedOrders) + QStringLiteral("单"),
                 CentsText(report.DeletedCents)},
                false);

    layout.Dash();
    layout.Title(QStringLiteral("销量前十"));
    layout.Line({QStringLiteral("菜品"), QStringLiteral("数量"), QStringLiteral("金额")}, false);
    for (const TDishFigure& dish : report.TopByQuantity)
        layout.Line({dish.Title, QuantityText(dish.Quantity), CentsText(dish.Cents)}, false);

    layout.Dash();
    layout.Title(QStringLiteral("打印时间：") +
                 zclock::Now().toString(QStringLiteral("yyyy-MM-dd hh:mm")));
    return layout.Text();
}

QString PrintDayReport(TPageDevice& device, const TTicketSettings& settings,
                       const TBusinessReport& report) {
    QString result;
    try {
        addprint(device, settings, BuildDayReport(settings, report), QStringLiteral("0"), result);
    } catch (const EConvertError& e) {
        result = e.Message();
    }
    return result;
}

QString PrintDayReport(const TBusinessReport& report) {
    return PrintDayReport(PageDevice(), TicketSettings(), report);
}
