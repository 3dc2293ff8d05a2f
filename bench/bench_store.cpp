// Order-history page load through the query builder against the same two
// statements run straight on the SQLite C API, over 1,000,000 settled orders.

#include "store/SQLiteORM.h"
#include "store/adddata.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kOrders = 1000000;

const QString kBase =
    QStringLiteral("SELECT `id`,`title`,`ordid`,`price`,`addtime`,`bh`,`deskid` FROM zel_orders");
const QString kCount = QStringLiteral("SELECT COUNT(*) FROM zel_orders");
const QString kAll = QStringLiteral("`deleted`=0");
const QString kSearch = QStringLiteral("`deleted`=0 AND `title` LIKE '%12:3%'");
const QString kOrder = QStringLiteral("`id` DESC");

// The database is built once and kept between runs: filling it takes seconds.
QString databasePath() {
    static const QString path = [] {
        const QString dir = QDir::tempPath() + QStringLiteral("/zeltora-bench");
        QDir().mkpath(dir);
        const QString file = dir + QStringLiteral("/orders-1m.db");
        if (QFile::exists(file)) {
            TSQLiteDatabase db(file);
            TSQLiteORM orm(&db, QStringLiteral("zel_orders"));
            if (orm.Count() == kOrders)
                return file;
            QFile::remove(file);
        }
        if (!AutoCreateTable(file)) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(file));
            std::exit(1);
        }
        sqlite3* db = nullptr;
        sqlite3_open(file.toUtf8().constData(), &db);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db,
                           "INSERT INTO zel_orders (title, ordid, deskid, allprice, price, "
                           "shishou, zhaoling, paytype, nums, bh, deleted, addtime) VALUES "
                           "(?1, ?2, ?3, ?4, ?4, ?5, ?5 - ?4, 7, 2, ?6, ?7, ?8)",
                           -1, &insert, nullptr);
        for (int i = 0; i < kOrders; ++i) {
            const int day = 1 + i / 40000 % 28;
            const int minute = i % 1440;
            char stamp[32];
            std::snprintf(stamp, sizeof stamp, "2026-11-%02d %02d:%02d:%02d", day, minute / 60,
                          minute % 60, i % 60);
            const QByteArray title = QByteArray(stamp) + "结算订单";
            char ordid[32];
            std::snprintf(ordid, sizeof ordid, "20261101%06d%03d", i % 1000000, i % 1000);
            sqlite3_bind_text(insert, 1, title.constData(), int(title.size()), SQLITE_TRANSIENT);
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
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return file;
    }();
    return path;
}

void builderPage(benchmark::State& state, const QString& condition) {
    TSQLiteDatabase db(databasePath());
    for (auto _ : state) {
        TSQLiteORM orm(&db, QStringLiteral("zel_orders"));
        orm.SetBaseSQL(kBase);
        orm.SetCountSQL(kCount);
        orm.Order(kOrder);
        orm.Page(20);
        orm.SetSearchCondition(condition);
        auto page = orm.LoadPage();
        int64_t sum = 0;
        for (; page && !page->Eof(); page->Next())
            sum += TSQLiteORM::GetFieldAsInteger(page.get(), QStringLiteral("id")) +
                   TSQLiteORM::GetFieldAsString(page.get(), QStringLiteral("title")).size();
        benchmark::DoNotOptimize(sum);
        if (orm.TotalRecords() == 0)
            state.SkipWithError("no rows counted");
    }
}

void directPage(benchmark::State& state, const QString& condition) {
    sqlite3* db = nullptr;
    sqlite3_open(databasePath().toUtf8().constData(), &db);
    const QByteArray count = (kCount + QStringLiteral(" WHERE ") + condition).toUtf8();
    const QByteArray page =
        (kBase + QStringLiteral(" WHERE ") + condition + QStringLiteral(" ORDER BY ") + kOrder +
         QStringLiteral(" LIMIT 20 OFFSET 0"))
            .toUtf8();
    for (auto _ : state) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, count.constData(), -1, &stmt, nullptr);
        int64_t total = 0;
        if (sqlite3_step(stmt) == SQLITE_ROW)
            total = sqlite3_column_int64(stmt, 0);
        sqlite3_finalize(stmt);

        sqlite3_prepare_v2(db, page.constData(), -1, &stmt, nullptr);
        int64_t sum = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW)
            sum += sqlite3_column_int64(stmt, 0) + sqlite3_column_bytes(stmt, 1);
        sqlite3_finalize(stmt);
        benchmark::DoNotOptimize(sum);
        if (total == 0)
            state.SkipWithError("no rows counted");
    }
    sqlite3_close(db);
}

void BM_OrdersFirstPage_Builder(benchmark::State& s) {
    builderPage(s, kAll);
}
void BM_OrdersFirstPage_Direct(benchmark::State& s) {
    directPage(s, kAll);
}
void BM_OrdersSearch_Builder(benchmark::State& s) {
    builderPage(s, kSearch);
}
void BM_OrdersSearch_Direct(benchmark::State& s) {
    directPage(s, kSearch);
}

} // namespace

BENCHMARK(BM_OrdersFirstPage_Builder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrdersFirstPage_Direct)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrdersSearch_Builder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrdersSearch_Direct)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
