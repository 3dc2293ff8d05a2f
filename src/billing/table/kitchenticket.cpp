#include "billing/table/kitchenticket.h"

#include "store/SQLiteORM.h"
#include "store/sqlitedb.h"

#include <QStringList>

namespace {

QString idList(const QList<int32_t>& ids) {
    QStringList texts;
    for (const int32_t id : ids)
        texts << QString::number(id);
    return texts.join(QLatin1Char(','));
}

void mark(TSQLiteDatabase& db, const QList<int32_t>& ids, int32_t sent) {
    if (ids.isEmpty())
        return;
    TSQLiteORM orm(&db, QStringLiteral("zel_orders_detail"));
    orm.Where(QStringLiteral("id IN (%1) AND issettle=0").arg(idList(ids)))
        .SetField(QStringLiteral("iscal"), sent);
    if (orm.LastFailed())
        throw ESQLiteException(QStringLiteral("标记厨打菜品失败: ") + orm.LastError());
}

} // namespace

TKitchenPlan PlanKitchenTicket(TSQLiteDatabase& db, int32_t DeskID) {
    TSQLiteORM orm(&db, QStringLiteral("zel_orders_detail"));
    orm.Where(
        QStringLiteral("`deskid`=%1 AND `issettle`=0 AND `stat`>=0 AND `stat`<=7").arg(DeskID));
    orm.Order(QStringLiteral("`id` ASC"));
    const auto table = orm.Select();
    if (!table || orm.LastFailed())
        throw ESQLiteException(QStringLiteral("读取订单明细失败: ") + orm.LastError());
    TKitchenPlan plan;
    for (; !table->Eof(); table->Next()) {
        const TSQLiteTable* t = table.get();
        const int32_t id = TSQLiteORM::GetFieldAsInteger(t, QStringLiteral("id"));
        const int32_t sent = TSQLiteORM::GetFieldAsInteger(t, QStringLiteral("iscal"));
        const bool returned = TSQLiteORM::GetFieldAsInteger(t, QStringLiteral("stat")) == 7;
        ++plan.OpenLines;
        if (sent == 1 || sent == 2)
            plan.AddOn = true;
        // A return the kitchen never cooked for is no news: no cancellation.
        if (sent == (returned ? 2 : 1) || (returned && sent == 0))
            continue;
        (returned ? plan.ReturnedIDs : plan.NewIDs) << id;
        plan.Lines << TKitchenTicketLine{
            TSQLiteORM::GetFieldAsString(t, QStringLiteral("title")),
            TSQLiteORM::GetFieldAsString(t, QStringLiteral("quantity")), returned};
    }
    return plan;
}

QString BuildKitchenTicket(const TTicketSettings& settings, const QString& DeskBH,
                           const TKitchenPlan& plan) {
    return BuildKitchenTicket(settings, DeskBH, plan.Lines, plan.AddOn);
}

void MarkKitchenSent(TSQLiteDatabase& db, const TKitchenPlan& plan) {
    TSQLiteTransaction transaction(db);
    mark(db, plan.NewIDs, 1);
    mark(db, plan.ReturnedIDs, 2);
    transaction.Commit();
}

QString KitchenSentNote(const TKitchenPlan& plan) {
    QStringList parts;
    if (!plan.NewIDs.isEmpty())
        parts << QStringLiteral("%1道菜").arg(plan.NewIDs.size());
    if (!plan.ReturnedIDs.isEmpty())
        parts << QStringLiteral("退菜%1道").arg(plan.ReturnedIDs.size());
    return QStringLiteral("已送厨房：") + parts.join(QStringLiteral("，"));
}
