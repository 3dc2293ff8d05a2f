// Order manager on a database file on disk: one basket press, and the
// confirmation of a full basket.

#include "ordering/TOrderManager.h"
#include "store/adddata.h"
#include "store/sqlitedb.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kDishes = 30;

// A fresh database with kDishes dishes and a manager on table 1.
struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<TSQLiteDatabase> db;
    std::unique_ptr<TOrderManager> manager;

    Fixture() {
        const QString path = dir.filePath(QStringLiteral("zeltora.db"));
        if (!dir.isValid() || !AutoCreateTable(path)) {
            std::fputs("cannot create the benchmark database\n", stderr);
            std::exit(1);
        }
        db = std::make_unique<TSQLiteDatabase>(path);
        db->BeginTransaction();
        for (int i = 1; i <= kDishes; ++i)
            db->ExecSQL(QStringLiteral("INSERT INTO zel_caipin (id, title, price) "
                                       "VALUES (%1, '菜%1', %1.5)")
                            .arg(i));
        db->Commit();
        manager = std::make_unique<TOrderManager>(db.get());
        manager->SetDeskID(QStringLiteral("1"));
    }

    static TOrderItem line(int caipinid, double quantity) {
        TOrderItem item;
        item.caipinid = caipinid;
        item.title = QStringLiteral("菜%1").arg(caipinid);
        item.Quantity = quantity;
        item.Price = caipinid + 0.5;
        return item;
    }
};

// One press of "+" or "-" on a dish already in the basket.
void BM_BasketPress(benchmark::State& state) {
    Fixture f;
    f.manager->AddOrUpdateOrderItem(Fixture::line(1, 1));
    double quantity = 1;
    for (auto _ : state) {
        quantity = quantity == 1 ? 2 : 1;
        f.manager->AddOrUpdateOrderItem(Fixture::line(1, quantity));
    }
}
BENCHMARK(BM_BasketPress)->Unit(benchmark::kMillisecond);

// "确定点单" of a 30-line basket; the basket is refilled (and the previous
// ordered lines removed) outside the timed part.
void BM_ConfirmBasket(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        state.PauseTiming();
        f.db->BeginTransaction();
        f.db->ExecSQL(QStringLiteral("DELETE FROM zel_orders_detail"));
        for (int i = 1; i <= kDishes; ++i)
            f.manager->AddOrUpdateOrderItem(Fixture::line(i, 1 + i % 3));
        f.db->Commit();
        state.ResumeTiming();

        f.manager->MoveCartToConfirmed();
    }
    state.counters["lines"] = f.manager->ConfirmedOrderCount();
}
BENCHMARK(BM_ConfirmBasket)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
