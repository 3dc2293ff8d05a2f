#include "ordering/TOrderManager.h"

#include "common/clock.h"
#include "common/messages.h"
#include "common/myfun.h"
#include "ordering/ordererror.h"
#include "store/SQLiteORM.h"
#include "store/sqlitedb.h"

#include <cmath>
#include <exception>

namespace {

const QString kCart = QStringLiteral("zel_cart");
const QString kDetail = QStringLiteral("zel_orders_detail");
const QString kCartKey = QStringLiteral("deskid = %s AND caipinid = %d AND skuid = %d");

// Runs work and re-raises any failure with prefix in front of its message.
template <typename Work> auto guarded(const QString& prefix, Work&& work) -> decltype(work()) {
    try {
        return work();
    } catch (const std::exception& e) {
        throw EOrderError(prefix + QString::fromUtf8(e.what()));
    }
}

bool isDeskID(const QString& id) {
    for (const QChar c : id)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

double strictToFloat(const QString& text) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok)
        throw EOrderError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

} // namespace

TOrderManager::TOrderManager(TSQLiteDatabase* ADatabase) : FDatabase(ADatabase) {}

void TOrderManager::SetDeskID(const QString& ADeskID) {
    // The id goes into SQL text unquoted, so anything but digits is refused.
    if (!isDeskID(ADeskID)) {
        FDeskID.clear();
        FOrderList.clear();
        FConfirmedOrderList.clear();
        throw EOrderError(QStringLiteral("桌位编号无效: ") + ADeskID);
    }
    FDeskID = ADeskID;
    LoadCartItems();
    LoadConfirmedItems();
}

void TOrderManager::requireDesk() const {
    if (FDeskID.isEmpty())
        throw EOrderError(QStringLiteral("未选择桌位"));
}

void TOrderManager::LoadCartItems() {
    FOrderList.clear();
    if (FDeskID.isEmpty())
        return;
    guarded(QStringLiteral("加载购物车失败: "), [&] {
        const QString sql =
            QStringLiteral(
                "SELECT `A1`.`id`, `A1`.`quantity`, `A2`.`id` AS `caipinid`, `A2`.`title`, "
                "`A1`.`quantity`, "
                "CASE WHEN `A3`.`id` IS NULL THEN 0 ELSE `A1`.`skuid` END AS `skuid`, "
                "CASE WHEN `A3`.`id` IS NULL THEN '' ELSE `A3`.`title` END AS `sku`, "
                "CASE WHEN `A3`.`id` IS NULL THEN `A2`.`price` ELSE `A3`.`price` END AS `price`, "
                "`A1`.`addtime` "
                "FROM `zel_cart` AS `A1` "
                "LEFT JOIN `zel_caipin` AS `A2` ON `A1`.`caipinid` = `A2`.`id` "
                "LEFT JOIN `zel_caipin_sku` AS `A3` ON `A1`.`skuid` = `A3`.`id` "
                "AND `A3`.`deleted` = 0 "
                "WHERE `A1`.`deskid` = %1 AND `A1`.`quantity` > 0 "
                // id breaks ties between rows changed in the same millisecond.
                "ORDER BY `A1`.`addtime` ASC, `A1`.`id` ASC")
                .arg(FDeskID);
        const auto rows = FDatabase->GetTable(sql);
        if (rows->RowCount() == 0)
            return;
        const int colID = rows->FieldIndex(QStringLiteral("id"));
        const int colCaipin = rows->FieldIndex(QStringLiteral("caipinid"));
        const int colTitle = rows->FieldIndex(QStringLiteral("title"));
        const int colQuantity = rows->FieldIndex(QStringLiteral("quantity"));
        const int colPrice = rows->FieldIndex(QStringLiteral("price"));
        const int colSku = rows->FieldIndex(QStringLiteral("sku"));
        const int colSkuID = rows->FieldIndex(QStringLiteral("skuid"));
        for (; !rows->Eof(); rows->Next()) {
            TOrderItem item;
            item.CartID = int32_t(rows->FieldAsInteger(colID));
            item.caipinid = int32_t(rows->FieldAsInteger(colCaipin));
            item.title = rows->FieldAsString(colTitle);
            item.Quantity = SafeStrToFloat(rows->FieldAsString(colQuantity));
            item.Price = SafeStrToFloat(rows->FieldAsString(colPrice));
            item.sku = rows->FieldAsString(colSku);
            item.skuid = int32_t(rows->FieldAsInteger(colSkuID));
            item.SpecSelected = item.skuid > 0;
            if (item.Quantity > 0)
                FOrderList.append(item);
        }
    });
}

void TOrderManager::LoadConfirmedItems() {
    FConfirmedOrderList.clear();
    if (FDeskID.isEmpty())
        return;
    guarded(QStringLiteral("加载已点单失败: "), [&] {
        TSQLiteORM orm(FDatabase, kDetail);
        orm.Where(QStringLiteral("issettle=0 AND deskid = ") + FDeskID +
                  QStringLiteral(" AND stat in(0,1,2,3,4,5,6,7)"));
        orm.Order(QStringLiteral("addtime ASC, id ASC"));
        const auto rows = orm.Select();
        RaiseIfFailed<EOrderError>(orm);
        if (rows->RowCount() == 0)
            return;
        const int colID = rows->FieldIndex(QStringLiteral("id"));
        const int colCaipin = rows->FieldIndex(QStringLiteral("caipinid"));
        const int colTitle = rows->FieldIndex(QStringLiteral("title"));
        const int colQuantity = rows->FieldIndex(QStringLiteral("quantity"));
        const int colPrice = rows->FieldIndex(QStringLiteral("oneprice"));
        const int colSku = rows->FieldIndex(QStringLiteral("sku"));
        const int colSkuID = rows->FieldIndex(QStringLiteral("skuid"));
        const int colStat = rows->FieldIndex(QStringLiteral("stat"));
        for (; !rows->Eof(); rows->Next()) {
            TOrderItem item;
            item.DetailID = int32_t(rows->FieldAsInteger(colID));
            item.caipinid = int32_t(rows->FieldAsInteger(colCaipin));
            item.title = rows->FieldAsString(colTitle);
            item.Quantity = strictToFloat(rows->FieldAsString(colQuantity));
            // Unit prices are shown and summed cut to cents.
            item.Price = SafeStrToFloat(FormatPno(rows->FieldAsDouble(colPrice), 2));
            item.sku = rows->FieldAsString(colSku);
            item.skuid = int32_t(rows->FieldAsInteger(colSkuID));
            item.SpecSelected = item.skuid > 0;
            item.Stat = int32_t(rows->FieldAsInteger(colStat));
            FConfirmedOrderList.append(item);
        }
    });
}

int32_t TOrderManager::FindOrderItemIndex(int32_t caipinid, int32_t skuid) const {
    for (qsizetype i = 0; i < FOrderList.size(); ++i)
        if (FOrderList.at(i).caipinid == caipinid && FOrderList.at(i).skuid == skuid)
            return int32_t(i);
    return -1;
}

int32_t TOrderManager::FindCartLineIndex(int32_t CartID) const {
    for (qsizetype i = 0; i < FOrderList.size(); ++i)
        if (FOrderList.at(i).CartID == CartID)
            return int32_t(i);
    return -1;
}

bool TOrderManager::CheckCartItemExists(int32_t caipinid, int32_t skuid) {
    if (FDeskID.isEmpty())
        return false;
    return guarded(QStringLiteral("检查购物车项失败: "), [&] {
        TSQLiteORM orm(FDatabase, kCart);
        const auto rows = orm.Where(kCartKey, {FDeskID, caipinid, skuid}).Select();
        RaiseIfFailed<EOrderError>(orm);
        return rows->RowCount() > 0;
    });
}

void TOrderManager::AddOrUpdateOrderItem(const TOrderItem& OrderItem) {
    guarded(QStringLiteral("保存订单失败: "), [&] {
        requireDesk();
        const int32_t Index = FindOrderItemIndex(OrderItem.caipinid, OrderItem.skuid);
        const QString CurrentTime = getunittimes(zclock::Now());
        // Quantity and time in one statement: one disk sync per press, and
        // never a new quantity with a stale time.
        const TValueDict change{{QStringLiteral("quantity"), OrderItem.Quantity},
                                {QStringLiteral("addtime"), CurrentTime}};
        TOrderItem line = OrderItem;
        line.CartID = Index >= 0 ? FOrderList.at(Index).CartID : 0;
        TSQLiteORM orm(FDatabase, kCart);
        bool stored = false;
        if (line.CartID > 0) {
            // A line read from the store changes its own row, whatever
            // specification it shows now.
            // Gone meanwhile: found again by its key or added below.
            stored = orm.Where(QStringLiteral("id = %d AND deskid = %s"), {line.CartID, FDeskID})
                         .Save(change);
            if (!orm.LastNoRow())
                RaiseIfFailed<EOrderError>(orm);
        }
        if (!stored && CheckCartItemExists(OrderItem.caipinid, OrderItem.skuid)) {
            orm.Where(kCartKey, {FDeskID, OrderItem.caipinid, OrderItem.skuid}).Save(change);
            RaiseIfFailed<EOrderError>(orm);
            line.CartID = 0; // found by its key; its row is not read back
        } else if (!stored) {
            const TValueDict data{
                {QStringLiteral("deskid"), FDeskID},
                {QStringLiteral("caipinid"), OrderItem.caipinid},
                {QStringLiteral("quantity"), OrderItem.Quantity},
                {QStringLiteral("skuid"), OrderItem.skuid},
                {QStringLiteral("addtime"), CurrentTime},
            };
            line.CartID = int32_t(orm.AddAndGetID(data));
            RaiseIfFailed<EOrderError>(orm);
        }
        // A line still in memory is overwritten even when its row had to be
        // inserted again, so the screen never shows a stale quantity.
        if (Index >= 0)
            FOrderList[Index] = line;
        else
            FOrderList.append(line);
    });
}

void TOrderManager::RemoveOrderItem(int32_t caipinid, int32_t skuid, int32_t CartID) {
    guarded(QStringLiteral("删除订单失败: "), [&] {
        requireDesk();
        int32_t Index = CartID > 0 ? FindCartLineIndex(CartID) : -1;
        if (Index < 0)
            Index = FindOrderItemIndex(caipinid, skuid);
        const int32_t row = Index >= 0 ? FOrderList.at(Index).CartID : CartID;
        // The row stays with quantity 0 and is reused by the next pick.
        TSQLiteORM orm(FDatabase, kCart);
        if (row > 0)
            orm.Where(QStringLiteral("id = %d AND deskid = %s"), {row, FDeskID});
        else
            orm.Where(kCartKey, {FDeskID, caipinid, skuid});
        orm.SetField(QStringLiteral("quantity"), 0);
        RaiseIfFailed<EOrderError>(orm);
        if (Index >= 0)
            FOrderList.removeAt(Index);
    });
}

double TOrderManager::GetDishQuantity(int32_t caipinid) {
    if (FDeskID.isEmpty())
        return 0;
    return guarded(QStringLiteral("获取菜品数量失败: "), [&] {
        TSQLiteORM orm(FDatabase, kCart);
        const QVariant sum =
            orm.Where(QStringLiteral("deskid = ") + FDeskID + QStringLiteral(" AND caipinid = ") +
                      QString::number(caipinid))
                .Sum(QStringLiteral("quantity"));
        RaiseIfFailed<EOrderError>(orm);
        return sum.toDouble();
    });
}

void TOrderManager::MoveCartToConfirmed() {
    if (FOrderList.isEmpty())
        throw EOrderError(QStringLiteral("购物车中没有菜品！"));
    guarded(QStringLiteral("确认订单失败: "), [&] {
        TSQLiteTransaction transaction(*FDatabase);
        TSQLiteORM details(FDatabase, kDetail);
        for (qsizetype I = 0; I < FOrderList.size(); ++I) {
            const TOrderItem& item = FOrderList.at(I);
            if (item.Quantity <= 0)
                continue;
            // Lines of one confirmation keep their basket order under "addtime, id".
            const QString CurrentTime = getunittimess(zclock::Now(), int32_t(I) * 10);
            const TValueDict data{
                {QStringLiteral("deskid"), FDeskID},
                {QStringLiteral("caipinid"), item.caipinid},
                {QStringLiteral("title"), item.title},
                {QStringLiteral("quantity"), item.Quantity},
                {QStringLiteral("oneprice"), item.Price},
                {QStringLiteral("price"), item.Price * item.Quantity},
                {QStringLiteral("sku"), item.sku},
                {QStringLiteral("skuid"), item.skuid},
                {QStringLiteral("addtime"), CurrentTime},
                {QStringLiteral("stat"), 0},
            };
            details.Add(data);
            RaiseIfFailed<EOrderError>(details, QStringLiteral("第%1行「%2」写入已点单失败: ")
                                                    .arg(QString::number(I + 1), item.title));
        }
        TSQLiteORM cart(FDatabase, kCart);
        cart.Where(QStringLiteral("deskid = %s"), {FDeskID})
            .SetField(QStringLiteral("quantity"), 0);
        RaiseIfFailed<EOrderError>(cart, QStringLiteral("清空购物车失败: "));
        transaction.Commit();
    });
    // Emptied before the reload: the lines are committed, and a basket left
    // standing after a failed reload could be confirmed a second time.
    FOrderList.clear();
    LoadConfirmedItems();
}

double TOrderManager::CalculateCartTotal() const {
    double total = 0;
    for (const TOrderItem& item : FOrderList)
        total += item.TotalPrice();
    return total;
}

double TOrderManager::CalculateConfirmedTotal() const {
    double total = 0;
    for (const TOrderItem& item : FConfirmedOrderList)
        total += item.TotalPrice();
    return total;
}

double TOrderManager::CalculateConfirmedDisplayTotal() const {
    double total = 0;
    for (const TOrderItem& item : FConfirmedOrderList)
        if (item.Stat >= 0 && item.Stat <= 6)
            total += item.TotalPrice();
    // nearbyint rounds half to even in the default rounding mode.
    return std::nearbyint(total * 100) * 0.01;
}

double TOrderManager::UpdateDeskTotalPrice() const {
    return FDeskID.isEmpty() ? 0 : CalculateConfirmedDisplayTotal();
}

void TOrderManager::UpdateOrderStatus(int32_t DetailID, int32_t NewStat) {
    guarded(QStringLiteral("更新订单状态失败: "), [&] {
        TSQLiteORM orm(FDatabase, kDetail);
        // Settled lines never change, whatever a stale list holds.
        orm.Where(QStringLiteral("id = %d AND issettle=0"), {DetailID})
            .SetField(QStringLiteral("stat"), NewStat);
        RaiseIfFailed<EOrderError>(orm);
        LoadConfirmedItems();
    });
}

void TOrderManager::BatchUpdateOrderStatus(int32_t NewStat) {
    QStringList ids;
    for (const TOrderItem& item : FConfirmedOrderList)
        if (item.Selected)
            ids << QString::number(item.DetailID);
    if (ids.isEmpty()) {
        Messages().Info(MessageCaption(), QStringLiteral("请先选择要操作的菜品！"));
        return;
    }
    guarded(QStringLiteral("批量更新状态失败: "), [&] {
        {
            TSQLiteTransaction transaction(*FDatabase);
            TSQLiteORM orm(FDatabase, kDetail);
            orm.Where(QStringLiteral("id IN (") + ids.join(QLatin1Char(',')) +
                      QStringLiteral(") AND issettle=0"))
                .SetField(QStringLiteral("stat"), NewStat);
            RaiseIfFailed<EOrderError>(orm);
            transaction.Commit();
        }
        LoadConfirmedItems();
    });
}

double TOrderManager::GetCartTotalQuantity() const {
    double total = 0;
    for (const TOrderItem& item : FOrderList)
        total += item.Quantity;
    return total;
}

double TOrderManager::GetConfirmedTotalQuantity() const {
    double total = 0;
    for (const TOrderItem& item : FConfirmedOrderList)
        if (item.Stat != 7)
            total += item.Quantity;
    return total;
}
