#pragma once

// "导出表格" as a CSV file that a spreadsheet opens with its Chinese text
// intact (UTF-8 with a byte order mark, CRLF line ends). Every cell is plain
// RFC 4180 data: a spreadsheet reads "007" or a 17-digit order number as a
// number, which is what the .xlsx export is for.

#include "report/export/reporttable.h"

#include <QString>

// Writes the rows of `period` read from `dbFile` and gives their figures. The
// file appears whole or not at all; throws EReportExportError.
TBusinessReport WriteReportCsv(const QString& dbFile, const TReportPeriod& period,
                               const QString& target);
