#pragma once

// The rows of "导出表格", the same for every kind of file: the figures of a
// period, an empty row, then its settled orders one a row (deleted ones
// included and marked) by settlement time. Each cell says what it holds, so
// that a spreadsheet file can keep codes as text and money as numbers.

#include "report/businessreport.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <stdexcept>

// An export that could not be written; the message says which file and why.
class EReportExportError : public std::runtime_error {
public:
    explicit EReportExportError(const QString& message);
    QString Message() const { return QString::fromUtf8(what()); }
};

struct TReportCell {
    enum class TKind {
        Text,     // as the user typed it or this program named it; codes too
        Count,    // Whole
        Money,    // Whole cents
        Quantity, // Quantity
        Time,     // Text, a local "yyyy-MM-dd hh:mm:ss" as stored
    };
    TKind Kind = TKind::Text;
    QString Text;
    int64_t Whole = 0;
    double Quantity = 0;

    static TReportCell Of(const QString& text) { return {TKind::Text, text, 0, 0}; }
    static TReportCell Count(int64_t n) { return {TKind::Count, QString(), n, 0}; }
    static TReportCell Money(int64_t cents) { return {TKind::Money, QString(), cents, 0}; }
    static TReportCell Portions(double q) { return {TKind::Quantity, QString(), 0, q}; }
    static TReportCell Time(const QString& stamp) { return {TKind::Time, stamp, 0, 0}; }
};

using TReportRow = QList<TReportCell>;

// "营业统计_20261208-20261209.xlsx", or "营业统计_20261209.csv" for one day.
QString ReportFileName(const TReportPeriod& period, const QString& extension);

// Reads the figures of `period` and its orders from `dbFile` in one snapshot,
// so that the rows add up to the figures, hands each row to `row` in order and
// gives those figures. A failed reading throws EReportExportError; whatever
// `row` throws passes through.
TBusinessReport ReadReportRows(const QString& dbFile, const TReportPeriod& period,
                               const std::function<void(const TReportRow&)>& row);
