#include "billing/table/deskops.h"

#include "common/myfun.h"
#include "store/SQLiteORM.h"

EDeskError::EDeskError(const QString& message)
    : std::runtime_error(message.toUtf8().toStdString()) {}

namespace {

QString deskCondition(int32_t DeskID) {
    return QStringLiteral("id=%1").arg(DeskID);
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
    RaiseIfFailed<EDeskError>(lines);
    totals.Price = lines.Where(open.arg(QStringLiteral("0,1,2,3,4,5,6")))
                       .Sum(QStringLiteral("price"))
                       .toDouble();
    RaiseIfFailed<EDeskError>(lines);
    totals.Stat = totals.LineCount > 0 ? QStringLiteral("1") : QStringLiteral("0");

    TSQLiteORM desk(&db, QStringLiteral("zel_desk"));
    desk.Where(deskCondition(DeskID))
        .Save({{QStringLiteral("price"), totals.Price}, {QStringLiteral("stat"), totals.Stat}});
    RaiseIfFailed<EDeskError>(desk);
    return totals;
}

void SetDeskStat(TSQLiteDatabase& db, int32_t DeskID, const QString& stat) {
    TSQLiteORM desk(&db, QStringLiteral("zel_desk"));
    desk.Where(deskCondition(DeskID)).SetField(QStringLiteral("stat"), stat);
    RaiseIfFailed<EDeskError>(desk);
}

void ClearDesk(TSQLiteDatabase& db, int32_t DeskID) {
    TSQLiteTransaction transaction(db);
    TSQLiteORM lines(&db, QStringLiteral("zel_orders_detail"));
    lines.Where(QStringLiteral("issettle=0 AND deskid=%1 AND stat in(0,1,2,3,4,5,6,7)").arg(DeskID))
        .SetField(QStringLiteral("stat"), 8);
    RaiseIfFailed<EDeskError>(lines);

    TSQLiteORM cart(&db, QStringLiteral("zel_cart"));
    cart.Where(QStringLiteral("deskid=%1").arg(DeskID)).SetField(QStringLiteral("quantity"), 0.0);
    RaiseIfFailed<EDeskError>(cart);

    TSQLiteORM desk(&db, QStringLiteral("zel_desk"));
    desk.Where(deskCondition(DeskID)).Save(FreeDeskValues());
    RaiseIfFailed<EDeskError>(desk);
    transaction.Commit();
}

QString NegativeNumberRefusal(const QString& caption, const QString& typed) {
    const QString text = typed.trimmed();
    if (IsNumeric(text) && SafeStrToFloat(text) < 0)
        return caption + QStringLiteral("不能为负数");
    return QString();
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
    desk.Where(deskCondition(DeskID))
        .Save({{QStringLiteral("nums"), details.Nums},
               {QStringLiteral("fwy"), details.Fwy},
               {QStringLiteral("ydtruename"), details.Ydtruename},
               {QStringLiteral("ydtel"), details.Ydtel},
               {QStringLiteral("yj"), details.Yj}});
    RaiseIfFailed<EDeskError>(desk);
}

bool UpdateOrderItemStatus(TSQLiteDatabase& db, int32_t OrderID, int32_t NewStatus) {
    TSQLiteORM lines(&db, QStringLiteral("zel_orders_detail"));
    lines.Where(QStringLiteral("id = %1 AND issettle=0").arg(OrderID))
        .SetField(QStringLiteral("stat"), NewStatus);
    RaiseIfFailed<EDeskError>(lines);
    return db.Changes() > 0;
}
