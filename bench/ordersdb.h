#pragma once

// The database of the order-history benchmarks: 1,000,000 settled orders (one
// in 50 deleted) under /tmp/zeltora-bench, built once and kept between runs.

#include <QByteArray>
#include <QString>

#include <cstdint>

struct sqlite3;

constexpr int kBenchOrders = 1000000;

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
