#include "floor/lists/masterdata.h"

#include "common/myfun.h"
#include "store/SQLiteORM.h"

#include <algorithm>
#include <cmath>

QString RecordGoneMessage() {
    return QStringLiteral("该记录已不存在，请刷新列表后重试");
}

void RaiseIfWriteFailed(const TSQLiteORM& orm, const QString& prefix) {
    if (orm.LastNoRow())
        throw EMasterDataError(RecordGoneMessage());
    RaiseIfFailed<EMasterDataError>(orm, prefix);
}

QList<TIdTitle> ReadIdTitles(TSQLiteDatabase& db, const QString& table) {
    TSQLiteORM orm(&db, table);
    orm.Order(QStringLiteral("id ASC"));
    auto rows = orm.Select();
    RaiseIfFailed<EMasterDataError>(orm);
    QList<TIdTitle> list;
    if (!rows)
        return list;
    for (; !rows->Eof(); rows->Next())
        list.append({TSQLiteORM::GetFieldAsInteger(rows.get(), QStringLiteral("id")),
                     TSQLiteORM::GetFieldAsString(rows.get(), QStringLiteral("title"))});
    return list;
}

int32_t GetMaxSortValue(TSQLiteDatabase& db, const QString& table) {
    TSQLiteORM orm(&db, table);
    const QVariant max = orm.Max(QStringLiteral("sort"));
    if (orm.LastFailed() || !max.isValid() || max.isNull())
        return 0;
    const QString text = max.toString().trimmed();
    return IsInt(text) ? text.toInt() : 0;
}

QString SortToStore(const QString& text) {
    const QString trimmed = text.trimmed();
    return IsInt(trimmed) ? trimmed : QStringLiteral("0");
}

bool HasAtMostTwoDecimals(double value) {
    const double cents = value * 100.0;
    // Binary doubles hold 0.29 as 28.999999999999996 cents.
    return std::abs(cents - std::round(cents)) < 1e-12 * std::max(1.0, std::abs(cents));
}
