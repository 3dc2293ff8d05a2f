// Business summary over a month of 100,000 orders and 400,000 lines (in a
// file of two such months), Release build:
// (a) the figures of November read by the model;
// (b) TODO window

#include "billing/businessreport.h"

#include "reportdb.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

const TReportPeriod kNovember{QDate(2026, 11, 1), QDate(2026, 11, 30), 0};

void BM_ReadMonthFigures(benchmark::State& state) {
    const QString file = ReportBenchDatabase();
    for (auto _ : state) {
        const TBusinessReport report = ReadBusinessReport(file, kNovember);
        if (report.Orders < kBenchReportOrders * 9 / 10) {
            std::fprintf(stderr, "unexpected orders: %d\n", report.Orders);
            std::exit(1);
        }
        benchmark::DoNotOptimize(report.Cents);
    }
}
BENCHMARK(BM_ReadMonthFigures)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
