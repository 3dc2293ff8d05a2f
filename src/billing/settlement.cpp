#include "billing/settlement.h"

#include "billing/deskops.h"
#include "common/myfun.h"
#include "store/SQLiteORM.h"

#include <QStringList>

#include <memory>

ESettleError::ESettleError(const QString& message, bool insertFailed)
    : std::runtime_error(message.toUtf8().toStdString()), m_insertFailed(insertFailed) {}

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

void check(const TSQLiteORM& orm, bool ok, const QString& what) {
    if (!ok || orm.LastFailed())
        throw ESettleError(what + orm.LastError());
}

} // namespace

TSettleResult Settle(const QString& FileName, const TSettleInput& input, const TSettlePlan& plan,
                     const std::function<void(TSettleStep)>& onStep) {
    const auto step = [&](TSettleStep s) {
        if (onStep)
            onStep(s);
    };
    std::unique_ptr<TSQLiteDatabase> db;
    try {
        db = std::make_unique<TSQLiteDatabase>(FileName);
        db->ExecSQL(QStringLiteral("PRAGMA foreign_keys = ON;"));
        db->BeginTransaction();
    } catch (const ESQLiteException& e) {
        throw ESettleError(e.Message());
    }

    // Leaving this scope without the commit destroys the connection, which
    // rolls the open transaction back.
    TSettleResult result;
    result.AddTime = getnowtime();
    result.OrdID = getordid();

    TSQLiteORM orders(db.get(), QStringLiteral("zel_orders"));
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
        throw ESettleError(QStringLiteral("插入主订单数据失败"), true);
    step(TSettleStep::OrderInserted);

    TSQLiteORM lines(db.get(), QStringLiteral("zel_orders_detail"));
    check(lines,
          lines.Where(QStringLiteral("id IN (%1)").arg(plan.IdList))
              .Save({{QStringLiteral("rootid"), qlonglong(result.OrderID)},
                     {QStringLiteral("issettle"), 1}}),
          QStringLiteral("更新订单明细失败: "));
    step(TSettleStep::LinesSettled);

    TSQLiteORM desk(db.get(), QStringLiteral("zel_desk"));
    check(desk, desk.Where(QStringLiteral("id=%1").arg(input.DeskID)).Save(FreeDeskValues()),
          QStringLiteral("更新桌位失败: "));
    step(TSettleStep::DeskReset);

    TSQLiteORM cart(db.get(), QStringLiteral("zel_cart"));
    cart.Where(QStringLiteral("deskid=%1").arg(input.DeskID))
        .SetField(QStringLiteral("quantity"), 0.0);
    check(cart, true, QStringLiteral("清空购物车失败: "));
    step(TSettleStep::CartEmptied);

    try {
        db->Commit();
    } catch (const ESQLiteException& e) {
        throw ESettleError(e.Message());
    }
    return result;
}
