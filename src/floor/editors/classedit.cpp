#include "floor/editors/classedit.h"

#include "common/myfun.h"
#include "store/SQLiteORM.h"

#include <algorithm>

QString ClassTable(TClassKind kind) {
    return kind == TClassKind::DishCategory ? QStringLiteral("zel_caipin_class")
                                            : QStringLiteral("zel_desk_class");
}

std::optional<TInputError> ValidateClass(TClassKind kind, const TClassInput& input) {
    if (input.title.trimmed().isEmpty())
        return TInputError{QStringLiteral("请输入分类名称！"), TInputField::Title};
    const QString sort = kind == TClassKind::DishCategory ? input.sort : input.sort.trimmed();
    if (!IsInt(sort))
        return TInputError{QStringLiteral("排序值必须为整数！"), TInputField::Sort};
    return std::nullopt;
}

std::optional<TClassRecord> LoadClass(TSQLiteDatabase& db, TClassKind kind, int32_t id) {
    TSQLiteORM orm(&db, ClassTable(kind));
    auto rows = orm.Where(QStringLiteral("id=") + QString::number(id)).Find();
    RaiseIfFailed<EMasterDataError>(orm, QStringLiteral("加载失败: "));
    if (!rows || rows->Eof())
        return std::nullopt;
    return TClassRecord{TSQLiteORM::GetFieldAsString(rows.get(), QStringLiteral("title")),
                        TSQLiteORM::GetFieldAsString(rows.get(), QStringLiteral("sort"))};
}

namespace {

const QString kIdSeq = QStringLiteral("zel_idseq");

QString seqRow(const QString& table) {
    return QStringLiteral("name='") + table + QLatin1Char('\'');
}

int32_t highest(TSQLiteDatabase& db, const QString& table, const QString& field,
                const QString& condition = QString()) {
    TSQLiteORM orm(&db, table);
    if (!condition.isEmpty())
        orm.Where(condition);
    const int32_t value = orm.Max(field).toInt();
    RaiseIfFailed<EMasterDataError>(orm, QStringLiteral("添加失败: "));
    return value;
}

// Above every id the table ever handed out and every cid that points into it:
// a new category or area never adopts the dishes or tables of a deleted one.
// The cids cover ids used before the ids were recorded.
int32_t newClassId(TSQLiteDatabase& db, TClassKind kind) {
    const QString table = ClassTable(kind);
    const QString holders = kind == TClassKind::DishCategory ? QStringLiteral("zel_caipin")
                                                             : QStringLiteral("zel_desk");
    return std::max({highest(db, kIdSeq, QStringLiteral("lastid"), seqRow(table)),
                     highest(db, table, QStringLiteral("id")),
                     highest(db, holders, QStringLiteral("cid"))}) +
           1;
}

void recordClassId(TSQLiteDatabase& db, TClassKind kind, int32_t id) {
    const QString table = ClassTable(kind);
    TSQLiteORM seq(&db, kIdSeq);
    seq.Where(seqRow(table)).Save({{QStringLiteral("lastid"), id}});
    if (seq.LastNoRow())
        seq.Add({{QStringLiteral("name"), table}, {QStringLiteral("lastid"), id}});
    RaiseIfFailed<EMasterDataError>(seq, QStringLiteral("添加失败: "));
}

int32_t addClass(TSQLiteDatabase& db, TClassKind kind, TValueDict values) {
    try {
        TSQLiteTransaction transaction(db);
        const int32_t id = newClassId(db, kind);
        values.insert(QStringLiteral("id"), id);
        TSQLiteORM orm(&db, ClassTable(kind));
        orm.Add(values);
        RaiseIfFailed<EMasterDataError>(orm, QStringLiteral("添加失败: "));
        recordClassId(db, kind, id);
        transaction.Commit();
        return id;
    } catch (const ESQLiteException& e) {
        throw EMasterDataError(QStringLiteral("添加失败: ") + e.Message());
    }
}

} // namespace

int32_t SaveClass(TSQLiteDatabase& db, TClassKind kind, int32_t editid, const TClassInput& input) {
    const TValueDict values{
        {QStringLiteral("title"), input.title},
        {QStringLiteral("sort"), SortToStore(input.sort)},
    };
    if (editid <= 0)
        return addClass(db, kind, values);
    TSQLiteORM orm(&db, ClassTable(kind));
    orm.Where(QStringLiteral("id=") + QString::number(editid)).Save(values);
    RaiseIfWriteFailed(orm, QStringLiteral("保存失败: "));
    return editid;
}
