#include "billing/printing/devices/pagedevice.h"

namespace {

class TNoPageDevice : public TPageDevice {
public:
    QStringList Printers() override { return {}; }
    void SelectPrinter(int) override {}
    int PrinterDpiX() override { return 0; }
    int PrinterDpiY() override { return 0; }
    bool BeginJob(const QString&) override { return false; }
    bool EndJob() override { return false; }
    bool JobActive() const override { return false; }
    int PaperWidth() override { return 0; }
    int PageDpiX() override { return 0; }
    void SetFont(const QString&, int, TFontStyle) override {}
    void DrawText(int, int, const QString&) override {}
    double ScreenTextWidth(const QString&, int, const QString&) override { return 0; }
    double ScreenDpiX() override { return 96; }
};

TNoPageDevice g_none;
TPageDevice* g_current = nullptr;

} // namespace

TPageDevice& PageDevice() {
    return g_current ? *g_current : g_none;
}

void SetPageDevice(TPageDevice* d) {
    g_current = d;
}
