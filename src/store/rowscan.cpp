#include "store/rowscan.h"

#include "store/sqlitedb.h"

#include <sqlite3.h>

namespace {

struct StmtFinalizer {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};

[[noreturn]] void raise(sqlite3* db, const QString& what, const QString& sql) {
    throw ESQLiteException(
        what + QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(db)) +
        (sql.isEmpty() ? QString() : QStringLiteral(" \"") + sql + QLatin1Char('"')));
}

} // namespace

int64_t TScanRow::Int(int column) const {
    return sqlite3_column_int64(FStmt, column);
}

double TScanRow::Double(int column) const {
    return sqlite3_column_double(FStmt, column);
}

QByteArrayView TScanRow::Utf8(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(FStmt, column));
    return text ? QByteArrayView(text, sqlite3_column_bytes(FStmt, column)) : QByteArrayView();
}

QString TScanRow::Text(int column) const {
    return QString::fromUtf8(Utf8(column));
}

bool TScanRow::IsNull(int column) const {
    return sqlite3_column_type(FStmt, column) == SQLITE_NULL;
}

void TRowScanner::Closer::operator()(sqlite3* db) const {
    // Ends the snapshot; a read has nothing to keep.
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

TRowScanner::TRowScanner(const QString& file) : FFile(file) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(file.toUtf8().constData(), &raw,
                                   SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    FDb.reset(raw);
    if (rc != SQLITE_OK)
        raise(raw, QStringLiteral("无法打开数据库 ") + file, QString());
    // A settlement being committed holds the file for a moment.
    sqlite3_busy_timeout(raw, 2000);
    if (sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        raise(raw, QStringLiteral("无法读取数据库 ") + file, QString());
}

TRowScanner::~TRowScanner() = default;

void TRowScanner::Scan(const QString& sql, const std::function<void(const TScanRow&)>& visit) {
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(FDb.get(), utf8.constData(), int(utf8.size()), &raw, nullptr) !=
        SQLITE_OK)
        raise(FDb.get(), QStringLiteral("读取失败"), sql);
    const std::unique_ptr<sqlite3_stmt, StmtFinalizer> stmt(raw);
    const TScanRow row(raw);
    for (;;) {
        const int rc = sqlite3_step(raw);
        if (rc == SQLITE_DONE)
            return;
        if (rc != SQLITE_ROW)
            raise(FDb.get(), QStringLiteral("读取失败"), sql);
        visit(row);
    }
}
