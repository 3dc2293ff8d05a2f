#pragma once

// The business-summary benchmark's database, kept between runs: October and
// November 2026 with 100,000 settled orders each, four lines per order, open
// from 10:00 to 02:00, one order in 50 deleted and one line in 50 returned.

#include <QString>

constexpr int kBenchReportOrders = 100000;
constexpr int kBenchReportLinesPerOrder = 4;

QString ReportBenchDatabase();
