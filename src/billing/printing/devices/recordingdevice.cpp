#include "billing/printing/devices/recordingdevice.h"

void TRecordingPageDevice::SelectPrinter(int index) {
    Selected = PrinterNames.value(index);
}

bool TRecordingPageDevice::BeginJob(const QString& title) {
    if (RefuseJob)
        return false;
    JobTitles << title;
    FActive = true;
    return true;
}

bool TRecordingPageDevice::EndJob() {
    if (!FActive)
        return false;
    FActive = false;
    if (LoseJob)
        return false;
    ++JobsEnded;
    return true;
}

void TRecordingPageDevice::SetFont(const QString& face, int pointSize, TFontStyle style) {
    FFont.face = face;
    FFont.size = pointSize;
    FFont.style = style;
    Fonts << FFont;
}

void TRecordingPageDevice::DrawText(int x, int y, const QString& text) {
    Text t = FFont;
    t.x = x;
    t.y = y;
    t.text = text;
    Texts << t;
}

double TRecordingPageDevice::ScreenTextWidth(const QString&, int pointSize, const QString& text) {
    return double(text.size()) * pointSize;
}

QStringList TRecordingPageDevice::DrawnTexts() const {
    QStringList texts;
    for (const Text& t : Texts)
        texts << t.text;
    return texts;
}
