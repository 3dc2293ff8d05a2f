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

// Writes the figures of `report`, then the settled orders of its period read
// from `dbFile` (deleted ones included and marked), by settlement time. The
// file appears whole or not at all; throws EReportExportError.
void WriteReportCsv(const QString& dbFile, const TBusinessReport& report, const QString& target);
