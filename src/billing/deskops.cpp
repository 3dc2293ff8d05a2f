#include "billing/deskops.h"

#include "common/myfun.h"
#include "store/SQLiteORM.h"

EDeskError::EDeskError(const QString& message)
    : std::runtime_error(message.toUtf8().toStdString()) {}

namespace {

void check(const TSQLiteORM& orm, bool ok = true) {
    if (!ok || orm.LastFailed())
        throw EDeskError(orm.LastError());
}

QString deskCondition(int32_t DeskID) {
    return QStringLiteral("id=%1").arg(DeskID);
}

// Runs body in a transaction of db; any failure rolls it back and re-raises.
template <typename Body> void inTransaction(TSQLiteDatabase& db, Body body) {
    db.BeginTransaction();
    try {
        body();
        db.Commit();
    } catch (...) {
        if (db.InTransaction()) {
            try {
                db.Rollback();
            } catch (...) {
                // The connection's destructor rolls back what is left.
            }
        }
        throw;
    }
}

} // namespace

TValueDict FreeDeskValues() {
    return {{QStringLiteral("nums"), QStringLiteral("0")},
            {QStringLiteral("fwy"), QString()},
            {QStringLiteral("ydtruename"), QString()},
            {QStringLiteral("ydtel"), QString()},
            {QStringLiteral("yj"), QStringLiteral("0")},
            {QStringLiteral("stat"), QStringLiteral("0")},
            {QStringLiteral("price"), 0.0}};
}

TDeskTotals RecountDesk(TSQLiteDatabase& db, int32_t DeskID) {
    TSQLiteORM lines(&db, QStringLiteral("zel_orders_detail"));
    const QString open = QStringLiteral("issettle=0 AND deskid=%1 AND stat in(%2)").arg(DeskID);
    TDeskTotals totals;
    totals.LineCount = lines.Where(open.arg(QStringLiteral("0,1,2,3,4,5,6,7"))).Count();
    check(lines);
    totals.Price = lines.Where(open.arg(QStringLiteral("0,1,2,3,4,5,6")))
                       .Sum(QStringLiteral("price"))
                       .toDouble();
    check(lines);
    totals.Stat = totals.LineCount > 0 ? QStringLiteral("1") : QStringLiteral("0");

    TSQLiteORM desk(&db, QStringLiteral("zel_desk"));
    check(desk, desk.Where(deskCondition(DeskID))
                    .Save({{QStringLiteral("price"), totals.Price},
                           {QStringLiteral("stat"), totals.Stat}}));
    return totals;
}

void SetDeskStat(TSQLiteDatabase& db, int32_t DeskID, const QString& stat) {
    TSQLiteORM desk(&db, QStringLiteral("zel_desk"));
    desk.Where(deskCondition(DeskID)).SetField(QStringLiteral("stat"), stat);
    check(desk);
}

void ClearDesk(TSQLiteDatabase& db, int32_t DeskID) {
    inTransaction(db, [&] {
        TSQLiteORM lines(&db, QStringLiteral("zel_orders_detail"));
        lines
            .Where(
                QStringLiteral("issettle=0 AND deskid=%1 AND stat in(0,1,2,3,4,5,6,7)").arg(DeskID))
            .SetField(QStringLiteral("stat"), 8);
        check(lines);

        TSQLiteORM cart(&db, QStringLiteral("zel_cart"));
        cart.Where(QStringLiteral("deskid=%1").arg(DeskID))
            .SetField(QStringLiteral("quantity"), 0.0);
        check(cart);

        TSQLiteORM desk(&db, QStringLiteral("zel_desk"));
        check(desk, desk.Where(deskCondition(DeskID)).Save(FreeDeskValues()));
    });
}

TDeskDetails NormaliseDeskDetails(const TDeskDetails& typed) {
    TDeskDetails d;
    d.Nums = typed.Nums.trimmed();
    if (!IsInt(d.Nums))
        d.Nums = QStringLiteral("0");
    d.Yj = typed.Yj.trimmed();
    if (!IsNumeric(d.Yj))
        d.Yj = QStringLiteral("0");
    d.Fwy = typed.Fwy.trimmed();
    d.Ydtruename = typed.Ydtruename.trimmed();
    d.Ydtel = typed.Ydtel.trimmed();
    return d;
}

void SaveDeskDetails(TSQLiteDatabase& db, int32_t DeskID, const TDeskDetails& details) {
    TSQLiteORM desk(&db, QStringLiteral("zel_desk"));
    check(desk, desk.Where(deskCondition(DeskID))
                    .Save({{QStringLiteral("nums"), details.Nums},
                           {QStringLiteral("fwy"), details.Fwy},
                           {QStringLiteral("ydtruename"), details.Ydtruename},
                           {QStringLiteral("ydtel"), details.Ydtel},
                           {QStringLiteral("yj"), details.Yj}}));
}

void UpdateOrderItemStatus(TSQLiteDatabase& db, int32_t OrderID, int32_t NewStatus) {
    TSQLiteORM lines(&db, QStringLiteral("zel_orders_detail"));
    lines.Where(QStringLiteral("id = %1").arg(OrderID)).SetField(QStringLiteral("stat"), NewStatus);
    check(lines);
}
