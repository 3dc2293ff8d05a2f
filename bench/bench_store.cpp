// Order-history page load through the query builder against the same two
// statements run straight on the SQLite C API, over 1,000,000 settled orders.

#include "store/SQLiteORM.h"

#include "ordersdb.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

const QString kBase =
    QStringLiteral("SELECT `id`,`title`,`ordid`,`price`,`addtime`,`bh`,`deskid` FROM zel_orders");
const QString kCount = QStringLiteral("SELECT COUNT(*) FROM zel_orders");
const QString kAll = QStringLiteral("`deleted`=0");
const QString kSearch = QStringLiteral("`deleted`=0 AND `title` LIKE '%12:3%'");
const QString kOrder = QStringLiteral("`id` DESC");

void builderPage(benchmark::State& state, const QString& condition) {
    TSQLiteDatabase db(OrdersBenchDatabase());
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
    const TRawOrdersPage sql = RawOrdersStatements(kBase, kCount, condition, kOrder);
    sqlite3* db = nullptr;
    sqlite3_open(OrdersBenchDatabase().toUtf8().constData(), &db);
    for (auto _ : state) {
        int rows = 0;
        if (RunRawOrdersPage(db, sql, &rows) == 0)
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
