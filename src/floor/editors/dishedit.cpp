#include "floor/editors/dishedit.h"

#include "common/myfun.h"
#include "store/SQLiteORM.h"

namespace {

// A price that passed ValidateDish; blanks around it are not part of it.
double priceValue(const QString& text) {
    return SafeStrToFloat(text.trimmed());
}

std::optional<TInputError> checkPrice(const QString& text, TInputField field, int row,
                                      const QString& missing, const QString& malformed,
                                      const QString& negative) {
    const QString price = text.trimmed();
    if (price.isEmpty())
        return TInputError{missing, field, row};
    if (!IsNumeric(price))
        return TInputError{malformed, field, row};
    const double value = SafeStrToFloat(price);
    if (value < 0)
        return TInputError{negative, field, row};
    if (!HasAtMostTwoDecimals(value))
        return TInputError{malformed, field, row};
    return std::nullopt;
}

} // namespace

std::optional<TInputError> ValidateDish(const TDishInput& input) {
    if (input.title.trimmed().isEmpty())
        return TInputError{QStringLiteral("请输入菜品名称！"), TInputField::Title};
    if (auto error =
            checkPrice(input.price, TInputField::Price, -1, QStringLiteral("请输入菜品价格！"),
                       QStringLiteral("价格格式不正确！"), QStringLiteral("价格不能为负数！")))
        return error;
    const QString sort = input.sort.trimmed();
    if (!sort.isEmpty() && !IsInt(sort))
        return TInputError{QStringLiteral("排序值必须是整数！"), TInputField::Sort};
    for (int i = 0; i < input.skus.size(); ++i) {
        const TSkuInput& sku = input.skus[i];
        if (sku.IsDeleted)
            continue;
        if (sku.title.trimmed().isEmpty())
            return TInputError{QStringLiteral("请输入做法名称！"), TInputField::SkuName, i};
        if (auto error = checkPrice(
                sku.price, TInputField::SkuPrice, i, QStringLiteral("请输入做法价格！"),
                QStringLiteral("做法价格格式不正确！"), QStringLiteral("做法价格不能为负数！")))
            return error;
    }
    return std::nullopt;
}

std::optional<TDishRecord> LoadDish(TSQLiteDatabase& db, int32_t id) {
    TSQLiteORM orm(&db, QStringLiteral("zel_caipin"));
    auto row = orm.Where(QStringLiteral("id=") + QString::number(id)).First();
    RaiseIfFailed<EMasterDataError>(orm, QStringLiteral("加载失败: "));
    if (!row || row->Eof())
        return std::nullopt;
    TDishRecord dish;
    dish.title = TSQLiteORM::GetFieldAsString(row.get(), QStringLiteral("title"));
    dish.price = TSQLiteORM::GetFieldAsDouble(row.get(), QStringLiteral("price"));
    dish.sort = TSQLiteORM::GetFieldAsInteger(row.get(), QStringLiteral("sort"));
    dish.cid = TSQLiteORM::GetFieldAsInteger(row.get(), QStringLiteral("cid"));
    return dish;
}

QList<TSkuRecord> LoadDishSkus(TSQLiteDatabase& db, int32_t id) {
    TSQLiteORM skus(&db, QStringLiteral("zel_caipin_sku"));
    skus.Where(QStringLiteral("rootid=") + QString::number(id) + QStringLiteral(" AND deleted=0"));
    skus.Order(QStringLiteral("id ASC"));
    auto rows = skus.Select();
    RaiseIfFailed<EMasterDataError>(skus, QStringLiteral("加载做法数据失败: "));
    QList<TSkuRecord> list;
    for (; rows && !rows->Eof(); rows->Next())
        list.append({TSQLiteORM::GetFieldAsInteger(rows.get(), QStringLiteral("id")),
                     TSQLiteORM::GetFieldAsString(rows.get(), QStringLiteral("title")),
                     TSQLiteORM::GetFieldAsDouble(rows.get(), QStringLiteral("price"))});
    return list;
}

TDishSaved SaveDish(TSQLiteDatabase& db, int32_t editid, const TDishInput& input,
                    const QDateTime& now) {
    TDishSaved saved;
    try {
        TSQLiteTransaction transaction(db);
        const TValueDict dish{
            {QStringLiteral("title"), input.title},
            {QStringLiteral("price"), priceValue(input.price)},
            {QStringLiteral("sort"), SortToStore(input.sort)},
            {QStringLiteral("cid"), input.cid},
            {QStringLiteral("addtime"), getunittime(now)},
        };
        TSQLiteORM orm(&db, QStringLiteral("zel_caipin"));
        if (editid <= 0) {
            const int64_t id = orm.AddAndGetID(dish);
            RaiseIfFailed<EMasterDataError>(orm, QStringLiteral("添加菜品失败: "));
            saved.id = int32_t(id);
            saved.added = true;
        } else {
            // A dish deleted in its list is gone too, though its row stays;
            // the raise comes before any specification row is written.
            orm.Where(QStringLiteral("id = %d AND deleted=0"), {editid}).Save(dish);
            RaiseIfWriteFailed(orm, QStringLiteral("保存菜品失败: "));
            saved.id = editid;
        }

        TSQLiteORM skus(&db, QStringLiteral("zel_caipin_sku"));
        for (const TSkuInput& sku : input.skus) {
            if (sku.IsDeleted) {
                saved.skuIds.append(0);
                continue;
            }
            const TValueDict values{
                {QStringLiteral("rootid"), saved.id},
                {QStringLiteral("title"), sku.title.trimmed()},
                {QStringLiteral("price"), priceValue(sku.price)},
                {QStringLiteral("deleted"), QStringLiteral("0")},
            };
            if (sku.SkuId <= 0 || sku.IsNew) {
                const int64_t id = skus.AddAndGetID(values);
                RaiseIfFailed<EMasterDataError>(skus, QStringLiteral("保存做法失败: "));
                saved.skuIds.append(int32_t(id));
            } else {
                skus.Where(QStringLiteral("id = %d"), {sku.SkuId}).Save(values);
                RaiseIfWriteFailed(skus, QStringLiteral("保存做法失败: "));
                saved.skuIds.append(sku.SkuId);
            }
        }
        try {
            UpdateCaipinIsskuField(db, saved.id);
        } catch (const EMasterDataError& e) {
            throw EMasterDataError(QStringLiteral("更新菜品SKU标记失败: ") + e.Message());
        }
        transaction.Commit();
    } catch (const ESQLiteException& e) {
        throw EMasterDataError(QStringLiteral("保存失败: ") + e.Message());
    }
    return saved;
}

void DeleteSku(TSQLiteDatabase& db, int32_t skuId) {
    TSQLiteORM orm(&db, QStringLiteral("zel_caipin_sku"));
    orm.Where(QStringLiteral("id = ") + QString::number(skuId))
        .SetField(QStringLiteral("deleted"), QStringLiteral("1"));
    RaiseIfFailed<EMasterDataError>(orm);
}

void UpdateCaipinIsskuField(TSQLiteDatabase& db, int32_t CaipinId) {
    if (CaipinId <= 0)
        return;
    TSQLiteORM skus(&db, QStringLiteral("zel_caipin_sku"));
    skus.Where(QStringLiteral("deleted=0 AND rootid=") + QString::number(CaipinId));
    const int32_t count = skus.Count();
    RaiseIfFailed<EMasterDataError>(skus);
    TSQLiteORM dish(&db, QStringLiteral("zel_caipin"));
    dish.Where(QStringLiteral("id = ") + QString::number(CaipinId))
        .SetField(QStringLiteral("issku"), count > 0 ? 1 : 0);
    RaiseIfFailed<EMasterDataError>(dish);
}
