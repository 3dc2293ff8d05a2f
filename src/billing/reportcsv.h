#pragma once

// "导出表格": the figures of a period and its orders, one row per order, as a
// CSV file that a spreadsheet opens with its Chinese text intact (UTF-8 with a
// byte order mark, CRLF line ends).

#include "billing/businessreport.h"

#include <QString>

#include <stdexcept>

// An export that could not be written; the message says which file and why.
class EReportExportError : public std::runtime_error {
public:
    explicit EReportExportError(const QString& message);
    QString Message() const { return QString::fromUtf8(what()); }
};

// "营业统计_20261208-20261209.csv", or "营业统计_20261209.csv" for one day.
QString ReportCsvFileName(const TReportPeriod& period);

// Writes the figures of `period`, then its settled orders (deleted ones
// included and marked) by settlement time, both read from `dbFile` in one
// snapshot so that the rows add up to the figures; gives those figures. The
// file appears whole or not at all; throws EReportExportError.
TBusinessReport WriteReportCsv(const QString& dbFile, const TReportPeriod& period,
                               const QString& target);
