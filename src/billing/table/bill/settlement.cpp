#include "billing/table/bill/settlement.h"

#include "billing/table/deskops.h"
#include "billing/table/deskview.h"
#include "common/myfun.h"
#include "store/SQLiteORM.h"

#include <QMap>
#include <QStringList>

ESettleError::ESettleError(const QString& message, TSettleFailure kind)
    : std::runtime_error(message.toUtf8().toStdString()), m_kind(kind) {}

QString DeskChangedMessage() {
    return QStringLiteral("该桌订单已被修改或已结算，请核对后重新结算");
}

TSettlePlan PlanSettlement(const TSettleInput& input) {
    TSettlePlan plan;
    if (input.Lines.isEmpty()) {
        plan.Refusal = QStringLiteral("没有订单明细可结算");
        return plan;
    }
    QStringList ids;
    for (const TSettleLine& line : input.Lines) {
        // Returned lines are settled with the rest but are not paid for.
        if (line.Stat != 7)
            plan.Total += SafeStrToFloat(line.Subtotal);
        if (line.DetailID > 0)
            ids << QString::number(line.DetailID);
    }
    plan.IdList = ids.join(QLatin1Char(','));
    // Booked in whole cents, as 合计 shows it: 10.10 + 20.20 is 30.30, not 30.2999…
    plan.Total = double(qRound64(plan.Total * 100)) / 100;
    if (plan.Total <= 0)
        plan.Refusal = QStringLiteral("订单金额为0，无需结算");
    else if (plan.IdList.isEmpty())
        plan.Refusal = QStringLiteral("没有找到有效的订单明细ID");
    return plan;
}

QString NormaliseSettleNumber(const QString& typed) {
    const QString text = typed.trimmed();
    return IsNumeric(text) ? text : QStringLiteral("0");
}

namespace {

// The listed lines against the table's open lines as stored now: same ids,
// states and amounts, or the bill on screen is not the bill in the file.
bool sameLines(const QList<TSettleLine>& listed, const QList<TDeskLine>& stored) {
    if (listed.size() != stored.size())
        return false;
    QMap<int32_t, const TDeskLine*> byId;
    for (const TDeskLine& line : stored)
        byId.insert(line.ID, &line);
    for (const TSettleLine& line : listed) {
        const TDeskLine* now = byId.value(line.DetailID);
        if (!now || now->Stat != line.Stat || now->Subtotal != line.Subtotal)
            return false;
    }
    return true;
}

TSettleResult settle(TSQLiteDatabase& db, const TSettleInput& input, const TSettlePlan& plan,
                     const std::function<void(TSettleStep)>& step) {
    TSQLiteTransaction transaction(db);
    // Read inside the transaction: from here no other connection can commit
    // a change to these lines before this one ends.
    if (!sameLines(input.Lines, ReadDeskLines(db, input.DeskID).Lines))
        throw ESettleError(DeskChangedMessage(), TSettleFailure::DeskChanged);

    TSettleResult result;
    result.AddTime = getnowtime();
    result.OrdID = getordid();
    TSQLiteORM orders(&db, QStringLiteral("zel_orders"));
    result.OrderID = orders.AddAndGetID({
        {QStringLiteral("ordid"), result.OrdID},
        {QStringLiteral("deskid"), input.DeskID},
        {QStringLiteral("title"), result.AddTime + QStringLiteral("结算订单")},
        {QStringLiteral("price"), plan.Total},
        {QStringLiteral("allprice"), plan.Total},
        {QStringLiteral("addtime"), result.AddTime},
        {QStringLiteral("stat"), 1},
        {QStringLiteral("nums"), NormaliseSettleNumber(input.Nums)},
        {QStringLiteral("fwy"), input.Fwy.trimmed()},
        {QStringLiteral("ydtruename"), input.Ydtruename.trimmed()},
        {QStringLiteral("ydtel"), input.Ydtel.trimmed()},
        {QStringLiteral("yj"), NormaliseSettleNumber(input.Yj)},
        {QStringLiteral("bh"), input.Deskbh},
        {QStringLiteral("deleted"), QStringLiteral("0")},
        {QStringLiteral("paytype"), QString::number(input.PayType)},
        {QStringLiteral("shishou"), NormaliseSettleNumber(input.Shishou)},
        {QStringLiteral("zhaoling"), NormaliseSettleNumber(input.Zhaoling)},
    });
    if (result.OrderID <= 0)
        throw ESettleError(QStringLiteral("插入主订单数据失败"), TSettleFailure::InsertFailed);
    step(TSettleStep::OrderInserted);

    // Only lines still open at this table; each listed one must be among them.
    TSQLiteORM lines(&db, QStringLiteral("zel_orders_detail"));
    lines
        .Where(
            QStringLiteral("id IN (%1) AND issettle=0 AND deskid=%2 AND stat in(0,1,2,3,4,5,6,7)")
                .arg(plan.IdList)
                .arg(input.DeskID))
        .Save({{QStringLiteral("rootid"), qlonglong(result.OrderID)},
               {QStringLiteral("issettle"), 1}});
    // No line left to settle is the table having changed, told below.
    if (!lines.LastNoRow())
        RaiseIfFailed<ESettleError>(lines, QStringLiteral("更新订单明细失败: "));
    if (db.Changes() != plan.IdList.count(QLatin1Char(',')) + 1)
        throw ESettleError(DeskChangedMessage(), TSettleFailure::DeskChanged);
    step(TSettleStep::LinesSettled);

    TSQLiteORM desk(&db, QStringLiteral("zel_desk"));
    desk.Where(QStringLiteral("id=%1").arg(input.DeskID)).Save(FreeDeskValues());
    RaiseIfFailed<ESettleError>(desk, QStringLiteral("更新桌位失败: "));
    step(TSettleStep::DeskReset);

    TSQLiteORM cart(&db, QStringLiteral("zel_cart"));
    cart.Where(QStringLiteral("deskid=%1").arg(input.DeskID))
        .SetField(QStringLiteral("quantity"), 0.0);
    RaiseIfFailed<ESettleError>(cart, QStringLiteral("清空购物车失败: "));
    step(TSettleStep::CartEmptied);

    transaction.Commit();
    return result;
}

} // namespace

TSettleResult Settle(const QString& FileName, const TSettleInput& input, const TSettlePlan& plan,
                     const std::function<void(TSettleStep)>& onStep) {
    const auto step = [&](TSettleStep s) {
        if (onStep)
            onStep(s);
    };
    try {
        TSQLiteDatabase db(FileName);
        db.ExecSQL(QStringLiteral("PRAGMA foreign_keys = ON;"));
        return settle(db, input, plan, step);
    } catch (const ESettleError&) {
        throw;
    } catch (const std::exception& e) {
        throw ESettleError(QString::fromUtf8(e.what()));
    }
}
