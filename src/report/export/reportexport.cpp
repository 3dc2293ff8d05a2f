#include "report/export/reportexport.h"

#include "report/export/reportcsv.h"
#include "report/export/reportxlsx.h"

namespace {

const TReportFormat* byExtension(const QString& path) {
    for (const TReportFormat& format : ReportFormats())
        if (path.endsWith(QLatin1Char('.') + format.Extension, Qt::CaseInsensitive))
            return &format;
    return nullptr;
}

} // namespace

const QList<TReportFormat>& ReportFormats() {
    static const QList<TReportFormat> formats{
        {QStringLiteral("Excel 工作簿 (*.xlsx)"), QStringLiteral("xlsx"), &WriteReportXlsx},
        {QStringLiteral("CSV 文件 (*.csv)"), QStringLiteral("csv"), &WriteReportCsv},
    };
    return formats;
}

const TReportFormat& ReportFormatFor(const QString& path, const QString& chosenFilter) {
    if (const TReportFormat* named = byExtension(path))
        return *named;
    for (const TReportFormat& format : ReportFormats())
        if (format.Filter == chosenFilter)
            return format;
    return ReportFormats().front();
}

QString ReportExportPath(const QString& path, const QString& chosenFilter) {
    if (byExtension(path))
        return path;
    return path + QLatin1Char('.') + ReportFormatFor(path, chosenFilter).Extension;
}

TBusinessReport WriteReport(const QString& dbFile, const TReportPeriod& period,
                            const QString& target) {
    return ReportFormatFor(target, QString()).Write(dbFile, period, target);
}
