#pragma once

// The program's real windows in a test's own folder: the start-up seams point
// at the folder, boxes and questions are recorded, printers are recorded, and
// every modal dialog is handed to the script set in nextDialog.

#include "app/screens.h"
#include "billing/printing/devices/recordingdevice.h"
#include "common/messages.h"
#include "floor/view/form_main.h"

#include "tempfolder.h"

#include <QString>

#include <cstdint>

#include <functional>
#include <memory>

class QDialog;
class QWidget;

class ProgramWindowsTest : public TempFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Start-up as the program runs it (accepting the demonstration data), the
    // other screens, and the main window shown.
    void startProgram();

    static void click(QWidget* w);
    // Table desk as the operator takes it: its tile, "开台", the first dish
    // ordered `times` times and confirmed, then settled. The table window
    // stays open.
    void orderAndSettle(int32_t desk, int times);
    // The first column of the first row of sql on the working database, "<none>" without rows.
    static QString scalar(const QString& sql);
    // No open ordered line (not settled, not deleted) belongs to a deleted
    // table, where no window would ever show or settle it again.
    static void expectNoOpenLineOnADeletedTable();

    TRecordingMessenger messages;
    TRecordingPageDevice printers;
    std::function<void(QDialog&)> nextDialog;
    std::unique_ptr<Tform_main> window;
    std::unique_ptr<TScreens> screens;
};
