#include "floor/classedit.h"

#include "common/myfun.h"
#include "store/SQLiteORM.h"

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

int32_t SaveClass(TSQLiteDatabase& db, TClassKind kind, int32_t editid, const TClassInput& input) {
    const TValueDict values{
        {QStringLiteral("title"), input.title},
        {QStringLiteral("sort"), SortToStore(input.sort)},
    };
    TSQLiteORM orm(&db, ClassTable(kind));
    if (editid <= 0) {
        const int64_t id = orm.AddAndGetID(values);
        RaiseIfFailed<EMasterDataError>(orm, QStringLiteral("添加失败: "));
        return int32_t(id);
    }
    orm.Where(QStringLiteral("id=") + QString::number(editid)).Save(values);
    RaiseIfWriteFailed(orm, QStringLiteral("保存失败: "));
    return editid;
}
