#include "report/reportconfig.h"

#include "billing/printing/inivalue.h"
#include "billing/printing/setorloadini.h"

namespace {

const char* const kSection = "Report";
const char* const kKey = "daystart";

bool validHour(int hour) {
    return hour >= 0 && hour <= 23;
}

} // namespace

int LoadReportDayStart(const QString& path) {
    bool ok = false;
    const int hour = LoadIniValue(kSection, kKey, path).toInt(&ok, 10);
    return ok && validHour(hour) ? hour : 0;
}

void SaveReportDayStart(int hour, const QString& path) {
    if (!validHour(hour))
        throw EIniError(QStringLiteral("营业日开始时间必须在0到23点之间"));
    SaveIniValue(kSection, kKey, QString::number(hour), path);
}
