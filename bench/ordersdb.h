#pragma once

// The database of the order-history benchmarks: 1,000,000 settled orders (one
// in 50 deleted) under /tmp/zeltora-bench, built once and kept between runs.

#include <QString>

constexpr int kBenchOrders = 1000000;

// Path of the database, built on first use.
QString OrdersBenchDatabase();
