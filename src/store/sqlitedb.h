#pragma once

// Thin layer over the SQLite C API: a connection, a fully materialised query
// result and the one exception type of the layer. sqlite3.h stays private.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <variant>
#include <vector>

struct sqlite3;
class TDeclTypeCache;

// Column type codes of a result; the storage-class numbers of SQLite match them.
enum TColumnType : int32_t {
    dtInt = 1,
    dtNumeric = 2,
    dtStr = 3,
    dtBlob = 4,
    dtNull = 5,
};

class ESQLiteException : public std::runtime_error {
public:
    explicit ESQLiteException(const QString& message);
    QString Message() const { return QString::fromUtf8(what()); }
};

// Fixed English text of an SQLite result code.
QString SQLiteErrorStr(int code);

class TSQLiteTable {
public:
    // Empty slot = NULL; otherwise the value in the representation of its column type.
    using Slot = std::variant<std::monostate, int64_t, double, QByteArray>;

    TSQLiteTable() = default;
    virtual ~TSQLiteTable() = default;
    TSQLiteTable(const TSQLiteTable&) = delete;
    TSQLiteTable& operator=(const TSQLiteTable&) = delete;

    // EOF is a C macro, hence the spelling.
    bool Eof() const { return fRow >= fRowCount; }
    bool BOF() const { return fRow == 0; }
    bool Next();
    uint32_t Count() const { return fRowCount; }
    uint32_t RowCount() const { return fRowCount; }
    uint32_t ColCount() const { return fColCount; }
    uint32_t Row() const { return fRow; }

    QString Columns(int I) const;
    int32_t ColumnType(int I) const;
    int FieldIndex(const QString& name) const;
    QByteArray Fields(int I) const;
    QByteArray FieldByName(const QString& name) const { return Fields(FieldIndex(name)); }
    QString FieldAsString(int I) const;
    int64_t FieldAsInteger(int I) const;
    double FieldAsDouble(int I) const;
    bool FieldIsNull(int I) const;
    QByteArray FieldAsBlob(int I) const;
    QByteArray FieldAsBlobText(int I) const;

private:
    friend class TSQLiteDatabase;

    const Slot& slot(int I) const;
    void checkColumn(int I) const;
    void checkNotEof() const;
    QString notNumericMessage(int I, const char* format, const QString& tail) const;

    std::vector<Slot> fResults;
    uint32_t fRowCount = 0;
    uint32_t fColCount = 0;
    QStringList fCols;
    std::vector<int32_t> fColTypes;
    uint32_t fRow = 0;
};

class TSQLiteDatabase {
public:
    // Opens or creates the file; raises ESQLiteException on failure.
    explicit TSQLiteDatabase(const QString& FileName);
    // Rolls back an open transaction and closes the connection; never throws.
    virtual ~TSQLiteDatabase();
    TSQLiteDatabase(const TSQLiteDatabase&) = delete;
    TSQLiteDatabase& operator=(const TSQLiteDatabase&) = delete;

    // Runs the first statement of SQL; a statement that returns rows fails.
    void ExecSQL(const QString& SQL);
    // Runs a query and reads every row into memory.
    std::unique_ptr<TSQLiteTable> GetTable(const QString& SQL);

    void BeginTransaction();
    void Commit();
    void Rollback();
    // Asked of SQLite itself, which also ends a transaction on some errors.
    bool InTransaction() const;

    bool TableExists(const QString& TableName);
    int64_t GetLastInsertRowID() const;
    // Rows changed by the last INSERT, UPDATE or DELETE of this connection.
    int64_t Changes() const;

    [[noreturn]] void RaiseError(const QString& s, const QString& SQL) const;

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    std::unique_ptr<sqlite3, Closer> fDB;
    std::unique_ptr<TDeclTypeCache> fDeclTypes;
};

// Every multi-statement write runs in one of these: it begins a transaction,
// and unless Commit() was reached it rolls back when it goes out of scope,
// never throwing from the destructor (the failure that unwinds is the one
// worth reporting).
class TSQLiteTransaction {
public:
    explicit TSQLiteTransaction(TSQLiteDatabase& db);
    ~TSQLiteTransaction();
    TSQLiteTransaction(const TSQLiteTransaction&) = delete;
    TSQLiteTransaction& operator=(const TSQLiteTransaction&) = delete;

    void Commit();

private:
    TSQLiteDatabase& fDb;
    bool fDone = false;
};
