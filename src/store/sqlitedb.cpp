#include "store/sqlitedb.h"

#include "store/backupwait.h"
#include "store/decltype.h"
#include "store/floatformat.h"

#include <sqlite3.h>

namespace {

struct StmtFinalizer {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};
using StmtPtr = std::unique_ptr<sqlite3_stmt, StmtFinalizer>;

const QString kEndOfFile = QStringLiteral("Table is at End of File");

int32_t typeFromDecl(const QByteArray& decl, sqlite3_stmt* stmt, int col) {
    if (decl.isNull())
        return sqlite3_column_type(stmt, col);
    // Exact, case-sensitive: "integer" (the addtime columns) reads as text on purpose.
    if (decl == "INTEGER" || decl == "BOOLEAN")
        return dtInt;
    if (decl == "NUMERIC" || decl == "FLOAT" || decl == "DOUBLE" || decl == "REAL")
        return dtNumeric;
    if (decl == "BLOB")
        return dtBlob;
    return dtStr;
}

} // namespace

ESQLiteException::ESQLiteException(const QString& message)
    : std::runtime_error(message.toUtf8().toStdString()) {}

QString SQLiteErrorStr(int code) {
    static const char* const texts[] = {
        "Successful result",
        "SQL error or missing database",
        "An internal logic error in SQLite",
        "Access permission denied",
        "Callback routine requested an abort",
        "The database file is locked",
        "A table in the database is locked",
        "A malloc() failed",
        "Attempt to write a readonly database",
        "Operation terminated by sqlite3_interrupt()",
        "Some kind of disk I/O error occurred",
        "The database disk image is malformed",
        "(Internal Only) Table or record not found",
        "Insertion failed because database is full",
        "Unable to open the database file",
        "Database lock protocol error",
        "Database is empty",
        "The database schema changed",
        "Too much data for one row of a table",
        "Abort due to contraint violation",
        "Data type mismatch",
        "Library used incorrectly",
        "Uses OS features not supported on host",
        "Authorization denied",
        "Auxiliary database format error",
        "2nd parameter to sqlite3_bind out of range",
        "File opened that is not a database file",
    };
    if (code >= 0 && code < int(std::size(texts)))
        return QString::fromLatin1(texts[code]);
    if (code == 100)
        return QStringLiteral("sqlite3_step() has another row ready");
    if (code == 101)
        return QStringLiteral("sqlite3_step() has finished executing");
    return QStringLiteral("Unknown SQLite Error Code \"%1\"").arg(code);
}

// ---------------------------------------------------------------------------
// TSQLiteTable

bool TSQLiteTable::Next() {
    if (Eof())
        return false;
    ++fRow;
    return true;
}

void TSQLiteTable::checkNotEof() const {
    if (Eof())
        throw ESQLiteException(kEndOfFile);
}

void TSQLiteTable::checkColumn(int I) const {
    if (I < 0 || uint32_t(I) >= fColCount)
        throw ESQLiteException(QStringLiteral("Column index out of range: %1").arg(I));
}

const TSQLiteTable::Slot& TSQLiteTable::slot(int I) const {
    checkNotEof();
    checkColumn(I);
    return fResults[size_t(fRow) * fColCount + size_t(I)];
}

QString TSQLiteTable::Columns(int I) const {
    checkColumn(I);
    return fCols.at(I);
}

int32_t TSQLiteTable::ColumnType(int I) const {
    checkColumn(I);
    return fColTypes[size_t(I)];
}

int TSQLiteTable::FieldIndex(const QString& name) const {
    if (fCols.isEmpty())
        throw ESQLiteException(QStringLiteral("Field ") + name +
                               QStringLiteral(" Not found. Empty dataset"));
    const QString upper = name.toUpper();
    for (int i = 0; i < fCols.size(); ++i)
        if (fCols.at(i).compare(upper, Qt::CaseInsensitive) == 0)
            return i;
    throw ESQLiteException(QStringLiteral("Field not found in dataset: ") + name);
}

QByteArray TSQLiteTable::Fields(int I) const {
    const Slot& s = slot(I);
    switch (fColTypes[size_t(I)]) {
    case dtInt:
        return std::holds_alternative<int64_t>(s)
                   ? QByteArray::number(qlonglong(std::get<int64_t>(s)))
                   : QByteArray();
    case dtNumeric:
        return std::holds_alternative<double>(s) ? FloatToStrGeneral(std::get<double>(s)).toLatin1()
                                                 : QByteArray();
    case dtBlob:
        return FieldAsBlobText(I);
    case dtNull:
        return QByteArray();
    default:
        return std::holds_alternative<QByteArray>(s) ? std::get<QByteArray>(s) : QByteArray();
    }
}

QString TSQLiteTable::FieldAsString(int I) const {
    const Slot& s = slot(I);
    if (std::holds_alternative<std::monostate>(s))
        return QString();
    return QString::fromUtf8(Fields(I));
}

QString TSQLiteTable::notNumericMessage(int I, const char* format, const QString& tail) const {
    QString value;
    try {
        value = QString::fromUtf8(Fields(I));
    } catch (...) {
        value = QStringLiteral("[无法获取字段值]");
    }
    // One pass, so a "%" inside a value is never taken for a placeholder.
    return QString::fromUtf8(format).arg(Columns(I), QString::number(I),
                                         QString::number(fColTypes[size_t(I)]), value, tail);
}

int64_t TSQLiteTable::FieldAsInteger(int I) const {
    const Slot& s = slot(I);
    if (std::holds_alternative<std::monostate>(s))
        return 0;
    switch (fColTypes[size_t(I)]) {
    case dtInt:
        return std::get<int64_t>(s);
    case dtNumeric:
        return int64_t(std::get<double>(s)); // truncates toward zero
    default:
        throw ESQLiteException(notNumericMessage(
            I, "字段 \"%1\" (索引: %2) 不是整数或数字类型。字段类型: %3, 字段值: \"%4\", SQL: %5",
            QStringLiteral("请检查调用的SQL语句")));
    }
}

double TSQLiteTable::FieldAsDouble(int I) const {
    const Slot& s = slot(I);
    if (std::holds_alternative<std::monostate>(s))
        return 0;
    switch (fColTypes[size_t(I)]) {
    case dtInt:
        return double(std::get<int64_t>(s));
    case dtNumeric:
        return std::get<double>(s);
    default:
        throw ESQLiteException(notNumericMessage(
            I, "字段 \"%1\" (索引: %2) 不是整数或数字类型1。字段类型: %3, 字段值: \"%4\", SQL: %5",
            QStringLiteral("请检查调用的SQL语句") + Columns(I)));
    }
}

bool TSQLiteTable::FieldIsNull(int I) const {
    return std::holds_alternative<std::monostate>(slot(I));
}

QByteArray TSQLiteTable::FieldAsBlob(int I) const {
    const Slot& s = slot(I);
    if (std::holds_alternative<std::monostate>(s))
        return QByteArray();
    if (fColTypes[size_t(I)] != dtBlob)
        throw ESQLiteException(QStringLiteral("Not a Blob field"));
    return std::get<QByteArray>(s);
}

QByteArray TSQLiteTable::FieldAsBlobText(int I) const {
    return FieldAsBlob(I);
}

// ---------------------------------------------------------------------------
// TSQLiteDatabase

void TSQLiteDatabase::Closer::operator()(sqlite3* db) const {
    sqlite3_close(db);
}

TSQLiteDatabase::TSQLiteDatabase(const QString& FileName)
    : fDeclTypes(std::make_unique<TDeclTypeCache>()) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open(FileName.toUtf8().constData(), &db);
    fDB.reset(db);
    if (rc != SQLITE_OK) {
        if (db)
            throw ESQLiteException(QStringLiteral("Failed to open database \"%1\" : %2")
                                       .arg(FileName, QString::fromUtf8(sqlite3_errmsg(db))));
        throw ESQLiteException(
            QStringLiteral("Failed to open database \"%1\" : unknown error").arg(FileName));
    }
    InstallBackupWait(db);
}

TSQLiteDatabase::~TSQLiteDatabase() {
    if (fDB && InTransaction()) {
        try {
            Rollback();
        } catch (...) {
            // Closing the connection below discards the transaction anyway.
        }
    }
}

void TSQLiteDatabase::RaiseError(const QString& s, const QString& SQL) const {
    const int code = sqlite3_errcode(fDB.get());
    if (code == SQLITE_OK)
        throw ESQLiteException(s);
    const QString message = QString::fromUtf8(sqlite3_errmsg(fDB.get()));
    throw ESQLiteException(s + QStringLiteral(".\rError [%1]: %2.\r\"%3\": %4")
                                   .arg(QString::number(code), SQLiteErrorStr(code), SQL, message));
}

namespace {

StmtPtr prepare(sqlite3* db, const QString& SQL, const TSQLiteDatabase& owner) {
    const QByteArray utf8 = SQL.toUtf8();
    sqlite3_stmt* raw = nullptr;
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &raw, nullptr);
    StmtPtr stmt(raw);
    if (rc != SQLITE_OK)
        owner.RaiseError(QStringLiteral("Error executing SQL"), SQL);
    if (!stmt)
        owner.RaiseError(QStringLiteral("Could not prepare SQL statement"), SQL);
    return stmt;
}

} // namespace

void TSQLiteDatabase::ExecSQL(const QString& SQL) {
    StmtPtr stmt = prepare(fDB.get(), SQL, *this);
    if (sqlite3_step(stmt.get()) != SQLITE_DONE) {
        sqlite3_reset(stmt.get());
        RaiseError(QStringLiteral("Error executing SQL statement"), SQL);
    }
}

std::unique_ptr<TSQLiteTable> TSQLiteDatabase::GetTable(const QString& SQL) {
    StmtPtr stmt = prepare(fDB.get(), SQL, *this);
    auto table = std::make_unique<TSQLiteTable>();
    sqlite3_stmt* st = stmt.get();

    for (;;) {
        const int rc = sqlite3_step(st);
        if (rc == SQLITE_DONE)
            break;
        if (rc == SQLITE_BUSY)
            throw ESQLiteException(QStringLiteral("Could not prepare SQL statement"));
        if (rc != SQLITE_ROW) {
            sqlite3_reset(st);
            RaiseError(QStringLiteral("Could not retrieve data"), SQL);
        }

        if (table->fRowCount == 0) {
            const int cols = sqlite3_column_count(st);
            const QList<QByteArray> decls = fDeclTypes->DeclaredTypes(fDB.get(), st);
            table->fColCount = uint32_t(cols);
            table->fColTypes.reserve(size_t(cols));
            for (int c = 0; c < cols; ++c) {
                table->fCols.append(QString::fromUtf8(sqlite3_column_name(st, c)).toUpper());
                table->fColTypes.push_back(typeFromDecl(decls.at(c), st, c));
            }
        }
        ++table->fRowCount;

        for (uint32_t c = 0; c < table->fColCount; ++c) {
            const int col = int(c);
            if (sqlite3_column_type(st, col) == SQLITE_NULL) {
                table->fResults.emplace_back(std::monostate{});
                continue;
            }
            switch (table->fColTypes[c]) {
            case dtInt:
                table->fResults.emplace_back(int64_t(sqlite3_column_int64(st, col)));
                break;
            case dtNumeric:
                table->fResults.emplace_back(sqlite3_column_double(st, col));
                break;
            case dtBlob: {
                const void* data = sqlite3_column_blob(st, col);
                const int bytes = sqlite3_column_bytes(st, col);
                table->fResults.emplace_back(
                    bytes > 0 ? QByteArray(static_cast<const char*>(data), bytes) : QByteArray());
                break;
            }
            default: {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
                const int bytes = sqlite3_column_bytes(st, col);
                table->fResults.emplace_back(QByteArray(text ? text : "", bytes));
                break;
            }
            }
        }
    }
    table->fRow = 0;
    return table;
}

void TSQLiteDatabase::BeginTransaction() {
    if (InTransaction())
        throw ESQLiteException(QStringLiteral("Transaction already open"));
    ExecSQL(QStringLiteral("BEGIN TRANSACTION"));
}

void TSQLiteDatabase::Commit() {
    ExecSQL(QStringLiteral("COMMIT"));
}

void TSQLiteDatabase::Rollback() {
    ExecSQL(QStringLiteral("ROLLBACK"));
}

bool TSQLiteDatabase::InTransaction() const {
    return sqlite3_get_autocommit(fDB.get()) == 0;
}

int64_t TSQLiteDatabase::Changes() const {
    return sqlite3_changes64(fDB.get());
}

TSQLiteTransaction::TSQLiteTransaction(TSQLiteDatabase& db) : fDb(db) {
    fDb.BeginTransaction();
}

TSQLiteTransaction::~TSQLiteTransaction() {
    if (fDone || !fDb.InTransaction())
        return;
    try {
        fDb.Rollback();
    } catch (...) {
        // Closing the connection discards what is left of the transaction.
    }
}

void TSQLiteTransaction::Commit() {
    fDb.Commit();
    fDone = true;
}

bool TSQLiteDatabase::TableExists(const QString& TableName) {
    const auto table =
        GetTable(QStringLiteral(
                     "select [sql] from sqlite_master where [type] = 'table' and lower(name) = '") +
                 TableName.toLower() + QStringLiteral("' "));
    return table->RowCount() > 0;
}

int64_t TSQLiteDatabase::GetLastInsertRowID() const {
    return sqlite3_last_insert_rowid(fDB.get());
}
