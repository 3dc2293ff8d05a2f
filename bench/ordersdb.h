#pragma once

// Benchmark databases kept between runs, and the one of the order-history
// benchmarks: 1,000,000 settled orders (one in 50 deleted).

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>

struct sqlite3;

constexpr int kBenchOrders = 1000000;

// A database of name under /tmp/zeltora-bench, kept between runs: filling one
// takes up to a minute. It is used again when complete(file) says so, else
// made anew with the schema and filled by fill in one transaction.
QString KeptBenchDatabase(const QString& name, const std::function<bool(const QString&)>& complete,
                          const std::function<void(sqlite3*)>& fill);

// Rows of table in file.
int64_t BenchRowCount(const QString& file, const char* table);

// Path of the database, built on first use.
QString OrdersBenchDatabase();

// The two statements a page of the order list runs for a condition: the count
// and the first 20 rows.
struct TRawOrdersPage {
    QByteArray count;
    QByteArray page;
};
TRawOrdersPage RawOrdersStatements(const QString& baseSQL, const QString& countSQL,
                                   const QString& condition, const QString& order);

// Runs them straight on the C API, reading every column of every row; returns
// the count and sets rows to the rows read.
int64_t RunRawOrdersPage(sqlite3* db, const TRawOrdersPage& sql, int* rows);
