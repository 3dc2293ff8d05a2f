#pragma once

// Reading many rows to sum them, not to keep them: each row is handed to a
// visitor as SQLite steps to it, never materialised as a table. The scanner
// holds its own read-only connection, and all its scans read one snapshot.

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// The row a scan stands on; valid only inside the visitor.
class TScanRow {
public:
    int64_t Int(int column) const;
    double Double(int column) const;
    // UTF-8 bytes of a text column, empty for NULL.
    QByteArrayView Utf8(int column) const;
    QString Text(int column) const;
    bool IsNull(int column) const;

private:
    friend class TRowScanner;
    explicit TScanRow(sqlite3_stmt* stmt) : FStmt(stmt) {}
    sqlite3_stmt* FStmt;
};

class TRowScanner {
public:
    // Opens file read-only and begins the snapshot; raises ESQLiteException.
    explicit TRowScanner(const QString& file);
    ~TRowScanner();
    TRowScanner(const TRowScanner&) = delete;
    TRowScanner& operator=(const TRowScanner&) = delete;

    // Runs one statement, calling visit for each row; raises ESQLiteException
    // when it cannot be prepared or a step fails.
    void Scan(const QString& sql, const std::function<void(const TScanRow&)>& visit);

    const QString& File() const { return FFile; }

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    QString FFile;
    std::unique_ptr<sqlite3, Closer> FDb;
};
