#include "floor/view/deskreader.h"

#include "store/SQLiteORM.h"
#include "store/sqlitedb.h"

#include <memory>

namespace {

// The builder answers a failed statement with no result; the floor reports it.
std::unique_ptr<TSQLiteTable> checked(std::unique_ptr<TSQLiteTable> table, const TSQLiteORM& orm) {
    if (!table)
        throw ESQLiteException(orm.LastError());
    return table;
}

QList<TDeskRow> readRows(TSQLiteTable& t) {
    QList<TDeskRow> rows;
    if (t.Eof())
        return rows;
    const int id = t.FieldIndex(QStringLiteral("id"));
    const int title = t.FieldIndex(QStringLiteral("title"));
    const int bh = t.FieldIndex(QStringLiteral("bh"));
    const int nums = t.FieldIndex(QStringLiteral("nums"));
    const int price = t.FieldIndex(QStringLiteral("price"));
    const int stat = t.FieldIndex(QStringLiteral("stat"));
    rows.reserve(t.RowCount());
    for (; !t.Eof(); t.Next()) {
        TDeskRow row;
        row.id = int32_t(t.FieldAsInteger(id));
        row.title = t.FieldAsString(title);
        row.bh = t.FieldAsString(bh);
        row.nums = t.FieldAsString(nums);
        row.stat = t.FieldAsString(stat);
        row.price = t.FieldAsString(price).toDouble();
        rows.append(row);
    }
    return rows;
}

} // namespace

QList<TDeskRow> ReadDesks(const QString& FileName, int32_t CategoryID) {
    TSQLiteDatabase db(FileName);
    TSQLiteORM orm(&db, QStringLiteral("zel_desk"));
    const QString condition =
        CategoryID == 0 ? QStringLiteral("deleted=0")
                        : QStringLiteral("deleted=0 and cid=") + QString::number(CategoryID);
    auto table = checked(orm.Where(condition).Order(QStringLiteral("sort ASC")).Select(), orm);
    return readRows(*table);
}

std::optional<TDeskRow> ReadDesk(const QString& FileName, int32_t DeskID) {
    TSQLiteDatabase db(FileName);
    TSQLiteORM orm(&db, QStringLiteral("zel_desk"));
    auto table = checked(orm.Where(QStringLiteral("id=") + QString::number(DeskID)).First(), orm);
    const QList<TDeskRow> rows = readRows(*table);
    if (rows.isEmpty())
        return std::nullopt;
    return rows.first();
}

QList<TDeskClassRow> ReadDeskClasses(const QString& FileName) {
    TSQLiteDatabase db(FileName);
    TSQLiteORM orm(&db, QStringLiteral("zel_desk_class"));
    auto table = checked(orm.Order(QStringLiteral("sort ASC")).Select(), orm);
    QList<TDeskClassRow> rows;
    if (table->Eof())
        return rows;
    const int id = table->FieldIndex(QStringLiteral("id"));
    const int title = table->FieldIndex(QStringLiteral("title"));
    for (; !table->Eof(); table->Next())
        rows.append({int32_t(table->FieldAsInteger(id)), table->FieldAsString(title)});
    return rows;
}
