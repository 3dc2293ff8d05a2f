#pragma once

#include "billing/printing/devices/recordingdevice.h"
#include "billing/printing/ticketsettings.h"
#include "common/appvalues.h"
#include "common/clock.h"
#include "common/messages.h"

#include "deskfixture.h"

// What the table window works with besides its database: settings and paths
// of the test folder, a fixed clock, recorded boxes and a recording printer
// device with a receipt and a kitchen printer.
class DeskWindowEnvironment : public DeskFixture {
protected:
    TRecordingMessenger messenger;
    TRecordingPageDevice device;

    void SetUp() override {
        DeskFixture::SetUp();
        sqlitename = dbPath();
        inipath = path(QStringLiteral("config.ini"));
        TicketSettings().Reset();
        zclock::SetTestClock([] { return QDateTime(QDate(2026, 3, 14), QTime(12, 5, 9)); });
        SetMessenger(&messenger);
        device.PrinterNames = {QStringLiteral("前台"), QStringLiteral("厨房")};
        SetPageDevice(&device);
        kd_printname = QStringLiteral("前台");
        cd_printname = QStringLiteral("厨房");
    }
    void TearDown() override {
        SetPageDevice(nullptr);
        SetMessenger(nullptr);
        zclock::SetTestClock({});
        kd_printname.clear();
        cd_printname.clear();
    }
};
