// Order history "我的订单" over 1,000,000 settled orders on a database file on
// disk, offscreen, each next to the same statements run straight on the
// SQLite C API in the same run:
// (a) "订单管理": showing the list centred on the main window, as the menu
//     entry does, until its first page is painted;
// (b) a keyword search ("12:3") until the page is painted.

#include "billing/orders/form_orders.h"
#include "billing/orders/orderhistory.h"
#include "common/appvalues.h"
#include "common/messages.h"
#include "common/ui/showcentred.h"
#include "floor/lists/pagedlist.h"

#include "ordersdb.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

const char* const kKeyword = "12:3";

struct Fixture {
    TRecordingMessenger messages;
    QWidget owner;
    std::unique_ptr<TForm_Orders> list;

    Fixture() {
        sqlitename = OrdersBenchDatabase();
        SetMessenger(&messages);
        owner.resize(1366, 768);
        owner.show();
        list = std::make_unique<TForm_Orders>();
    }

    ~Fixture() {
        list.reset();
        SetMessenger(nullptr);
    }

    void check(const QString& info) const {
        if (list->lblPageInfo->text() != info || list->ListView1->model()->rowCount() != 20) {
            std::fprintf(stderr, "unexpected page: %s\n", qPrintable(list->lblPageInfo->text()));
            std::exit(1);
        }
    }
};

// The count and the page statement the list runs for condition, straight on
// the C API, on a connection opened once.
void direct(benchmark::State& state, const QString& condition) {
    const TListConfig config = OrdersListConfig();
    const TRawOrdersPage sql =
        RawOrdersStatements(config.baseSQL, config.countSQL, condition, config.order);
    sqlite3* db = nullptr;
    sqlite3_open(OrdersBenchDatabase().toUtf8().constData(), &db);
    for (auto _ : state) {
        int rows = 0;
        if (RunRawOrdersPage(db, sql, &rows) == 0 || rows != 20)
            state.SkipWithError("unexpected result");
    }
    sqlite3_close(db);
}

void BM_OrdersMenuToPaintedFirstPage(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        ShowCentred(f.list.get(), &f.owner);
        f.list->repaint();
        state.PauseTiming();
        f.list->hide();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    ShowCentred(f.list.get(), &f.owner);
    f.check(QStringLiteral("共980000条记录，1/49000页"));
}
BENCHMARK(BM_OrdersMenuToPaintedFirstPage)->Unit(benchmark::kMillisecond);

void BM_OrdersFirstPage_DirectSQLite(benchmark::State& state) {
    direct(state, OrdersListConfig().initialCondition);
}
BENCHMARK(BM_OrdersFirstPage_DirectSQLite)->Unit(benchmark::kMillisecond);

void BM_OrdersKeywordSearchToPaintedPage(benchmark::State& state) {
    Fixture f;
    ShowCentred(f.list.get(), &f.owner);
    f.list->repaint();
    f.list->edtKeyword->setText(QString::fromLatin1(kKeyword));
    for (auto _ : state) {
        f.list->btnSearch->click();
        f.list->ListView1->viewport()->repaint();
    }
    if (f.list->ListView1->model()->rowCount() != 20 ||
        !f.list->lblPageInfo->text().startsWith(QStringLiteral("共"))) {
        std::fprintf(stderr, "unexpected page: %s\n", qPrintable(f.list->lblPageInfo->text()));
        std::exit(1);
    }
}
BENCHMARK(BM_OrdersKeywordSearchToPaintedPage)->Unit(benchmark::kMillisecond);

void BM_OrdersSearch_DirectSQLite(benchmark::State& state) {
    direct(state, OrdersListConfig().keywordCondition(QString::fromLatin1(kKeyword)));
}
BENCHMARK(BM_OrdersSearch_DirectSQLite)->Unit(benchmark::kMillisecond);

} // namespace
