#include "billing/orders/orderhistory.h"

#include "billing/printing/devices/pagedevice.h"
#include "billing/printing/myprint.h"
#include "billing/printing/ticketlayouts.h"
#include "billing/printing/ticketsettings.h"
#include "common/appvalues.h"
#include "common/myfun.h"
#include "store/SQLiteORM.h"
#include "store/sqlitedb.h"

namespace {

QString field(const TSQLiteTable& row, const char* name) {
    return TSQLiteORM::GetFieldAsString(&row, QString::fromLatin1(name));
}

QString money(const TSQLiteTable& row, const char* name) {
    return QStringLiteral("￥") +
           FormatPno(TSQLiteORM::GetFieldAsDouble(&row, QString::fromLatin1(name)), 2);
}

std::unique_ptr<TSQLiteTable> selectWhere(TSQLiteORM& orm, const QString& condition) {
    orm.Where(condition);
    std::unique_ptr<TSQLiteTable> table = orm.Select();
    if (!table || orm.LastFailed())
        throw ESQLiteException(QStringLiteral("读取订单失败: ") + orm.LastError());
    return table;
}

} // namespace

TListConfig OrdersListConfig() {
    TListConfig c;
    c.table = QStringLiteral("zel_orders");
    c.baseSQL = QStringLiteral(
        "SELECT `id`,`title`,`ordid`,`price`,`addtime`,`bh`,`deskid` FROM zel_orders");
    c.countSQL = QStringLiteral("SELECT COUNT(*) FROM zel_orders");
    c.initialCondition = QStringLiteral("`deleted`=0");
    c.order = QStringLiteral("`id` DESC");
    c.keywordCondition = [](const QString& keyword) {
        return QStringLiteral("`deleted`=0 AND `title` LIKE '%") + keyword + QStringLiteral("%'");
    };
    c.columns = {{QStringLiteral("编号"), 60},
                 {QStringLiteral("订单名称"), 70},
                 {QStringLiteral("金额"), 90},
                 {QStringLiteral("桌位号"), 80},
                 {QStringLiteral("结算时间"), 140},
                 {QStringLiteral("详情"), 50, TListCell::DetailIcon},
                 {QStringLiteral("打印"), 50, TListCell::PrintIcon},
                 {QStringLiteral("删除"), 50, TListCell::DeleteIcon}};
    c.readRow = [](const TSQLiteTable& row) {
        QStringList texts(5);
        texts[orderscolumn::Id] = field(row, "id");
        texts[orderscolumn::Title] = field(row, "title");
        texts[orderscolumn::Price] = money(row, "price");
        texts[orderscolumn::Bh] = field(row, "bh");
        texts[orderscolumn::AddTime] = field(row, "addtime");
        return texts;
    };
    c.deletion = TListDeletion::Soft;
    c.iconSize = 24;
    return c;
}

TOrderDetail ReadOrderDetail(TSQLiteDatabase& db, const QString& Ordid) {
    TOrderDetail detail;
    if (!IsInt(Ordid))
        return detail;
    {
        TSQLiteORM orm(&db, QStringLiteral("zel_orders"));
        const auto row = selectWhere(orm, QStringLiteral("`id`=") + Ordid);
        if (!row->Eof()) {
            detail.found = true;
            detail.title = field(*row, "title");
            detail.ordid = Ordid;
            detail.price = money(*row, "price");
            detail.shishou = money(*row, "shishou");
            detail.zhaoling = money(*row, "zhaoling");
            detail.yj = QStringLiteral("￥") + field(*row, "yj");
            detail.addtime = field(*row, "addtime");
            detail.bh = field(*row, "bh");
            detail.nums = field(*row, "nums");
            detail.ydtel = field(*row, "ydtel");
            detail.ydtruename = field(*row, "ydtruename");
            detail.fwy = field(*row, "fwy");
        }
    }
    TSQLiteORM orm(&db, QStringLiteral("zel_orders_detail"));
    const auto lines = selectWhere(orm, QStringLiteral("`rootid`=") + Ordid);
    for (; !lines->Eof(); lines->Next())
        detail.lines.append(
            {field(*lines, "title"), money(*lines, "oneprice"), field(*lines, "quantity"),
             money(*lines, "price"), field(*lines, "sku"),
             TSQLiteORM::GetFieldAsInteger(lines.get(), QStringLiteral("stat")) == 7});
    return detail;
}

QString ReprintOrder(TPageDevice& device, const TTicketSettings& settings, TSQLiteDatabase& db,
                     const QString& OrderID, const QString& OrderBH) {
    const QString layout = BuildOrderReceipt(db, settings, OrderID.toInt(), OrderBH);
    QString result;
    try {
        addprint(device, settings, layout, QStringLiteral("0"), result);
    } catch (const EConvertError& e) {
        result = e.Message();
    }
    return result;
}

QString ReprintOrder(const QString& OrderID, const QString& OrderBH) {
    TSQLiteDatabase db(sqlitename);
    return ReprintOrder(PageDevice(), TicketSettings(), db, OrderID, OrderBH);
}
