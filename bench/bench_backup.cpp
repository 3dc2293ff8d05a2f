// A backup of 1,000,000 settled orders with 3,000,000 lines through the
// program's backup service (worker thread, steps with pauses), while the
// window thread's event loop runs a 1 ms timer: the time of the whole backup
// (copy, integrity check, rename) and the longest the loop was held up.

#include "backup/backupservice.h"
#include "common/appvalues.h"
#include "store/sqlitedb.h"

#include "ordersdb.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kOrders = 1000000;
constexpr int kLinesPerOrder = 3;

// Built once and kept between runs: filling it takes a minute.
QString databasePath() {
    static const QString path = KeptBenchDatabase(
        QStringLiteral("orders-lines-1m.db"),
        [](const QString& file) {
            return BenchRowCount(file, "zel_orders") == kOrders &&
                   BenchRowCount(file, "zel_orders_detail") == int64_t(kOrders) * kLinesPerOrder;
        },
        [](sqlite3* db) {
            sqlite3_stmt* order = nullptr;
            sqlite3_prepare_v2(db,
                               "INSERT INTO zel_orders (id, title, ordid, deskid, allprice, price, "
                               "shishou, zhaoling, paytype, nums, bh, deleted, addtime) VALUES "
                               "(?1, ?2, ?3, ?4, ?5, ?5, 600, 600 - ?5, 7, 2, 'A01', 0, ?6)",
                               -1, &order, nullptr);
            sqlite3_stmt* line = nullptr;
            sqlite3_prepare_v2(db,
                               "INSERT INTO zel_orders_detail (title, deskid, oneprice, quantity, "
                               "caipinid, price, stat, sku, addtime, rootid, issettle) VALUES "
                               "(?1, ?2, ?3, 1, ?4, ?3, 3, '', ?5, ?6, 1)",
                               -1, &line, nullptr);
            for (int i = 1; i <= kOrders; ++i) {
                const int minute = i % 1440;
                char stamp[32];
                std::snprintf(stamp, sizeof stamp, "2026-11-%02d %02d:%02d:%02d",
                              1 + i / 40000 % 28, minute / 60, minute % 60, i % 60);
                char ordid[32];
                std::snprintf(ordid, sizeof ordid, "20261101%09d", i);
                sqlite3_bind_int(order, 1, i);
                sqlite3_bind_text(order, 2, stamp, -1, SQLITE_TRANSIENT);
                sqlite3_bind_text(order, 3, ordid, -1, SQLITE_TRANSIENT);
                sqlite3_bind_int(order, 4, 1 + i % 20);
                sqlite3_bind_double(order, 5, 30.0 + i % 500);
                sqlite3_bind_text(order, 6, stamp, -1, SQLITE_TRANSIENT);
                sqlite3_step(order);
                sqlite3_reset(order);
                for (int l = 0; l < kLinesPerOrder; ++l) {
                    sqlite3_bind_text(line, 1, "宫保鸡丁", -1, SQLITE_STATIC);
                    sqlite3_bind_int(line, 2, 1 + i % 20);
                    sqlite3_bind_double(line, 3, 10.0 + l);
                    sqlite3_bind_int(line, 4, 1 + (i + l) % 300);
                    sqlite3_bind_int64(line, 5, 1700000000000LL + i);
                    sqlite3_bind_int(line, 6, i);
                    sqlite3_step(line);
                    sqlite3_reset(line);
                }
            }
            sqlite3_finalize(order);
            sqlite3_finalize(line);
        });
    return path;
}

void BM_BackupWhileTheLoopRuns(benchmark::State& state) {
    const QString db = databasePath();
    double longestGapMs = 0;
    double fileMb = double(QFile(db).size()) / (1024 * 1024);
    for (auto _ : state) {
        QTemporaryDir work;
        sqlitename = db;
        softpath = work.path() + QLatin1Char('/');
        inipath = softpath + QStringLiteral("config.ini");
        TBackupService service;
        QEventLoop loop;
        QElapsedTimer sinceTick;
        QTimer tick;
        tick.setInterval(1);
        double longest = 0;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longest = std::max(longest, double(sinceTick.nsecsElapsed()) / 1e6);
            sinceTick.restart();
        });
        QObject::connect(&service, &TBackupService::BackupFinished,
                         [&](const TBackupOutcome& outcome) {
                             if (!outcome.Error.isEmpty())
                                 state.SkipWithError(outcome.Error.toStdString().c_str());
                             loop.quit();
                         });
        QElapsedTimer total;
        total.start();
        sinceTick.start();
        tick.start();
        if (!service.Start()) {
            state.SkipWithError("the backup did not start");
            break;
        }
        loop.exec();
        tick.stop();
        state.SetIterationTime(double(total.nsecsElapsed()) / 1e9);
        // The timer's own 1 ms period is not a hold-up.
        longestGapMs = std::max(longestGapMs, longest - 1.0);
    }
    state.counters["ui_block_max_ms"] = longestGapMs;
    state.counters["db_mb"] = fileMb;
}
BENCHMARK(BM_BackupWhileTheLoopRuns)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

} // namespace
