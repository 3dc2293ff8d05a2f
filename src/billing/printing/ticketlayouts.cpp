#include "billing/printing/ticketlayouts.h"

#include "billing/printing/ticketlayout.h"
#include "billing/table/deskops.h"
#include "billing/table/deskview.h"
#include "common/appvalues.h"
#include "common/myfun.h"
#include "store/SQLiteORM.h"
#include "store/sqlitedb.h"

#include <QList>

namespace {

std::unique_ptr<TSQLiteTable> selectLines(TSQLiteORM& orm, const QString& condition) {
    orm.Where(condition);
    orm.Order(QStringLiteral("`id` ASC"));
    std::unique_ptr<TSQLiteTable> table = orm.Select();
    if (!table || orm.LastFailed())
        throw ESQLiteException(QStringLiteral("读取订单明细失败: ") + orm.LastError());
    return table;
}

QString openLinesOf(int32_t DeskID) {
    return QStringLiteral("`deskid`=%1 AND `issettle`=0 AND `stat`>=0 AND `stat`<=7").arg(DeskID);
}

QList<TKitchenTicketLine> readKitchenLines(TSQLiteDatabase& db, int32_t DeskID) {
    TSQLiteORM orm(&db, QStringLiteral("zel_orders_detail"));
    const auto table = selectLines(orm, openLinesOf(DeskID));
    QList<TKitchenTicketLine> lines;
    for (; !table->Eof(); table->Next()) {
        TKitchenTicketLine line;
        line.Title = TSQLiteORM::GetFieldAsString(table.get(), QStringLiteral("title"));
        line.Quantity = TSQLiteORM::GetFieldAsString(table.get(), QStringLiteral("quantity"));
        line.Returned = TSQLiteORM::GetFieldAsInteger(table.get(), QStringLiteral("stat")) == 7;
        lines << line;
    }
    return lines;
}

// Receipt lines are the table window's, so their subtotals and the total are
// the texts the cashier sees and the amount the settlement books.
TDeskLines readTableLines(TSQLiteDatabase& db, int32_t DeskID) {
    try {
        return ReadDeskLines(db, DeskID);
    } catch (const EDeskError& e) {
        throw ESQLiteException(QStringLiteral("读取订单明细失败: ") + e.Message());
    }
}

TDeskLines readOrderLines(TSQLiteDatabase& db, int32_t OrderID) {
    TSQLiteORM orm(&db, QStringLiteral("zel_orders_detail"));
    const auto table =
        selectLines(orm, QStringLiteral("`rootid`=%1 AND `stat`>=0 AND `stat`<=7").arg(OrderID));
    QList<TDeskLine> lines;
    for (; !table->Eof(); table->Next()) {
        const TSQLiteTable* t = table.get();
        lines << MakeDeskLine(TSQLiteORM::GetFieldAsInteger(t, QStringLiteral("id")),
                              TSQLiteORM::GetFieldAsString(t, QStringLiteral("title")),
                              TSQLiteORM::GetFieldAsDouble(t, QStringLiteral("quantity")),
                              TSQLiteORM::GetFieldAsDouble(t, QStringLiteral("oneprice")),
                              TSQLiteORM::GetFieldAsInteger(t, QStringLiteral("stat")));
    }
    return SumDeskLines(lines);
}

QString receipt(const TTicketSettings& s, const TDeskLines& lines, const QString& bh) {
    const auto edit = [&s](const char* name) {
        return s.Edit(QLatin1String(name)).trimmed();
    };
    TLayout layout;
    layout.Centred(edit("lab_shopname"), QStringLiteral("\"size\":12,"));
    layout.Centred(edit("lab_title"), QString());
    layout.Date();
    layout.Table(s, bh);
    layout.ReceiptHeading();
    layout.Dash();
    for (const TDeskLine& line : lines.Lines)
        layout.Line({line.Title, line.Quantity, line.Subtotal}, line.Stat == 7);
    layout.Dash();
    layout.Title(QStringLiteral("合计：￥") + FormatFloat00(lines.TotalAmount));
    layout.Dash();
    if (s.CheckBox(QStringLiteral("box_xpisaddress")))
        layout.Address(edit("lab_address"));
    if (s.CheckBox(QStringLiteral("box_xpistel")))
        layout.Phone(edit("lab_tel"));
    return layout.Text();
}

} // namespace

QString JsonEscape(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (const QChar c : s) {
        switch (c.unicode()) {
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\b':
            out += QStringLiteral("\\b");
            break;
        case '\f':
            out += QStringLiteral("\\f");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out;
}

QString BuildTableReceipt(TSQLiteDatabase& db, const TTicketSettings& settings, int32_t DeskID,
                          const QString& DeskBH) {
    return receipt(settings, readTableLines(db, DeskID), DeskBH);
}

QString BuildTableReceipt(int32_t DeskID, const QString& DeskBH) {
    TSQLiteDatabase db(sqlitename);
    return BuildTableReceipt(db, TicketSettings(), DeskID, DeskBH);
}

QString BuildOrderReceipt(TSQLiteDatabase& db, const TTicketSettings& settings, int32_t OrderID,
                          const QString& OrderBH) {
    return receipt(settings, readOrderLines(db, OrderID), OrderBH);
}

QString BuildOrderReceipt(int32_t OrderID, const QString& OrderBH) {
    TSQLiteDatabase db(sqlitename);
    return BuildOrderReceipt(db, TicketSettings(), OrderID, OrderBH);
}

QString BuildKitchenTicket(const TTicketSettings& settings, const QString& DeskBH,
                           const QList<TKitchenTicketLine>& lines, bool addOn) {
    TLayout layout;
    // Large enough to catch the cook's eye before the lines do.
    if (addOn)
        layout.Centred(QStringLiteral("加菜"), QStringLiteral("\"size\":16,\"isbold\":1,"));
    layout.Date();
    layout.Table(settings, DeskBH);
    layout.KitchenHeading();
    layout.Dash();
    for (const TKitchenTicketLine& line : lines)
        layout.Line({line.Title, line.Quantity}, line.Returned);
    return layout.Text();
}

QString BuildKitchenTicket(TSQLiteDatabase& db, const TTicketSettings& settings, int32_t DeskID,
                           const QString& DeskBH) {
    return BuildKitchenTicket(settings, DeskBH, readKitchenLines(db, DeskID), false);
}

QString BuildKitchenTicket(int32_t DeskID, const QString& DeskBH) {
    TSQLiteDatabase db(sqlitename);
    return BuildKitchenTicket(db, TicketSettings(), DeskID, DeskBH);
}

QString BuildSampleReceipt(const TTicketSettings& settings) {
    TLayout layout;
    layout.Centred(settings.Edit(QStringLiteral("lab_shopname")), QStringLiteral("\"size\":13,"));
    if (settings.CheckBox(QStringLiteral("box_xptitle"))) {
        const bool centre = settings.CheckBox(QStringLiteral("box_xpiscenter"));
        layout.Row(QStringLiteral("[{\"title\":\"") +
                   JsonEscape(settings.Edit(QStringLiteral("lab_title"))) +
                   QStringLiteral("\",\"iscenter\":") +
                   (centre ? QLatin1Char('1') : QLatin1Char('0')) + QStringLiteral("}]"));
    }
    layout.Date();
    layout.Title(QStringLiteral("桌号：大厅01"));
    layout.Dash();
    layout.ReceiptHeading();
    layout.Row(
        QStringLiteral("[{\"title\":\"鱼香茄子\"},{\"title\":\"1\"},{\"title\":\"39.01\"}]"));
    layout.Row(QStringLiteral("[{\"title\":\"腌笃鲜\"},{\"title\":\"2\"},{\"title\":\"76.40\"}]"));
    layout.Row(QStringLiteral("[{\"title\":\"红烧肉\"},{\"title\":\"3\"},{\"title\":\"111.15\"}]"));
    layout.Row(
        QStringLiteral("[{\"title\":\"砂锅鱼头\"},{\"title\":\"4\"},{\"title\":\"144.12\"}]"));
    layout.Dash();
    layout.Title(QStringLiteral("合计：￥370.32"));
    layout.Title(QStringLiteral("优惠：￥70.32"));
    layout.Title(QStringLiteral("实付：￥300.00"));
    layout.Dash();
    layout.Address(settings.Edit(QStringLiteral("lab_address")));
    layout.Phone(settings.Edit(QStringLiteral("lab_tel")));
    return layout.Text();
}

QString BuildSampleKitchenTicket() {
    TLayout layout;
    layout.Date();
    layout.Title(QStringLiteral("桌号：大厅01"));
    layout.KitchenHeading();
    layout.Row(QStringLiteral("[{\"title\":\"鱼香茄子\"},{\"title\":\"1\"}]"));
    layout.Row(QStringLiteral("[{\"title\":\"腌笃鲜\"},{\"title\":\"12\"}]"));
    layout.Row(QStringLiteral("[{\"title\":\"红烧肉\"},{\"title\":\"33\"}]"));
    layout.Row(QStringLiteral("[{\"title\":\"砂锅鱼头\"},{\"title\":\"20\"}]"));
    return layout.Text();
}
