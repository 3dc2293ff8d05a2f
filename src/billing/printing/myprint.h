#pragma once

// The print routine: renders one ticket layout document on the printer of its
// ticket kind as one one-page job, placing cells by centimetre positions. A
// cell too wide for its column continues on further lines of that column.

#include "billing/printing/devices/pagedevice.h"
#include "billing/printing/ticketsettings.h"

#include <QString>

#include <cstdint>
#include <stdexcept>

// Outcomes of addprint.
namespace printresult {
inline QString Done() {
    return QStringLiteral("打印完成");
}
inline QString NoPrinter() {
    return QStringLiteral("请先设置打印机");
}
inline QString BadColumns() {
    return QStringLiteral("列间距设置错误，请在软件设置中设置");
}
inline QString BadFontSize() {
    return QStringLiteral("字体大小设置错误，请在软件设置中设置");
}
inline QString BadLayout() {
    return QStringLiteral("小票内容格式错误，未打印");
}
inline QString JobFailed() {
    return QStringLiteral("打印失败，打印机未能完成打印任务");
}
inline QString Paused(const QString& printer) {
    return QStringLiteral("打印机已暂停：%1，未打印").arg(printer);
}
inline QString Refusing(const QString& printer) {
    return QStringLiteral("打印机拒绝接收任务：%1，未打印").arg(printer);
}
inline QString NotReceived(const QString& printer) {
    return QStringLiteral("打印失败，打印机没有收到任务：%1").arg(printer);
}
} // namespace printresult

// The face every ticket is printed in.
inline QString TicketFace() {
    return QStringLiteral("宋体");
}

// A geometry setting that is not a number.
class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(const QString& message);
    QString Message() const { return QString::fromUtf8(what()); }
};

// Geometry of one ticket kind.
struct TPrintSettings {
    double TopMargin = 0;  // cm
    double LineHeight = 0; // cm
    int32_t FontSize = 0;  // points
    QString ColumnSpacing; // comma-separated cm positions
};

// Kind "1" is the kitchen ticket, anything else the customer receipt.
bool IsKitchenTicket(const QString& tid);

// The geometry of kind `tid`; throws EConvertError for a margin or line height
// that is not a decimal number or a font size that is not an integer.
TPrintSettings ReadPrintSettings(const TTicketSettings& settings, const QString& tid);

// Width in millimetres of `texts` in the ticket face at `fsize` points, as
// measured on the screen.
double gettextwidth(TPageDevice& device, const QString& texts, int32_t fsize);
double gettextwidth(const QString& texts, int32_t fsize);

// Prints `cont` on the printer saved for kind `tid` (kd_printname or
// cd_printname), unless that printer is paused or refuses jobs. Result
// receives one of the printresult texts, "打印完成" only once the printer has
// received the job; a geometry
// setting that is not a number throws EConvertError before anything is printed.
void addprint(TPageDevice& device, const TTicketSettings& settings, const QString& cont,
              const QString& tid, QString& Result);
// The same with the installed page device and the settings in effect.
void addprint(const QString& cont, const QString& tid, QString& Result);
