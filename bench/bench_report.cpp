// Business summary over a month of 100,000 orders and 400,000 lines (in a
// file of two such months), offscreen:
// (a) the figures of November read by the model;
// (b) "本月" pressed in the window "营业统计" until its figures and charts are
//     painted (after "今天", outside the timing, so each press reads anew).

#include "common/appvalues.h"
#include "common/clock.h"
#include "common/messages.h"
#include "common/ui/showcentred.h"
#include "report/businessreport.h"
#include "report/form_report.h"

#include "reportdb.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

const TReportPeriod kNovember{QDate(2026, 11, 1), QDate(2026, 11, 30), 0};

void check(bool good, const QString& what) {
    if (!good) {
        std::fprintf(stderr, "unexpected: %s\n", qPrintable(what));
        std::exit(1);
    }
}

void BM_ReadMonthFigures(benchmark::State& state) {
    const QString file = ReportBenchDatabase();
    for (auto _ : state) {
        const TBusinessReport report = ReadBusinessReport(file, kNovember);
        check(report.Orders > kBenchReportOrders * 9 / 10, QString::number(report.Orders));
        benchmark::DoNotOptimize(report.Cents);
    }
}
BENCHMARK(BM_ReadMonthFigures)->Unit(benchmark::kMillisecond)->Repetitions(9);

void BM_ThisMonthToPaintedFiguresAndCharts(benchmark::State& state) {
    QTemporaryDir folder;
    sqlitename = ReportBenchDatabase();
    inipath = folder.filePath(QStringLiteral("config.ini"));
    zclock::SetTestClock([] { return QDateTime(QDate(2026, 11, 30), QTime(20, 0)); });
    TRecordingMessenger messages;
    SetMessenger(&messages);
    QWidget owner;
    owner.resize(1366, 768);
    owner.show();
    {
        TForm_report report;
        ShowCentred(&report, &owner);
        QCoreApplication::processEvents();
        for (auto _ : state) {
            state.PauseTiming();
            report.btn_today->click();
            report.repaint();
            QCoreApplication::processEvents();
            state.ResumeTiming();
            report.btn_month->click();
            report.repaint();
        }
        check(report.HasReport() && report.Report().Orders > kBenchReportOrders * 9 / 10,
              report.lab_orders->text());
    }
    SetMessenger(nullptr);
    zclock::SetTestClock({});
}
BENCHMARK(BM_ThisMonthToPaintedFiguresAndCharts)->Unit(benchmark::kMillisecond)->Repetitions(9);

} // namespace
