#include "billing/printing/setorloadini.h"

#include "tempfolder.h"

#include <QFile>

#include "qtprinters.h"

#include <gtest/gtest.h>

namespace {

class IniTest : public TempFolderTest {
protected:
    QString ini() const { return path(QStringLiteral("config.ini")); }

    void write(const QByteArray& bytes) const {
        QFile f(ini());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QString read() const {
        QFile f(ini());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
};

TEST_F(IniTest, MissingFileLeavesStartValuesAndCreatesNothing) {
    kd_printname = QStringLiteral("old");
    cd_printname = QStringLiteral("old");
    TTicketSettings s;
    s.SetEdit(QStringLiteral("lab_shopname"), QStringLiteral("typed"));
    LoadTicketSettings(s, ini());

    const TTicketSettings start;
    EXPECT_EQ(s.Edit(QStringLiteral("lab_shopname")), QStringLiteral("typed"));
    EXPECT_EQ(s.Edit(QStringLiteral("lab_zwhmc")), QStringLiteral("桌位号："));
    EXPECT_EQ(s.Edit(QStringLiteral("lab_cwfname")), QStringLiteral("茶水费"));
    EXPECT_EQ(s.Edit(QStringLiteral("kd_labedit_lieju")), QStringLiteral("0.00,3.10,4.20,5.30"));
    EXPECT_EQ(s.Edit(QStringLiteral("cd_labedit_lieju")), QStringLiteral("0.00,3.10,4.20"));
    EXPECT_EQ(s.Edit(QStringLiteral("cd_labedit_size")), QStringLiteral("12"));
    // Every option starts ticked but the automatic kitchen ticket.
    for (const QString& box : start.CheckBoxNames())
        EXPECT_EQ(s.CheckBox(box), box != QLatin1String("box_autochuda")) << box.toStdString();
    EXPECT_TRUE(start.IsCheckBox(QStringLiteral("box_autochuda")));
    EXPECT_TRUE(kd_printname.isEmpty());
    EXPECT_TRUE(cd_printname.isEmpty());
    EXPECT_FALSE(QFile::exists(ini()));
}

TEST_F(IniTest, SaveAndLoadRoundTripKeepsChineseAndTrimsPrinters) {
    TTicketSettings s;
    s.SetEdit(QStringLiteral("lab_shopname"), QStringLiteral("老王川菜馆"));
    s.SetEdit(QStringLiteral("lab_title"), QStringLiteral("结账单 = 欢迎光临; #1"));
    s.SetEdit(QStringLiteral("lab_address"), QStringLiteral("成都市\nlab_tel=999"));
    s.SetEdit(QStringLiteral("kd_labedit_top"), QStringLiteral("1.5"));
    SaveTicketSettings(s, QStringLiteral("  收银 打印机  "), QStringLiteral("请选择打印机"), ini());

    const QString text = read();
    for (const QString& key : s.EditNames())
        EXPECT_TRUE(text.contains(QLatin1Char('\n') + key + QLatin1Char('='))) << key.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("kd_printname=收银 打印机")));

    kd_printname.clear();
    cd_printname.clear();
    TTicketSettings back;
    LoadTicketSettings(back, ini());
    for (const QString& key : s.EditNames()) {
        const QString expected = key == QLatin1String("lab_address")
                                     ? QStringLiteral("成都市 lab_tel=999")
                                     : s.Edit(key);
        EXPECT_EQ(back.Edit(key), expected) << key.toStdString();
    }
    EXPECT_EQ(kd_printname, QStringLiteral("收银 打印机"));
    EXPECT_EQ(cd_printname, QStringLiteral("请选择打印机"));
}

TEST_F(IniTest, ReadsByteOrderMarkCrlfAndKeysInAnyCase) {
    write("\xEF\xBB\xBF[settingedit]\r\nLAB_SHOPNAME=川味小馆\r\nKd_LabEdit_Size=14\r\n"
          "[SETTING]\r\nBox_XpIsTel=0\r\n[settingprint]\r\nKD_PRINTNAME=厨房 1\r\n");
    TTicketSettings s;
    LoadTicketSettings(s, ini());
    EXPECT_EQ(s.Edit(QStringLiteral("lab_shopname")), QStringLiteral("川味小馆"));
    EXPECT_EQ(s.Edit(QStringLiteral("kd_labedit_size")), QStringLiteral("14"));
    EXPECT_FALSE(s.CheckBox(QStringLiteral("box_xpistel")));
    EXPECT_TRUE(s.CheckBox(QStringLiteral("box_xptitle")));
    EXPECT_EQ(kd_printname, QStringLiteral("厨房 1"));

    // A save updates the keys where they are instead of adding a second spelling.
    SaveAllEditsToIni(QStringLiteral("SettingEdit"), s, ini());
    const QString text = read();
    EXPECT_EQ(text.count(QStringLiteral("shopname="), Qt::CaseInsensitive), 1);
    EXPECT_TRUE(text.contains(QStringLiteral("LAB_SHOPNAME=川味小馆")));
    EXPECT_EQ(text.count(QStringLiteral("[settingedit]"), Qt::CaseInsensitive), 1);
}

TEST_F(IniTest, OnlyTheValueOneTicksAnOption) {
    const struct {
        const char* value;
        bool ticked;
    } cases[] = {{"1", true}, {"0", false}, {"true", false}, {"", false}, {"01", false}};
    for (const auto& c : cases) {
        write(QByteArray("[Setting]\nbox_xpistel=") + c.value + "\nbox_unknown=1\n");
        TTicketSettings s;
        s.SetCheckBox(QStringLiteral("box_xpistel"), !c.ticked);
        GetCheckBoxStat(QStringLiteral("Setting"), s, ini());
        EXPECT_EQ(s.CheckBox(QStringLiteral("box_xpistel")), c.ticked) << c.value;
    }
}

TEST_F(IniTest, SavesKeepUnknownKeysAndTheirOrder) {
    write("; kept comment\n[SettingEdit]\nold_key=旧值\nlab_title=T\nzz_last=尾\n"
          "[Update]\nurl=http://127.0.0.1:1/\n");
    TTicketSettings s;
    GetEditStat(QStringLiteral("SettingEdit"), s, ini());
    EXPECT_EQ(s.Edit(QStringLiteral("lab_title")), QStringLiteral("T"));
    SaveAllEditsToIni(QStringLiteral("SettingEdit"), s, ini());
    kd_printname = QStringLiteral("P");
    saveprint(ini());

    const QString text = read();
    EXPECT_TRUE(text.contains(QStringLiteral("; kept comment")));
    EXPECT_TRUE(text.contains(QStringLiteral("url=http://127.0.0.1:1/")));
    const qsizetype oldKey = text.indexOf(QStringLiteral("old_key=旧值"));
    const qsizetype title = text.indexOf(QStringLiteral("lab_title=T"));
    const qsizetype last = text.indexOf(QStringLiteral("zz_last=尾"));
    const qsizetype added = text.indexOf(QStringLiteral("lab_shopname="));
    ASSERT_GE(oldKey, 0);
    EXPECT_LT(oldKey, title);
    EXPECT_LT(title, last);
    EXPECT_LT(last, added);
    EXPECT_TRUE(text.contains(QStringLiteral("[SettingPrint]\nkd_printname=P\ncd_printname=\n")));
}

TEST_F(IniTest, ToggleWritesThatOptionAlone) {
    write("[SettingEdit]\nlab_title=saved\n");
    TTicketSettings s;
    s.SetEdit(QStringLiteral("lab_title"), QStringLiteral("typed, not saved"));
    s.SetCheckBox(QStringLiteral("box_xpistel"), false);
    setconfig(QStringLiteral("box_xpistel"), QStringLiteral("Setting"), s, ini());
    setconfig(QStringLiteral("lab_title"), QStringLiteral("Setting"), s, ini());
    EXPECT_EQ(read().split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              QStringList({"[SettingEdit]", "lab_title=saved", "[Setting]", "box_xpistel=0"}));

    s.SetCheckBox(QStringLiteral("box_xpistel"), true);
    setconfig(QStringLiteral("box_xpistel"), QStringLiteral("Setting"), s, ini());
    TTicketSettings back;
    back.SetCheckBox(QStringLiteral("box_xpistel"), false);
    GetCheckBoxStat(QStringLiteral("Setting"), back, ini());
    EXPECT_TRUE(back.CheckBox(QStringLiteral("box_xpistel")));
}

TEST_F(IniTest, FailedSavesThrowAndFailedTogglesAreSilent) {
    const QString missing = path(QStringLiteral("no/such/folder/config.ini"));
    TTicketSettings s;
    EXPECT_THROW(SaveAllEditsToIni(QStringLiteral("SettingEdit"), s, missing), EIniError);
    EXPECT_THROW(saveprint(missing), EIniError);
    EXPECT_NO_THROW(
        setconfig(QStringLiteral("box_xptitle"), QStringLiteral("Setting"), s, missing));
    EXPECT_FALSE(QFile::exists(missing));
}

} // namespace
