#include "floor/editors/deskedit.h"

#include "common/myfun.h"
#include "store/SQLiteORM.h"

std::optional<TInputError> ValidateDesk(const TDeskInput& input) {
    if (input.title.trimmed().isEmpty())
        return TInputError{QStringLiteral("请输入桌位名称！"), TInputField::Title};
    const QString sort = input.sort.trimmed();
    if (!sort.isEmpty() && !IsInt(sort))
        return TInputError{QStringLiteral("排序值必须是整数！"), TInputField::Sort};
    return std::nullopt;
}

std::optional<TDeskRecord> LoadDesk(TSQLiteDatabase& db, int32_t id) {
    TSQLiteORM orm(&db, QStringLiteral("zel_desk"));
    auto row = orm.Where(QStringLiteral("id = %d"), {id}).First();
    RaiseIfFailed<EMasterDataError>(orm, QStringLiteral("加载失败: "));
    if (!row || row->Eof())
        return std::nullopt;
    return TDeskRecord{TSQLiteORM::GetFieldAsString(row.get(), QStringLiteral("title")),
                       TSQLiteORM::GetFieldAsString(row.get(), QStringLiteral("bh")),
                       TSQLiteORM::GetFieldAsInteger(row.get(), QStringLiteral("sort")),
                       TSQLiteORM::GetFieldAsInteger(row.get(), QStringLiteral("cid"))};
}

int32_t SaveDesk(TSQLiteDatabase& db, int32_t editid, const TDeskInput& input,
                 const QDateTime& now) {
    const TValueDict values{
        {QStringLiteral("title"), input.title},
        {QStringLiteral("bh"), input.bh.trimmed()},
        {QStringLiteral("sort"), SortToStore(input.sort)},
        {QStringLiteral("cid"), input.cid},
        {QStringLiteral("addtime"), getunittime(now)},
    };
    TSQLiteORM orm(&db, QStringLiteral("zel_desk"));
    if (editid <= 0) {
        const int64_t id = orm.AddAndGetID(values);
        RaiseIfFailed<EMasterDataError>(orm, QStringLiteral("添加失败: "));
        return int32_t(id);
    }
    // A table deleted in its list is gone too, though its row stays.
    orm.Where(QStringLiteral("id = %d AND deleted=0"), {editid}).Save(values);
    RaiseIfWriteFailed(orm, QStringLiteral("保存失败: "));
    return editid;
}
