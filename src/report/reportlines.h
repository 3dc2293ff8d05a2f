#pragma once

// The ordered lines of a period's orders, summed by dish, with the returned
// ones apart. Reading them is most of the summary's work, so part of it runs
// on a second connection while the orders are read; those lines are kept as
// read until it is known which orders count.

#include <QHash>

#include <cstdint>
#include <vector>

class TRowScanner;

struct TDishSums {
    double Quantity = 0;
    int64_t Cents = 0;
};

struct TLineSums {
    QHash<int64_t, TDishSums> Dishes; // by caipinid
    double ReturnedQuantity = 0;
    int64_t ReturnedCents = 0;

    // Returned lines (7) apart; lines in no kitchen state are left out.
    void Add(int64_t caipinid, int64_t stat, double quantity, int64_t cents);
};

struct TLineRecord {
    int64_t Order;
    int64_t CaipinID;
    int64_t Stat;
    double Quantity;
    int64_t Cents;
};

// Lines of the orders with ids first..last, as read.
std::vector<TLineRecord> ReadLineRecords(TRowScanner& scan, int64_t first, int64_t last);

// Adds the lines of the orders with ids first..last whose order counts:
// counted[id - base].
void SumLines(TRowScanner& scan, int64_t first, int64_t last, const std::vector<bool>& counted,
              int64_t base, TLineSums& sums);
