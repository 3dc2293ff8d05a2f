#pragma once

// The order history without widgets: the paged list of settled orders, the
// full reading of one order for the detail window, and its reprint.

#include "floor/lists/listconfig.h"

#include <QList>
#include <QString>

class TPageDevice;
class TSQLiteDatabase;
class TTicketSettings;

// Settled orders not deleted, newest first; soft deletion of the order row
// only (its lines stay settled and linked).
TListConfig OrdersListConfig();

// Text columns of a row of the orders list, as TListRow::texts holds them.
namespace orderscolumn {
constexpr int Id = 0;
constexpr int Title = 1;
constexpr int Price = 2;
constexpr int Bh = 3;
constexpr int AddTime = 4;
} // namespace orderscolumn

struct TOrderDetailLine {
    QString title;
    QString oneprice; // "￥" + two decimals, truncated
    QString quantity; // as stored
    QString price;    // "￥" + two decimals, truncated
    QString sku;
    bool returned = false; // shown struck through, as the receipt prints it
};

// What the detail window shows of one order. The label texts are filled only
// when the order row was found; the lines are those linked to the order id,
// returned ones included, in the order the database gives them.
struct TOrderDetail {
    bool found = false;
    QString title;
    QString ordid; // the row id, as the list's "编号" shows it
    QString price;
    QString addtime;
    QString shishou;
    QString zhaoling;
    QString bh;
    QString nums;
    QString ydtel;
    QString yj;
    QString ydtruename;
    QString fwy;
    QList<TOrderDetailLine> lines;
};

// Reads order Ordid (a row id as text; one that is not a whole number finds
// nothing). Raises ESQLiteException when a statement fails.
TOrderDetail ReadOrderDetail(TSQLiteDatabase& db, const QString& Ordid);

// Prints the customer receipt of order OrderID again with its table code and
// gives the print outcome ("打印完成" when printed). A database failure
// raises ESQLiteException.
QString ReprintOrder(TPageDevice& device, const TTicketSettings& settings, TSQLiteDatabase& db,
                     const QString& OrderID, const QString& OrderBH);
// The same on the installed page device with the settings in effect.
QString ReprintOrder(const QString& OrderID, const QString& OrderBH);
