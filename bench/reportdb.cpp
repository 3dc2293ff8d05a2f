#include "reportdb.h"

#include "ordersdb.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>

namespace {

// Deterministic, so every fill gives the same sums.
struct TRandom {
    uint32_t state = 12345;
    uint32_t next(uint32_t below) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % below;
    }
};

void fillMonth(sqlite3* db, int year, int month, int days, int64_t& orderId, TRandom& random) {
    sqlite3_stmt* order = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO zel_orders (id, title, ordid, deskid, allprice, price, "
                       "shishou, paytype, nums, bh, deleted, stat, addtime) VALUES "
                       "(?1, ?2, ?3, ?4, ?5, ?5, ?5, ?6, ?7, 'A01', ?8, 1, ?9)",
                       -1, &order, nullptr);
    sqlite3_stmt* line = nullptr;
    sqlite3_prepare_v2(db,
                       "INSERT INTO zel_orders_detail (title, deskid, oneprice, quantity, "
                       "caipinid, price, stat, iscal, rootid, issettle, addtime) VALUES "
                       "(?1, ?2, ?3, ?4, ?5, ?6, ?7, 1, ?8, 1, 1764000000000)",
                       -1, &line, nullptr);
    static const int kPayTypes[] = {1, 1, 1, 3, 3, 5, 7, 7, 9, 11, 15, 24};
    static const double kPrices[] = {2, 12.5, 16.5, 28, 38.8, 58, 66.6, 88};
    const int perDay = kBenchReportOrders / days + 1;
    for (int i = 0; i < kBenchReportOrders; ++i) {
        // Open from 10:00 to 02:00 the next morning.
        const int day = i / perDay;
        const int second = 10 * 3600 + int(int64_t(i % perDay) * 16 * 3600 / perDay);
        const int stampDay = 1 + day + second / 86400;
        const int daySecond = second % 86400;
        char stamp[32];
        if (stampDay > days)
            std::snprintf(stamp, sizeof stamp, "%04d-%02d-01 %02d:%02d:%02d", year + month / 12,
                          month % 12 + 1, daySecond / 3600, daySecond / 60 % 60, daySecond % 60);
        else
            std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", year, month,
                          stampDay, daySecond / 3600, daySecond / 60 % 60, daySecond % 60);
        ++orderId;
        double total = 0;
        for (int k = 0; k < kBenchReportLinesPerOrder; ++k) {
            const int dish = 1 + int(random.next(300));
            const double oneprice = kPrices[dish % 8];
            const double quantity = 1 + random.next(3);
            const bool returned = random.next(50) == 0;
            const QByteArray title = "菜品" + QByteArray::number(dish);
            sqlite3_bind_text(line, 1, title.constData(), int(title.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int(line, 2, 1 + int(orderId % 20));
            sqlite3_bind_double(line, 3, oneprice);
            sqlite3_bind_double(line, 4, quantity);
            sqlite3_bind_int(line, 5, dish);
            sqlite3_bind_double(line, 6, oneprice * quantity);
            sqlite3_bind_int(line, 7, returned ? 7 : 3);
            sqlite3_bind_int64(line, 8, orderId);
            sqlite3_step(line);
            sqlite3_reset(line);
            if (!returned)
                total += oneprice * quantity;
        }
        const QByteArray title = QByteArray(stamp) + "结算订单";
        const QByteArray ordid = QByteArray::number(orderId);
        sqlite3_bind_int64(order, 1, orderId);
        sqlite3_bind_text(order, 2, title.constData(), int(title.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(order, 3, ordid.constData(), int(ordid.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(order, 4, 1 + int(orderId % 20));
        sqlite3_bind_double(order, 5, total);
        sqlite3_bind_int(order, 6, kPayTypes[random.next(12)]);
        sqlite3_bind_int(order, 7, 1 + int(random.next(6)));
        sqlite3_bind_int(order, 8, random.next(50) == 0 ? 1 : 0);
        sqlite3_bind_text(order, 9, stamp, -1, SQLITE_TRANSIENT);
        sqlite3_step(order);
        sqlite3_reset(order);
    }
    sqlite3_finalize(order);
    sqlite3_finalize(line);
}

} // namespace

QString ReportBenchDatabase() {
    static const QString path = KeptBenchDatabase(
        QStringLiteral("report-2months.db"),
        [](const QString& file) {
            return BenchRowCount(file, "zel_orders") == 2 * kBenchReportOrders &&
                   BenchRowCount(file, "zel_caipin") == 300;
        },
        [](sqlite3* db) {
            sqlite3_stmt* dish = nullptr;
            sqlite3_prepare_v2(
                db, "INSERT INTO zel_caipin (id, title, price, cid) VALUES (?1, ?2, 10, 1)", -1,
                &dish, nullptr);
            for (int id = 1; id <= 300; ++id) {
                const QByteArray title = "菜品" + QByteArray::number(id);
                sqlite3_bind_int(dish, 1, id);
                sqlite3_bind_text(dish, 2, title.constData(), int(title.size()), SQLITE_TRANSIENT);
                sqlite3_step(dish);
                sqlite3_reset(dish);
            }
            sqlite3_finalize(dish);
            int64_t orderId = 0;
            TRandom random;
            fillMonth(db, 2026, 10, 31, orderId, random);
            fillMonth(db, 2026, 11, 30, orderId, random);
        });
    return path;
}
