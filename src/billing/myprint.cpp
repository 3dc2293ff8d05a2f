#include "billing/myprint.h"

#include "billing/layoutreader.h"
#include "common/appvalues.h"
#include "common/myfun.h"

#include <QList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString kBr = QStringLiteral("<br>");

double toDecimal(const QString& text) {
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        throw EConvertError(QStringLiteral("'") + text + QStringLiteral("' 不是有效的数字"));
    return v;
}

int32_t toInteger(const QString& text) {
    bool ok = false;
    const int32_t v = text.trimmed().toInt(&ok, 10);
    if (!ok)
        throw EConvertError(QStringLiteral("'") + text + QStringLiteral("' 不是有效的整数"));
    return v;
}

// Rounds up to the next pixel. Millimetre and centimetre values are decimal
// fractions that a double holds only nearly; a position that is whole in decimal
// arithmetic must not move a pixel because of an error in its last bits.
int ceilPixel(double v) {
    const double c = std::ceil(v - 1e-6);
    if (!(c > double(std::numeric_limits<int>::min())))
        return std::numeric_limits<int>::min();
    if (c >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return int(c);
}

// A layout whose cells set a size of 0 or less cannot be drawn or scaled.
bool sizesValid(const rapidjson::Document& doc, int32_t fsizesys) {
    for (const auto& row : doc.GetArray()) {
        for (const auto& cell : row.GetArray()) {
            if (GetSafeInteger(cell, "size", fsizesys) <= 0)
                return false;
        }
    }
    return true;
}

// The state of one call of addprint.
class TTicketRenderer {
public:
    TTicketRenderer(TPageDevice& device, const TPrintSettings& ps, int sx, int sy)
        : FDevice(device), FSX(sx), FSY(sy), FHgSys(ps.LineHeight), FSizeSys(ps.FontSize) {
        for (const QString& entry : SplitStrings(ps.ColumnSpacing, QStringLiteral(","))) {
            bool ok = false;
            const double cm = entry.toDouble(&ok);
            FColumns << (ok && std::isfinite(cm) ? cm : 0.0);
        }
        FW20 = gettextwidth(FDevice, QString(20, QLatin1Char('-')), FSizeSys);
        FNowH = ps.TopMargin;
        FHg = FHgSys;
    }

    // Reads the page once the job is open.
    void StartPage() {
        const int dpi = FDevice.PageDpiX();
        FUsable = dpi > 0 ? FDevice.PaperWidth() * 25.4 / dpi - 2.0 : 0.0;
        const double dash = FW20 / 20;
        const double n = dash > 0 ? std::ceil(FUsable / dash) : 0;
        FLine = QString(qsizetype(std::clamp(n, 0.0, 10000.0)), QLatin1Char('-'));
    }

    // False when the row has more cells than there are columns.
    bool DrawRow(const rapidjson::Value& row) {
        const double rowStartY = FNowH;
        if (qsizetype(row.Size()) > FColumns.size())
            return false;
        bool hasMultiLine = false;
        for (const auto& cell : row.GetArray()) {
            if (GetSafeString(cell, "title", QString()).contains(kBr))
                hasMultiLine = true;
        }
        const int last = int(row.Size()) - 1;
        for (int k = 0; k <= last; ++k)
            drawCell(row[rapidjson::SizeType(k)], k, k == last, hasMultiLine, rowStartY);
        if (!hasMultiLine && !(FNowH > rowStartY))
            FNowH = rowStartY + FHg;
        return true;
    }

private:
    int pxX(double cm) const { return ceilPixel(FSX * cm / 2.54); }
    int pxY(double cm) const { return ceilPixel(FSY * cm / 2.54); }

    int centred(const QString& text, int32_t size) {
        return pxX((FUsable - gettextwidth(FDevice, text, size)) / 20);
    }

    void drawCell(const rapidjson::Value& cell, int k, bool lastCell, bool hasMultiLine,
                  double rowStartY) {
        const QString title = GetSafeString(cell, "title", QString());
        const bool iscenter = GetSafeInteger(cell, "iscenter", 0) == 1;
        const bool isline = GetSafeInteger(cell, "isline", 0) == 1;
        const bool isdel = GetSafeInteger(cell, "isdel", 0) == 1;
        const bool isbold = GetSafeInteger(cell, "isbold", 0) == 1;
        const bool iskg = GetSafeInteger(cell, "iskg", 0) == 1;
        const int32_t size = GetSafeInteger(cell, "size", FSizeSys);

        const QString text = isline ? FLine : title;
        FHg = size == FSizeSys ? FHgSys : FHgSys * size / double(FSizeSys);
        const int x = pxX(FColumns[k]);
        FDevice.SetFont(TicketFace(), size,
                        isbold  ? TFontStyle::Bold
                        : isdel ? TFontStyle::StrikeOut
                                : TFontStyle::Plain);

        if (!text.contains(kBr)) {
            FDevice.DrawText(iscenter ? centred(text, size) : x, pxY(rowStartY), text);
            if (lastCell && !hasMultiLine)
                FNowH = rowStartY + FHg;
            return;
        }
        const QStringList parts = SplitStrings(text, kBr);
        for (qsizetype j = 0; j < parts.size(); ++j) {
            int px = x;
            if (iscenter)
                px = centred(parts[j], size);
            else if (j >= 1 && iskg)
                px = pxX(gettextwidth(FDevice, QStringLiteral("  "), size) / 10);
            FDevice.DrawText(px, pxY(rowStartY + double(j) * FHg), parts[j]);
        }
        const qsizetype n = parts.size();
        FNowH = n <= 1 ? rowStartY + FHg : rowStartY + double(n) * FHg;
    }

    TPageDevice& FDevice;
    int FSX;
    int FSY;
    double FHgSys;
    int32_t FSizeSys;
    QList<double> FColumns;
    double FW20 = 0;
    double FUsable = 0;
    QString FLine;
    double FNowH = 0;
    double FHg = 0;
};

} // namespace

EConvertError::EConvertError(const QString& message) : std::runtime_error(message.toStdString()) {}

bool IsKitchenTicket(const QString& tid) {
    return tid == QLatin1String("1");
}

TPrintSettings ReadPrintSettings(const TTicketSettings& settings, const QString& tid) {
    const QString prefix = IsKitchenTicket(tid) ? QStringLiteral("cd_") : QStringLiteral("kd_");
    TPrintSettings ps;
    ps.TopMargin = toDecimal(settings.Edit(prefix + QStringLiteral("labedit_top")));
    ps.LineHeight = toDecimal(settings.Edit(prefix + QStringLiteral("labedit_hg")));
    ps.FontSize = toInteger(settings.Edit(prefix + QStringLiteral("labedit_size")));
    ps.ColumnSpacing = settings.Edit(prefix + QStringLiteral("labedit_lieju")).trimmed();
    return ps;
}

double gettextwidth(TPageDevice& device, const QString& texts, int32_t fsize) {
    const double dpi = device.ScreenDpiX();
    if (dpi <= 0)
        return 0;
    return device.ScreenTextWidth(TicketFace(), fsize, texts) / dpi * 25.4;
}

double gettextwidth(const QString& texts, int32_t fsize) {
    return gettextwidth(PageDevice(), texts, fsize);
}

void addprint(TPageDevice& device, const TTicketSettings& settings, const QString& cont,
              const QString& tid, QString& Result) {
    const bool kitchen = IsKitchenTicket(tid);
    const TPrintSettings ps = ReadPrintSettings(settings, tid);
    // The line height of a cell with its own size is scaled by the base size.
    if (ps.FontSize <= 0) {
        Result = printresult::BadFontSize();
        return;
    }
    const qsizetype index = device.Printers().indexOf(kitchen ? cd_printname : kd_printname);
    if (index < 0) {
        Result = printresult::NoPrinter();
        return;
    }
    device.SelectPrinter(int(index));
    const int sx = device.PrinterDpiX();
    const int sy = device.PrinterDpiY();

    rapidjson::Document doc;
    if (!ParseLayout(cont, doc) || !sizesValid(doc, ps.FontSize)) {
        Result = printresult::BadLayout();
        return;
    }
    TTicketRenderer renderer(device, ps, sx, sy);
    // Plain job names: print queues and PDF writers mangle others in file names.
    if (!device.BeginJob(kitchen ? QStringLiteral("zeltora-kitchen")
                                 : QStringLiteral("zeltora-receipt"))) {
        Result = printresult::JobFailed();
        return;
    }
    renderer.StartPage();
    for (const auto& row : doc.GetArray()) {
        if (!renderer.DrawRow(row)) {
            // The rows drawn so far still come out.
            if (device.JobActive())
                device.EndJob();
            Result = printresult::BadColumns();
            return;
        }
    }
    Result = device.EndJob() ? printresult::Done() : printresult::JobFailed();
}

void addprint(const QString& cont, const QString& tid, QString& Result) {
    addprint(PageDevice(), TicketSettings(), cont, tid, Result);
}
