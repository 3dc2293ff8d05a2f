// Settling a table of 50 open lines through the real table window (offscreen):
// from the click on "订单结算" to the committed transaction and the reloaded,
// now empty list. The question is answered OK by a recording messenger; the
// database is a file on disk.

#include "billing/table/form_desk_open.h"
#include "common/appvalues.h"
#include "common/messages.h"
#include "store/SQLiteORM.h"
#include "store/adddata.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

namespace {

constexpr int kLines = 50;

void addOpenLines(TSQLiteDatabase& db) {
    db.BeginTransaction();
    TSQLiteORM lines(&db, QStringLiteral("zel_orders_detail"));
    for (int i = 0; i < kLines; ++i) {
        const double oneprice = 8 + i % 7 * 4.5;
        const double quantity = 1 + i % 3;
        lines.Add({{QStringLiteral("title"), QStringLiteral("菜品%1").arg(i)},
                   {QStringLiteral("deskid"), 1},
                   {QStringLiteral("oneprice"), oneprice},
                   {QStringLiteral("quantity"), quantity},
                   {QStringLiteral("price"), oneprice * quantity},
                   {QStringLiteral("stat"), i % 10 == 9 ? 7 : 3}});
    }
    db.Commit();
}

void BM_SettleFiftyLinesFromTheClick(benchmark::State& state) {
    QTemporaryDir dir;
    sqlitename = dir.filePath(QStringLiteral("zeltora.db"));
    if (!AutoCreateTable(sqlitename)) {
        state.SkipWithError("no schema");
        return;
    }
    TSQLiteDatabase db(sqlitename);
    db.ExecSQL(QStringLiteral("INSERT INTO zel_desk (id, title, bh, nums, stat) VALUES "
                              "(1, '大厅01', 'A01', 4, 1)"));
    TRecordingMessenger messenger;
    SetMessenger(&messenger);
    TForm_desk_open form;
    form.OpenForDesk(1, nullptr);

    int64_t settled = 0;
    for (auto _ : state) {
        state.PauseTiming();
        addOpenLines(db);
        form.LoadOrderDetails();
        messenger.Calls.clear();
        state.ResumeTiming();

        form.btnSettle->click();

        state.PauseTiming();
        // The question alone, and no error box.
        if (form.ListView1->topLevelItemCount() != 0 ||
            messenger.Texts() != QStringList{QStringLiteral("确定要结算订单吗？")}) {
            SetMessenger(nullptr);
            state.SkipWithError("the settlement did not go through");
            return;
        }
        ++settled;
        state.ResumeTiming();
    }
    const auto orders = db.GetTable(QStringLiteral("SELECT COUNT(*) FROM zel_orders"));
    if (orders->FieldAsInteger(0) != settled)
        state.SkipWithError("orders missing");
    SetMessenger(nullptr);
}
BENCHMARK(BM_SettleFiftyLinesFromTheClick)->Unit(benchmark::kMillisecond);

} // namespace
