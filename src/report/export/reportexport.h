#pragma once

// The kinds of file "导出表格" offers and which one a chosen name gets.

#include "report/export/reporttable.h"

#include <QList>
#include <QString>

struct TReportFormat {
    QString Filter;    // as the file dialog lists it
    QString Extension; // without the dot
    TBusinessReport (*Write)(const QString& dbFile, const TReportPeriod& period,
                             const QString& target);
};

// The Excel workbook first: a spreadsheet keeps its codes as text.
const QList<TReportFormat>& ReportFormats();

// The format of a name ending in one of the extensions (any case), else the
// one whose filter was chosen, else the first; and the name with that
// format's extension added when it has none of them.
const TReportFormat& ReportFormatFor(const QString& path, const QString& chosenFilter);
QString ReportExportPath(const QString& path, const QString& chosenFilter);

// Writes the export of `period` in the format ReportFormatFor gives for
// `target` (the name as ReportExportPath made it); throws EReportExportError.
TBusinessReport WriteReport(const QString& dbFile, const TReportPeriod& period,
                            const QString& target);
