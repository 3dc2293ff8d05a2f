#pragma once

// The hour a business day starts: config.ini, section "Report", key
// "daystart" (0..23, default 0). With 2 an order settled at 01:30 counts to
// the day before.

#include "common/appvalues.h"

#include <QString>

// 0..23; a missing key or anything else reads as 0.
int LoadReportDayStart(const QString& path = inipath);

// Writes the key, keeping every other key of the file; throws EIniError.
void SaveReportDayStart(int hour, const QString& path = inipath);
