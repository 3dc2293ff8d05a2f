#pragma once

// "打印日报": the business summary of a period as a ticket on the customer
// receipt printer, in the receipt's three columns.

#include "billing/printing/devices/pagedevice.h"
#include "billing/printing/ticketsettings.h"
#include "report/businessreport.h"

#include <QString>

// The layout document of the day report.
QString BuildDayReport(const TTicketSettings& settings, const TBusinessReport& report);

// Prints it on the customer-receipt printer (kind "0") and gives the print
// outcome: "打印完成" when printed, otherwise what stopped it.
QString PrintDayReport(TPageDevice& device, const TTicketSettings& settings,
                       const TBusinessReport& report);
// The same with the installed page device and the settings in effect.
QString PrintDayReport(const TBusinessReport& report);
