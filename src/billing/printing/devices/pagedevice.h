#pragma once

// The page device the print routine draws on: it answers the installed
// printers, resolutions, paper width and on-screen text widths, runs one
// one-page job at a time, and draws single-line text at pixel positions.

#include <QString>
#include <QStringList>

enum class TFontStyle { Plain, Bold, StrikeOut };

// Whether a printer takes a job now.
enum class TQueueState {
    Ready,
    Paused,  // it would hold the job instead of printing it
    Refusing // it accepts no jobs
};

class TPageDevice {
public:
    virtual ~TPageDevice() = default;

    // Installed printers, in a stable order.
    virtual QStringList Printers() = 0;
    // The printer at `index` of Printers() receives the next job.
    virtual void SelectPrinter(int index) = 0;
    // Dots per inch of the selected printer.
    virtual int PrinterDpiX() = 0;
    virtual int PrinterDpiY() = 0;
    // Whether the selected printer takes a job now; a device that cannot tell
    // says Ready.
    virtual TQueueState QueueState() { return TQueueState::Ready; }

    // One job of one page on the selected printer; false when it cannot start.
    virtual bool BeginJob(const QString& title) = 0;
    // Sends the page; false when the printer did not receive the job.
    virtual bool EndJob() = 0;
    virtual bool JobActive() const = 0;

    // Read while a job is open: physical paper width in device pixels and the
    // device's horizontal dots per inch.
    virtual int PaperWidth() = 0;
    virtual int PageDpiX() = 0;
    // Width in device pixels of the printable area, where drawing starts; the
    // whole paper unless the device says otherwise.
    virtual int PrintableWidth() { return PaperWidth(); }
    virtual void SetFont(const QString& face, int pointSize, TFontStyle style) = 0;
    // Top-left corner of the text at (x, y) device pixels of the printable area.
    virtual void DrawText(int x, int y, const QString& text) = 0;

    // Width in screen pixels of `text` in that face and size, and the screen's
    // horizontal dots per inch.
    virtual double ScreenTextWidth(const QString& face, int pointSize, const QString& text) = 0;
    virtual double ScreenDpiX() = 0;
};

// The installed device. Until one is installed there is no printer and text
// has no width.
TPageDevice& PageDevice();
// Installs d (not owned); nullptr restores the default.
void SetPageDevice(TPageDevice* d);
