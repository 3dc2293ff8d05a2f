// The hour a business day starts: its config.ini key and the group of the
// settings screen that saves it as soon as one is picked.

#include "backup/backupconfig.h"
#include "billing/printing/devices/recordingdevice.h"
#include "billing/printing/form_setting.h"
#include "billing/printing/inivalue.h"
#include "billing/printing/setorloadini.h"
#include "common/appvalues.h"
#include "common/ui/laymsg.h"
#include "report/reportconfig.h"
#include "report/reportsettings.h"

#include "../common/printqstring.h"
#include "tempfolder.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QTest>

namespace {

class ReportDayStartTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        inipath = path(QStringLiteral("config.ini"));
        TicketSettings().Reset();
        SetPageDevice(&device);
    }
    void TearDown() override { SetPageDevice(nullptr); }

    void writeIni(const QByteArray& text) {
        QFile f(inipath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QByteArray iniText() {
        QFile f(inipath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    std::unique_ptr<TForm_setting> open() {
        auto form = std::make_unique<TForm_setting>();
        form->FormCreate();
        form->show();
        return form;
    }

    // Picks the next hour the way the operator does, from the keyboard.
    void pickNext(QComboBox* box) { QTest::keyClick(box, Qt::Key_Down); }

    QString shown() const { return mypan() && mypan()->isVisible() ? mypan()->text() : QString(); }

    TRecordingPageDevice device;
};

TEST_F(ReportDayStartTest, OnlyAnHourOfTheDayIsReadAnythingElseIsMidnight) {
    EXPECT_EQ(LoadReportDayStart(), 0); // no file
    const struct {
        const char* text;
        int hour;
    } cases[] = {
        {"[Report]\ndaystart=2\n", 2},   {"[report]\r\nDAYSTART = 23\r\n", 23},
        {"[Report]\ndaystart=24\n", 0},  {"[Report]\ndaystart=-1\n", 0},
        {"[Report]\ndaystart=abc\n", 0}, {"[Report]\ndaystart=2.5\n", 0},
        {"[Report]\ndaystart=\n", 0},    {"[Report]\nother=5\n", 0},
        {"[Backup]\ndaystart=4\n", 0},   {"\xEF\xBB\xBF[Report]\ndaystart=6\n", 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        writeIni(c.text);
        EXPECT_EQ(LoadReportDayStart(), c.hour);
    }
}

TEST_F(ReportDayStartTest, ASavedHourReadsBackAndEveryOtherKeyStays) {
    writeIni("; till of the bar\n[Backup]\ndir2=/media/usb\n\n[Report]\nother=中文\n"
             "daystart=1\n\n[Setting]\nbox_xptitle=0\n");
    SaveReportDayStart(3);
    EXPECT_EQ(LoadReportDayStart(), 3);
    EXPECT_EQ(LoadBackupDir2(), QStringLiteral("/media/usb"));
    EXPECT_EQ(LoadIniValue("Report", "other", inipath), QStringLiteral("中文"));
    EXPECT_EQ(LoadIniValue("Setting", "box_xptitle", inipath), QStringLiteral("0"));
    EXPECT_TRUE(iniText().contains("; till of the bar"));
    EXPECT_EQ(iniText().count("daystart"), 1);

    EXPECT_THROW(SaveReportDayStart(24), EIniError);
    EXPECT_EQ(LoadReportDayStart(), 3);
}

TEST_F(ReportDayStartTest, GroupShowsTheSavedHourAndSavesAPickAtOnce) {
    writeIni("[Report]\ndaystart=2\n");
    {
        auto form = open();
        QComboBox* box = form->ReportGroup->box_daystart;
        ASSERT_EQ(box, form->findChild<QComboBox*>(QStringLiteral("box_daystart")));
        ASSERT_EQ(box->count(), 24);
        EXPECT_EQ(box->itemText(0), QStringLiteral("00:00"));
        EXPECT_EQ(box->itemText(23), QStringLiteral("23:00"));
        EXPECT_EQ(box->currentText(), QStringLiteral("02:00"));
        EXPECT_FALSE(box->toolTip().isEmpty());
        EXPECT_EQ(form->ReportGroup->title(), QStringLiteral("营业统计"));
        // Showing the hour writes nothing.
        EXPECT_EQ(iniText(), QByteArray("[Report]\ndaystart=2\n"));

        pickNext(box);
        EXPECT_EQ(box->currentText(), QStringLiteral("03:00"));
        EXPECT_EQ(LoadReportDayStart(), 3);
        EXPECT_EQ(shown(), QStringLiteral("保存成功"));
    }
    auto again = open();
    EXPECT_EQ(again->ReportGroup->box_daystart->currentText(), QStringLiteral("03:00"));
}

TEST_F(ReportDayStartTest, AFailedSaveIsToldWithItsReasonAndTheBoxKeepsTheHourInEffect) {
    auto form = open();
    QComboBox* box = form->ReportGroup->box_daystart;
    EXPECT_EQ(box->currentText(), QStringLiteral("00:00"));
    // A folder that is a file cannot be written, even by root.
    writeIni("[Report]\ndaystart=0\n");
    inipath = path(QStringLiteral("config.ini/config.ini"));

    pickNext(box);
    EXPECT_TRUE(shown().startsWith(QStringLiteral("无法")) &&
                shown().contains(QStringLiteral("config.ini/config.ini")))
        << shown().toStdString();
    EXPECT_NE(shown(), QStringLiteral("保存成功"));
    EXPECT_EQ(box->currentText(), QStringLiteral("00:00"));

    // Once the file can be written, the same pick saves.
    inipath = path(QStringLiteral("config.ini"));
    pickNext(box);
    EXPECT_EQ(shown(), QStringLiteral("保存成功"));
    EXPECT_EQ(LoadReportDayStart(), 1);
}

} // namespace
