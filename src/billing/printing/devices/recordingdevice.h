#pragma once

// A page device with fixed metrics that records every job, font and text, for
// tests of the print routine and of the windows that print.

#include "billing/printing/devices/pagedevice.h"

#include <QList>

class TRecordingPageDevice : public TPageDevice {
public:
    struct Text {
        int x = 0;
        int y = 0;
        QString text;
        QString face;
        int size = 0;
        TFontStyle style = TFontStyle::Plain;
    };

    // Metrics. At the default 254 dpi one centimetre is 100 pixels; the paper
    // is 58 mm wide. On screen every character is `size` pixels wide at 254 dpi,
    // so a text is (characters x size / 10) millimetres wide.
    QStringList PrinterNames;
    int DpiX = 254;
    int DpiY = 254;
    int PagePixels = 580;
    int AreaPixels = 0; // printable width; 0: as wide as the paper
    int PageDpi = 254;
    bool RefuseJob = false;                 // BeginJob fails
    TQueueState Queue = TQueueState::Ready; // of every printer
    bool LoseJob = false;                   // EndJob finds no job on the printer

    // What happened.
    QString Selected;
    QStringList JobTitles;
    int JobsEnded = 0; // jobs the printer received
    QList<Text> Texts;
    QList<Text> Fonts; // every SetFont call (face, size, style)

    QStringList Printers() override { return PrinterNames; }
    void SelectPrinter(int index) override;
    int PrinterDpiX() override { return DpiX; }
    int PrinterDpiY() override { return DpiY; }
    TQueueState QueueState() override { return Queue; }
    bool BeginJob(const QString& title) override;
    bool EndJob() override;
    bool JobActive() const override { return FActive; }
    int PaperWidth() override { return PagePixels; }
    int PageDpiX() override { return PageDpi; }
    int PrintableWidth() override { return AreaPixels > 0 ? AreaPixels : PagePixels; }
    void SetFont(const QString& face, int pointSize, TFontStyle style) override;
    void DrawText(int x, int y, const QString& text) override;
    double ScreenTextWidth(const QString& face, int pointSize, const QString& text) override;
    double ScreenDpiX() override { return 254; }

    // The drawn texts alone, in order.
    QStringList DrawnTexts() const;

private:
    bool FActive = false;
    Text FFont;
};
