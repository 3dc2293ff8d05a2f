#pragma once

// "导出表格" as an Excel workbook with typed cells: order numbers and table
// codes stay text ("007", all 17 digits), money is a number shown with two
// decimals, settlement times are dates. The rows are those of the CSV.

#include "report/export/reporttable.h"

#include <QString>

// Writes the rows of `period` read from `dbFile` and gives their figures. The
// file appears whole or not at all; throws EReportExportError.
TBusinessReport WriteReportXlsx(const QString& dbFile, const TReportPeriod& period,
                                const QString& target);
