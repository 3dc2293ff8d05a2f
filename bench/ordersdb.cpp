#include "ordersdb.h"

#include "store/adddata.h"
#include "store/sqlitedb.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>

QString KeptBenchDatabase(const QString& name, const std::function<bool(const QString&)>& complete,
                          const std::function<void(sqlite3*)>& fill) {
    const QString dir = QDir::tempPath() + QStringLiteral("/zeltora-bench");
    QDir().mkpath(dir);
    const QString file = dir + QLatin1Char('/') + name;
    if (QFile::exists(file) && complete(file))
        return file;
    QFile::remove(file);
    if (!AutoCreateTable(file)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(file));
        std::exit(1);
    }
    sqlite3* db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    fill(db);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return file;
}

int64_t BenchRowCount(const QString& file, const char* table) {
    TSQLiteDatabase db(file);
    return db.GetTable(QStringLiteral("SELECT count(*) FROM ") + QString::fromLatin1(table))
        ->FieldAsInteger(0);
}

QString OrdersBenchDatabase() {
    static const QString path = KeptBenchDatabase(
        QStringLiteral("orders-1m.db"),
        [](const QString& file) { return BenchRowCount(file, "zel_orders") == kBenchOrders; },
        [](sqlite3* db) {
            sqlite3_stmt* insert = nullptr;
            sqlite3_prepare_v2(db,
                               "INSERT INTO zel_orders (title, ordid, deskid, allprice, price, "
                               "shishou, zhaoling, paytype, nums, bh, deleted, addtime) VALUES "
                               "(?1, ?2, ?3, ?4, ?4, ?5, ?5 - ?4, 7, 2, ?6, ?7, ?8)",
                               -1, &insert, nullptr);
            for (int i = 0; i < kBenchOrders; ++i) {
                const int day = 1 + i / 40000 % 28;
                const int minute = i % 1440;
                char stamp[32];
                std::snprintf(stamp, sizeof stamp, "2026-11-%02d %02d:%02d:%02d", day, minute / 60,
                              minute % 60, i % 60);
                const QByteArray title = QByteArray(stamp) + "结算订单";
                char ordid[32];
                std::snprintf(ordid, sizeof ordid, "20261101%06d%03d", i % 1000000, i % 1000);
                sqlite3_bind_text(insert, 1, title.constData(), int(title.size()),
                                  SQLITE_TRANSIENT);
                sqlite3_bind_text(insert, 2, ordid, -1, SQLITE_TRANSIENT);
                sqlite3_bind_int(insert, 3, 1 + i % 20);
                sqlite3_bind_double(insert, 4, 10.0 + i % 500);
                sqlite3_bind_double(insert, 5, 600.0);
                sqlite3_bind_text(insert, 6, "A01", -1, SQLITE_STATIC);
                sqlite3_bind_int(insert, 7, i % 50 == 0 ? 1 : 0);
                sqlite3_bind_text(insert, 8, stamp, -1, SQLITE_TRANSIENT);
                sqlite3_step(insert);
                sqlite3_reset(insert);
            }
            sqlite3_finalize(insert);
        });
    return path;
}

TRawOrdersPage RawOrdersStatements(const QString& baseSQL, const QString& countSQL,
                                   const QString& condition, const QString& order) {
    return {(countSQL + QStringLiteral(" WHERE ") + condition).toUtf8(),
            (baseSQL + QStringLiteral(" WHERE ") + condition + QStringLiteral(" ORDER BY ") +
             order + QStringLiteral(" LIMIT 20 OFFSET 0"))
                .toUtf8()};
}

int64_t RunRawOrdersPage(sqlite3* db, const TRawOrdersPage& sql, int* rows) {
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, sql.count.constData(), -1, &stmt, nullptr);
    int64_t total = 0;
    if (sqlite3_step(stmt) == SQLITE_ROW)
        total = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);

    sqlite3_prepare_v2(db, sql.page.constData(), -1, &stmt, nullptr);
    int read = 0;
    int64_t bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        ++read;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c)
            bytes += sqlite3_column_bytes(stmt, c);
    }
    sqlite3_finalize(stmt);
    benchmark::DoNotOptimize(bytes);
    *rows = read;
    return total;
}
