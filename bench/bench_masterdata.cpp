// Dish list "菜品管理" over 5,000 dishes in 20 categories on a database file on
// disk, offscreen: (a) showing the window until its first page is painted;
// (b) a keyword search ("菜品12", 110 matches) until the page is painted.

#include "common/appvalues.h"
#include "common/messages.h"
#include "floor/lists/masterlists.h"
#include "store/adddata.h"
#include "store/sqlitedb.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kDishes = 5000;

struct Fixture {
    QTemporaryDir dir;
    TRecordingMessenger messages;
    std::unique_ptr<TForm_caipin> list;

    Fixture() {
        sqlitename = dir.filePath(QStringLiteral("zeltora.db"));
        if (!dir.isValid() || !AutoCreateTable(sqlitename)) {
            std::fputs("cannot create the benchmark database\n", stderr);
            std::exit(1);
        }
        {
            TSQLiteDatabase db(sqlitename);
            db.BeginTransaction();
            for (int c = 1; c <= 20; ++c)
                db.ExecSQL(QStringLiteral("INSERT INTO zel_caipin_class (id, title, sort) "
                                          "VALUES (%1, '分类%1', %1)")
                               .arg(c));
            for (int i = 1; i <= kDishes; ++i)
                db.ExecSQL(QStringLiteral("INSERT INTO zel_caipin (id, title, price, cid, sort, "
                                          "issku, deleted) VALUES (%1, '菜品%1', %2, %3, %1, %4, "
                                          "%5)")
                               .arg(i)
                               .arg(10.5 + i % 50)
                               .arg(i % 20 + 1)
                               .arg(i % 10 == 0 ? 1 : 0)
                               .arg(i % 100 == 0 ? 1 : 0));
            db.Commit();
        }
        SetMessenger(&messages);
        list = std::make_unique<TForm_caipin>();
        list->resize(list->sizeHint());
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

void BM_OpenDishListToPaintedFirstPage(benchmark::State& state) {
    Fixture f;
    for (auto _ : state) {
        f.list->show();
        f.list->repaint();
        state.PauseTiming();
        f.list->hide();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    f.list->show();
    f.check(QStringLiteral("共4950条记录，1/248页"));
}
BENCHMARK(BM_OpenDishListToPaintedFirstPage)->Unit(benchmark::kMillisecond);

void BM_KeywordSearchToPaintedPage(benchmark::State& state) {
    Fixture f;
    f.list->show();
    f.list->repaint();
    f.list->edtKeyword->setText(QStringLiteral("菜品12"));
    for (auto _ : state) {
        f.list->btnSearch->click();
        f.list->ListView1->viewport()->repaint();
    }
    f.check(QStringLiteral("共110条记录，1/6页"));
}
BENCHMARK(BM_KeywordSearchToPaintedPage)->Unit(benchmark::kMillisecond);

} // namespace
