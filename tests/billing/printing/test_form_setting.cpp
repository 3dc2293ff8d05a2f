#include "billing/printing/devices/recordingdevice.h"
#include "billing/printing/form_setting.h"
#include "billing/printing/setorloadini.h"
#include "common/appvalues.h"
#include "common/ui/laymsg.h"

#include "qtprinters.h"
#include "tempfolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>

namespace {

class FormSettingTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        inipath = path(QStringLiteral("config.ini"));
        kd_printname.clear();
        cd_printname.clear();
        TicketSettings().Reset();
        device.PrinterNames = {QStringLiteral("PDF"), QStringLiteral("厨房")};
        SetPageDevice(&device);
    }
    void TearDown() override { SetPageDevice(nullptr); }

    std::unique_ptr<TForm_setting> open() {
        auto form = std::make_unique<TForm_setting>();
        form->FormCreate();
        form->show();
        return form;
    }

    QString ini(const QString& key) {
        QSettings s(inipath, QSettings::IniFormat);
        return s.value(key).toString();
    }

    QString shown() const { return mypan() && mypan()->isVisible() ? mypan()->text() : QString(); }

    TRecordingPageDevice device;
};

} // namespace

TEST_F(FormSettingTest, FirstStartShowsStartTextsAndSaveWritesEveryKey) {
    auto form = open();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("系统设置"));
    EXPECT_EQ(form->Edit(QStringLiteral("lab_cwfname"))->text(), QStringLiteral("茶水费"));
    EXPECT_EQ(form->Edit(QStringLiteral("lab_zwhmc"))->text(), QStringLiteral("桌位号："));
    EXPECT_EQ(form->Edit(QStringLiteral("kd_labedit_lieju"))->text(),
              QStringLiteral("0.00,3.10,4.20,5.30"));
    EXPECT_TRUE(form->CheckBox(QStringLiteral("box_autoprint"))->isChecked());
    EXPECT_EQ(form->box_kd->currentText(), QStringLiteral("请选择打印机"));
    EXPECT_EQ(form->box_cd->count(), 3);
    EXPECT_FALSE(QFile::exists(inipath));

    QTest::mouseClick(form->btnAdd, Qt::LeftButton);
    EXPECT_EQ(shown(), QStringLiteral("保存成功"));
    QSettings saved(inipath, QSettings::IniFormat);
    saved.beginGroup(QStringLiteral("SettingEdit"));
    EXPECT_EQ(saved.childKeys().size(), 15);
    saved.endGroup();
    EXPECT_EQ(ini(QStringLiteral("SettingPrint/kd_printname")), QStringLiteral("请选择打印机"));
    EXPECT_EQ(ini(QStringLiteral("SettingPrint/cd_printname")), QStringLiteral("请选择打印机"));
}

TEST_F(FormSettingTest, SavedTextsAndPrintersComeBackAndTypedNamesAreTrimmed) {
    {
        auto form = open();
        form->Edit(QStringLiteral("lab_shopname"))->setText(QStringLiteral("老王家常菜"));
        form->box_kd->setCurrentIndex(1);
        form->box_cd->setEditText(QStringLiteral("  厨房  "));
        QTest::mouseClick(form->btnAdd, Qt::LeftButton);
    }
    EXPECT_EQ(kd_printname, QStringLiteral("PDF"));
    EXPECT_EQ(cd_printname, QStringLiteral("厨房"));
    TicketSettings().Reset();
    kd_printname.clear();
    auto form = open();
    EXPECT_EQ(form->Edit(QStringLiteral("lab_shopname"))->text(), QStringLiteral("老王家常菜"));
    EXPECT_EQ(form->box_kd->currentText(), QStringLiteral("PDF"));
    EXPECT_EQ(form->box_cd->currentText(), QStringLiteral("厨房"));
}

TEST_F(FormSettingTest, ToggledOptionIsWrittenAtOnceLoadedOnesAreNot) {
    auto form = open();
    EXPECT_FALSE(QFile::exists(inipath)); // loading wrote nothing back
    QCheckBox* tel = form->CheckBox(QStringLiteral("box_xpistel"));
    QTest::mouseClick(tel, Qt::LeftButton);
    EXPECT_FALSE(TicketSettings().CheckBox(QStringLiteral("box_xpistel")));
    EXPECT_EQ(ini(QStringLiteral("Setting/box_xpistel")), QStringLiteral("0"));

    TicketSettings().Reset();
    auto again = open();
    EXPECT_FALSE(again->CheckBox(QStringLiteral("box_xpistel"))->isChecked());
}

TEST_F(FormSettingTest, SamplesUseTheFieldsAsTypedAndThePrinterAsSaved) {
    auto form = open();
    kd_printname = QStringLiteral("PDF");
    form->box_kd->setCurrentIndex(2); // picked, not saved
    form->Edit(QStringLiteral("kd_labedit_top"))->setText(QStringLiteral("1.5"));
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    EXPECT_EQ(device.Selected, QStringLiteral("PDF"));
    ASSERT_FALSE(device.Texts.isEmpty());
    EXPECT_EQ(device.Texts.first().y, 150); // 1.5 cm at 254 dpi
    EXPECT_EQ(shown(), QString());

    // Outcomes other than a finished print are shown.
    form->Edit(QStringLiteral("kd_labedit_size"))->setText(QStringLiteral("0"));
    QTest::mouseClick(form->Button1, Qt::LeftButton);
    EXPECT_EQ(shown(), QStringLiteral("字体大小设置错误，请在软件设置中设置"));
    QTest::mouseClick(form->Button2, Qt::LeftButton);
    EXPECT_EQ(shown(), QStringLiteral("请先设置打印机"));
    cd_printname = QStringLiteral("厨房");
    form->Edit(QStringLiteral("cd_labedit_top"))->setText(QStringLiteral("abc"));
    QTest::mouseClick(form->Button2, Qt::LeftButton);
    EXPECT_TRUE(shown().contains(QStringLiteral("abc"))) << shown().toStdString();
}
