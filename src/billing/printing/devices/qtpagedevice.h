#pragma once

// The page device of the program: a QPrinter on the CUPS queue of the chosen
// name, with text measured by the screen's font metrics in the same face and
// size. The queue's state comes from CUPS itself, and a job counts as received
// once CUPS lists a new job on that queue. Needs a QGuiApplication.

#include "billing/printing/devices/pagedevice.h"

#include <QPainter>

#include <memory>

class QPrinter;

class TQtPageDevice : public TPageDevice {
public:
    // Maps the ticket face "宋体" to an installed Song face.
    TQtPageDevice();
    ~TQtPageDevice() override;
    TQtPageDevice(const TQtPageDevice&) = delete;
    TQtPageDevice& operator=(const TQtPageDevice&) = delete;

    QStringList Printers() override;
    void SelectPrinter(int index) override;
    int PrinterDpiX() override;
    int PrinterDpiY() override;
    TQueueState QueueState() override;
    bool BeginJob(const QString& title) override;
    bool EndJob() override;
    bool JobActive() const override;
    int PaperWidth() override;
    int PageDpiX() override;
    int PrintableWidth() override;
    void SetFont(const QString& face, int pointSize, TFontStyle style) override;
    void DrawText(int x, int y, const QString& text) override;
    double ScreenTextWidth(const QString& face, int pointSize, const QString& text) override;
    double ScreenDpiX() override;

private:
    std::unique_ptr<QPrinter> FPrinter;
    QPainter FPainter;
    int FLastJob = -1; // the queue's last job before ours
};
