#include "report/reportlines.h"

#include "report/businessreport.h"
#include "store/rowscan.h"

#include <QString>

namespace {

// Through the rootid index, in the order of the orders.
QString linesOf(int64_t first, int64_t last) {
    return QStringLiteral("SELECT `rootid`,`caipinid`,`stat`,`quantity`,`price` FROM "
                          "zel_orders_detail WHERE `rootid` BETWEEN %1 AND %2")
        .arg(first)
        .arg(last);
}

TLineRecord record(const TScanRow& row) {
    return {row.Int(0), row.Int(1), row.Int(2), row.Double(3), YuanToCents(row.Double(4))};
}

} // namespace

void TLineSums::Add(int64_t caipinid, int64_t stat, double quantity, int64_t cents) {
    if (stat == 7) {
        ReturnedQuantity += quantity;
        ReturnedCents += cents;
    } else if (stat >= 0 && stat <= 6) {
        TDishSums& dish = Dishes[caipinid];
        dish.Quantity += quantity;
        dish.Cents += cents;
    }
}

std::vector<TLineRecord> ReadLineRecords(TRowScanner& scan, int64_t first, int64_t last) {
    std::vector<TLineRecord> records;
    if (last < first)
        return records;
    // Four lines an order is usual; growing past that copies what was read.
    records.reserve(size_t(last - first + 1) * 4);
    scan.Scan(linesOf(first, last), [&](const TScanRow& row) { records.push_back(record(row)); });
    return records;
}

void SumLines(TRowScanner& scan, int64_t first, int64_t last, const std::vector<bool>& counted,
              int64_t base, TLineSums& sums) {
    if (last < first)
        return;
    scan.Scan(linesOf(first, last), [&](const TScanRow& row) {
        const TLineRecord line = record(row);
        if (counted[size_t(line.Order - base)])
            sums.Add(line.CaipinID, line.Stat, line.Quantity, line.Cents);
    });
}
