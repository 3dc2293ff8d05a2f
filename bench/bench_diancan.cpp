// Ordering screen on a database file on disk, offscreen: (a) one "+" press on
// a dish tile with 20 lines already in the basket, from the click until the
// basket tab is repainted; (b) loading and laying out the tiles of 300 dishes
// (every tenth in two specifications) for "所有分类".

#include "common/appvalues.h"
#include "common/messages.h"
#include "ordering/form_diancan.h"
#include "store/adddata.h"
#include "store/sqlitedb.h"

#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kBasketLines = 20;

// A fresh database with one table, four categories and dishes dishes, and the
// screen created on it for that table.
struct Fixture {
    QTemporaryDir dir;
    TRecordingMessenger messages;
    std::unique_ptr<TForm_diancan> screen;

    explicit Fixture(int dishes) {
        sqlitename = dir.filePath(QStringLiteral("zeltora.db"));
        if (!dir.isValid() || !AutoCreateTable(sqlitename)) {
            std::fputs("cannot create the benchmark database\n", stderr);
            std::exit(1);
        }
        {
            TSQLiteDatabase db(sqlitename);
            db.BeginTransaction();
            db.ExecSQL(QStringLiteral("INSERT INTO zel_desk (id, title, bh, nums, stat) "
                                      "VALUES (1, '桌位01', '01', 4, 1)"));
            for (int c = 1; c <= 4; ++c)
                db.ExecSQL(QStringLiteral("INSERT INTO zel_caipin_class (id, title, sort) "
                                          "VALUES (%1, '分类%1', %1)")
                               .arg(c));
            for (int i = 1; i <= dishes; ++i) {
                const bool specs = i % 10 == 0;
                db.ExecSQL(QStringLiteral("INSERT INTO zel_caipin (id, title, price, cid, sort, "
                                          "issku) VALUES (%1, '菜品%1', %2, %3, %1, %4)")
                               .arg(i)
                               .arg(10 + i % 50)
                               .arg(i % 4 + 1)
                               .arg(specs ? 1 : 0));
                if (specs)
                    db.ExecSQL(QStringLiteral("INSERT INTO zel_caipin_sku (title, price, rootid) "
                                              "VALUES ('小份', 18, %1), ('大份', 28, %1)")
                                   .arg(i));
            }
            db.Commit();
        }
        SetMessenger(&messages);
        screen = std::make_unique<TForm_diancan>();
        screen->FormCreate();
        screen->SetDeskID(1);
        screen->show();
        QCoreApplication::processEvents();
    }

    ~Fixture() {
        screen.reset();
        SetMessenger(nullptr);
    }

    QPushButton* plus(int dish) const { return screen->DishControlManager()->IncreaseButton(dish); }
};

void BM_PlusPressToRepaintedBasket(benchmark::State& state) {
    Fixture f(60);
    // Plain dishes 1..21 but not 10 and 20 (those have specifications).
    int dish = 0;
    for (int lines = 0; lines < kBasketLines; ++lines) {
        dish += dish % 10 == 9 ? 2 : 1;
        f.plus(dish)->click();
    }
    QPushButton* button = f.plus(1);
    for (auto _ : state) {
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        f.screen->FTabCart->repaint();
    }
    state.counters["lines"] =
        double(f.screen->findChild<QScrollArea*>(QStringLiteral("FCartScrollBox"))
                   ->widget()
                   ->findChildren<QWidget*>(QStringLiteral("OrderItemPanel"))
                   .size());
}
BENCHMARK(BM_PlusPressToRepaintedBasket)->Unit(benchmark::kMillisecond);

void BM_LoadDishesByCategory(benchmark::State& state) {
    Fixture f(int(state.range(0)));
    for (int i = 1; i <= kBasketLines; ++i)
        if (i % 10 != 0)
            f.plus(i)->click();
    for (auto _ : state) {
        f.screen->LoadDishesByCategory(0);
        QCoreApplication::sendPostedEvents();
        f.screen->ScrollBox1->viewport()->repaint();
    }
    state.counters["dishes"] = double(f.screen->Dishes().size());
}
BENCHMARK(BM_LoadDishesByCategory)->Arg(300)->Unit(benchmark::kMillisecond);

} // namespace
