#include "billing/printing/myprint.h"

#include "billing/printing/layoutreader.h"
#include "common/appvalues.h"
#include "common/myfun.h"

#include <QList>
#include <QTextBoundaryFinder>

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

// Positions after which a line may end: every grapheme end where the text
// allows a line break (between Chinese characters, after a blank) or a blank
// follows, and, as a fallback inside a word, every grapheme end.
struct TBreaks {
    QList<qsizetype> Graphemes;
    QList<bool> Preferred; // per grapheme end
};

TBreaks breaksOf(const QString& text) {
    TBreaks b;
    QTextBoundaryFinder lines(QTextBoundaryFinder::Line, text);
    QList<qsizetype> allowed;
    for (qsizetype p = lines.toNextBoundary(); p >= 0; p = lines.toNextBoundary())
        allowed << p;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype p = graphemes.toNextBoundary(); p >= 0; p = graphemes.toNextBoundary()) {
        b.Graphemes << p;
        b.Preferred << (allowed.contains(p) || (p < text.size() && text[p].isSpace()));
    }
    return b;
}

QString chopBlanks(const QString& piece) {
    qsizetype n = piece.size();
    while (n > 0 && piece[n - 1].isSpace())
        --n;
    return n > 0 ? piece.left(n) : piece;
}

// Millimetre comparisons tolerate the error in the last bits of a decimal.
constexpr double kEpsMm = 1e-6;

// One cell as it will be drawn.
struct TCellLines {
    QStringList Lines;
    bool MultiLine = false; // a "<br>" text or one that wrapped
};

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
        FNowH = ps.TopMargin;
        FHg = FHgSys;
    }

    // Reads the page once the job is open. Drawing starts at the printable
    // area, so nothing may reach beyond its width either.
    void StartPage() {
        const int dpi = FDevice.PageDpiX();
        if (dpi <= 0)
            return;
        FUsable = std::min(FDevice.PaperWidth() * 25.4 / dpi - 2.0,
                           FDevice.PrintableWidth() * 25.4 / dpi);
    }

    // False when the row has more cells than there are columns.
    bool DrawRow(const rapidjson::Value& row) {
        const double rowStartY = FNowH;
        if (qsizetype(row.Size()) > FColumns.size())
            return false;
        const int count = int(row.Size());
        bool hasMultiLine = false;
        QList<TCellLines> cells;
        for (int k = 0; k < count; ++k) {
            const rapidjson::Value& cell = row[rapidjson::SizeType(k)];
            cells << cellLines(cell, k, count);
            if (cells.last().MultiLine || GetSafeString(cell, "title", QString()).contains(kBr))
                hasMultiLine = true;
        }
        for (int k = 0; k < count; ++k) {
            drawCell(row[rapidjson::SizeType(k)], cells[k], k, k == count - 1, hasMultiLine,
                     rowStartY);
        }
        if (!hasMultiLine && !(FNowH > rowStartY))
            FNowH = rowStartY + FHg;
        return true;
    }

private:
    int pxX(double cm) const { return ceilPixel(FSX * cm / 2.54); }
    int pxY(double cm) const { return ceilPixel(FSY * cm / 2.54); }

    double width(const QString& text, int32_t size) { return gettextwidth(FDevice, text, size); }

    int centred(const QString& text, int32_t size) {
        return pxX((FUsable - width(text, size)) / 20);
    }

    // Left edge in mm of the sub-lines after the first of an "iskg" cell.
    double indentMm(int32_t size) { return width(QStringLiteral("  "), size); }

    // Where the text of cell k must end, in mm: the nearest column to its right
    // that another cell of the row uses, else the right edge of the usable width.
    double rightEdgeMm(int k, int count) const {
        double edge = FUsable;
        for (int i = 0; i < count; ++i) {
            if (i != k && FColumns[i] > FColumns[k])
                edge = std::min(edge, FColumns[i] * 10);
        }
        return edge;
    }

    // As many dashes as fit in `room` mm at `size`.
    QString rule(int32_t size, double room) {
        const double dash = width(QString(20, QLatin1Char('-')), size) / 20;
        double n = dash > 0 ? std::floor(room / dash + kEpsMm) : 0;
        n = std::clamp(n, 0.0, 10000.0);
        QString line(qsizetype(n), QLatin1Char('-'));
        while (!line.isEmpty() && width(line, size) > room + kEpsMm)
            line.chop(1);
        return line;
    }

    // Breaks `text` into pieces that fit: the first in `firstRoom` mm, the rest
    // in `room` mm. A line ends where the text allows a break (between Chinese
    // characters, after a blank) when one is in reach, else between any two
    // characters; each piece holds at least one character.
    QStringList wrap(const QString& text, int32_t size, double firstRoom, double room) {
        if (text.isEmpty())
            return {text};
        const TBreaks b = breaksOf(text);
        QStringList pieces;
        double reach = firstRoom;
        qsizetype start = 0;
        qsizetype first = 0; // the first grapheme end after start
        while (start < text.size()) {
            qsizetype fit = first;
            while (fit + 1 < b.Graphemes.size() &&
                   width(text.mid(start, b.Graphemes[fit + 1] - start), size) <= reach + kEpsMm)
                ++fit;
            qsizetype end = fit;
            if (end + 1 < b.Graphemes.size() && !b.Preferred[end]) {
                qsizetype back = end - 1;
                while (back >= first && !b.Preferred[back])
                    --back;
                if (back >= first)
                    end = back;
            }
            const qsizetype stop = b.Graphemes[end];
            pieces << chopBlanks(text.mid(start, stop - start));
            start = stop;
            while (start < text.size() && text[start].isSpace())
                ++start;
            while (first < b.Graphemes.size() && b.Graphemes[first] <= start)
                ++first;
            reach = room;
        }
        return pieces;
    }

    TCellLines cellLines(const rapidjson::Value& cell, int k, int count) {
        const int32_t size = GetSafeInteger(cell, "size", FSizeSys);
        const bool iscenter = GetSafeInteger(cell, "iscenter", 0) == 1;
        const double left = iscenter ? 0.0 : FColumns[k] * 10;
        TCellLines out;
        if (GetSafeInteger(cell, "isline", 0) == 1) {
            out.Lines << rule(size, FUsable - left);
            return out;
        }
        const QString title = GetSafeString(cell, "title", QString());
        const double right = iscenter ? FUsable : rightEdgeMm(k, count);
        const bool indented = !iscenter && GetSafeInteger(cell, "iskg", 0) == 1;
        const double room = right - (indented ? indentMm(size) : left);
        const QStringList parts =
            title.contains(kBr) ? SplitStrings(title, kBr) : QStringList{title};
        for (const QString& part : parts)
            out.Lines << wrap(part, size, out.Lines.isEmpty() ? right - left : room, room);
        out.MultiLine = title.contains(kBr) || out.Lines.size() > 1;
        return out;
    }

    void drawCell(const rapidjson::Value& cell, const TCellLines& lines, int k, bool lastCell,
                  bool hasMultiLine, double rowStartY) {
        const bool iscenter = GetSafeInteger(cell, "iscenter", 0) == 1;
        const bool isdel = GetSafeInteger(cell, "isdel", 0) == 1;
        const bool isbold = GetSafeInteger(cell, "isbold", 0) == 1;
        const bool iskg = GetSafeInteger(cell, "iskg", 0) == 1;
        const int32_t size = GetSafeInteger(cell, "size", FSizeSys);

        FHg = size == FSizeSys ? FHgSys : FHgSys * size / double(FSizeSys);
        const int x = pxX(FColumns[k]);
        FDevice.SetFont(TicketFace(), size,
                        isbold  ? TFontStyle::Bold
                        : isdel ? TFontStyle::StrikeOut
                                : TFontStyle::Plain);

        if (!lines.MultiLine) {
            const QString& text = lines.Lines.first();
            FDevice.DrawText(iscenter ? centred(text, size) : x, pxY(rowStartY), text);
            if (lastCell && !hasMultiLine)
                FNowH = rowStartY + FHg;
            return;
        }
        // Wrapped pieces and "<br>" parts are sub-lines alike.
        const qsizetype n = lines.Lines.size();
        for (qsizetype j = 0; j < n; ++j) {
            const QString& text = lines.Lines[j];
            int px = x;
            if (iscenter)
                px = centred(text, size);
            else if (j >= 1 && iskg)
                px = pxX(indentMm(size) / 10);
            FDevice.DrawText(px, pxY(rowStartY + double(j) * FHg), text);
        }
        FNowH = n <= 1 ? rowStartY + FHg : rowStartY + double(n) * FHg;
    }

    TPageDevice& FDevice;
    int FSX;
    int FSY;
    double FHgSys;
    int32_t FSizeSys;
    QList<double> FColumns;
    double FUsable = 0;
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
    const QString printer = kitchen ? cd_printname : kd_printname;
    const qsizetype index = device.Printers().indexOf(printer);
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
    // A paused queue would hold the ticket unseen, and a refusing one drops it.
    switch (device.QueueState()) {
    case TQueueState::Paused:
        Result = printresult::Paused(printer);
        return;
    case TQueueState::Refusing:
        Result = printresult::Refusing(printer);
        return;
    case TQueueState::Ready:
        break;
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
    Result = device.EndJob() ? printresult::Done() : printresult::NotReceived(printer);
}

void addprint(const QString& cont, const QString& tid, QString& Result) {
    addprint(PageDevice(), TicketSettings(), cont, tid, Result);
}
