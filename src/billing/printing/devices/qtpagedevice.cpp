#include "billing/printing/devices/qtpagedevice.h"

#include "billing/printing/myprint.h"
#include "platform/printqueue.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>

namespace {

QFont makeFont(const QString& face, int pointSize, TFontStyle style) {
    QFont font(face);
    font.setPointSize(pointSize > 0 ? pointSize : 1);
    font.setBold(style == TFontStyle::Bold);
    font.setStrikeOut(style == TFontStyle::StrikeOut);
    return font;
}

} // namespace

TQtPageDevice::TQtPageDevice() {
    const QString song = QStringLiteral("Noto Serif CJK SC");
    if (!QFont::substitutes(TicketFace()).contains(song))
        QFont::insertSubstitution(TicketFace(), song);
}

TQtPageDevice::~TQtPageDevice() {
    if (FPainter.isActive())
        FPainter.end();
}

QStringList TQtPageDevice::Printers() {
    return QPrinterInfo::availablePrinterNames();
}

void TQtPageDevice::SelectPrinter(int index) {
    const QString name = Printers().value(index);
    FPrinter =
        std::make_unique<QPrinter>(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
}

int TQtPageDevice::PrinterDpiX() {
    return FPrinter ? FPrinter->logicalDpiX() : 0;
}

int TQtPageDevice::PrinterDpiY() {
    return FPrinter ? FPrinter->logicalDpiY() : 0;
}

TQueueState TQtPageDevice::QueueState() {
    if (!FPrinter)
        return TQueueState::Ready;
    const TPrintQueue queue = ReadPrintQueue(FPrinter->printerName());
    // A queue CUPS does not answer for is left to the job and its check.
    if (!queue.Known)
        return TQueueState::Ready;
    if (!queue.Accepting)
        return TQueueState::Refusing;
    return queue.Stopped ? TQueueState::Paused : TQueueState::Ready;
}

bool TQtPageDevice::BeginJob(const QString& title) {
    if (!FPrinter || FPainter.isActive())
        return false;
    FPrinter->setDocName(title);
    FLastJob = LastPrintJob(FPrinter->printerName());
    return FPainter.begin(FPrinter.get());
}

bool TQtPageDevice::EndJob() {
    if (!FPainter.isActive() || !FPainter.end())
        return false;
    // Qt hands the page to CUPS and drops CUPS's answer; a job that CUPS
    // refused shows only as no new job on the queue.
    const int last = LastPrintJob(FPrinter->printerName());
    return FLastJob >= 0 && last > FLastJob;
}

bool TQtPageDevice::JobActive() const {
    return FPainter.isActive();
}

int TQtPageDevice::PaperWidth() {
    return FPrinter ? qRound(FPrinter->paperRect(QPrinter::DevicePixel).width()) : 0;
}

int TQtPageDevice::PrintableWidth() {
    return FPrinter ? qRound(FPrinter->pageRect(QPrinter::DevicePixel).width()) : 0;
}

int TQtPageDevice::PageDpiX() {
    return FPainter.isActive() ? FPainter.device()->logicalDpiX() : PrinterDpiX();
}

void TQtPageDevice::SetFont(const QString& face, int pointSize, TFontStyle style) {
    FPainter.setFont(makeFont(face, pointSize, style));
}

void TQtPageDevice::DrawText(int x, int y, const QString& text) {
    // QPainter places text on its baseline; the routine gives the top-left corner.
    FPainter.drawText(QPoint(x, y + FPainter.fontMetrics().ascent()), text);
}

double TQtPageDevice::ScreenTextWidth(const QString& face, int pointSize, const QString& text) {
    return QFontMetricsF(makeFont(face, pointSize, TFontStyle::Plain)).horizontalAdvance(text);
}

double TQtPageDevice::ScreenDpiX() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInchX()) : 96;
}
