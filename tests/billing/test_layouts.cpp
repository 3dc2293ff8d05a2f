#include "billing/layoutreader.h"
#include "billing/myprint.h"
#include "billing/recordingdevice.h"
#include "billing/ticketlayouts.h"
#include "common/appvalues.h"
#include "common/clock.h"
#include "store/adddata.h"
#include "store/sqlitedb.h"

#include "tempfolder.h"

#include "qtprinters.h"

#include <gtest/gtest.h>

namespace {

const QString kDate = QStringLiteral("[{\"title\":\"日期：2024-05-06 07:08\"}],");
const QString kDash = QStringLiteral("[{\"title\":\"---\",\"isline\":1}],");
const QString kReceiptHeading =
    QStringLiteral("[{\"title\":\"菜品名称\"},{\"title\":\"数量\"},{\"title\":\"小计\"}],");

class LayoutTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        zclock::SetTestClock([] { return QDateTime(QDate(2024, 5, 6), QTime(7, 8, 59)); });
        ASSERT_TRUE(AutoCreateTable(dbPath()));
        db = std::make_unique<TSQLiteDatabase>(dbPath());
        settings.SetEdit(QStringLiteral("lab_shopname"), QStringLiteral("  老王川菜馆 "));
        settings.SetEdit(QStringLiteral("lab_title"), QStringLiteral(" 结账单 "));
        settings.SetEdit(QStringLiteral("lab_address"), QStringLiteral(" 人民路1号 "));
        settings.SetEdit(QStringLiteral("lab_tel"), QStringLiteral(" 028-1234 "));
    }
    void TearDown() override { zclock::SetTestClock({}); }

    void line(const char* title, double quantity, double price, int stat, int deskid = 7,
              int issettle = 0, int rootid = 0) {
        db->ExecSQL(QStringLiteral("INSERT INTO zel_orders_detail "
                                   "(title,quantity,price,stat,deskid,issettle,rootid) VALUES "
                                   "('%1',%2,%3,%4,%5,%6,%7)")
                        .arg(QString::fromUtf8(title))
                        .arg(quantity, 0, 'g', 17)
                        .arg(price, 0, 'g', 17)
                        .arg(stat)
                        .arg(deskid)
                        .arg(issettle)
                        .arg(rootid));
    }

    static int rowsOf(const QString& layout) {
        rapidjson::Document doc;
        return ParseLayout(layout, doc) ? int(doc.Size()) : -1;
    }

    std::unique_ptr<TSQLiteDatabase> db;
    TTicketSettings settings;
};

TEST_F(LayoutTest, TableReceiptStrikesReturnedLinesAndLeavesThemOutOfTheTotal) {
    line("鱼香茄子", 1, 39.01, 0);
    line("红烧肉", 2, 50, 7);
    line("米饭", 0.5, 1, 3);
    line("已删除", 1, 99, 8);
    line("别桌", 1, 99, 0, 8);
    line("已结算", 1, 99, 3, 7, 1);

    const QString layout = BuildTableReceipt(*db, settings, 7, QStringLiteral("A01"));
    EXPECT_EQ(
        layout,
        QStringLiteral("[") + "[{\"title\":\"老王川菜馆\",\"size\":12,\"iscenter\":1}]," +
            "[{\"title\":\"结账单\",\"iscenter\":1}]," + kDate +
            "[{\"title\":\"桌位号：：A01\"}]," + kReceiptHeading + kDash +
            "[{\"title\":\"鱼香茄子\",\"isdel\":\"0\"},{\"title\":\"1\",\"isdel\":\"0\"},"
            "{\"title\":\"39.01\",\"isdel\":\"0\"}],"
            "[{\"title\":\"红烧肉\",\"isdel\":\"1\"},{\"title\":\"2\",\"isdel\":\"1\"},"
            "{\"title\":\"50.00\",\"isdel\":\"1\"}],"
            "[{\"title\":\"米饭\",\"isdel\":\"0\"},{\"title\":\"0.5\",\"isdel\":\"0\"},"
            "{\"title\":\"1.00\",\"isdel\":\"0\"}]," +
            kDash + "[{\"title\":\"合计：￥40.01\"}]," + kDash +
            "[{\"title\":\"地址：人民路1号\",\"iskg\":1}],[{\"title\":\"电话：028-1234\"}],]");
    EXPECT_EQ(rowsOf(layout), 14);

    // Printed, the returned line is struck through in every cell.
    TRecordingPageDevice dev;
    dev.PrinterNames = {QStringLiteral("PDF")};
    kd_printname = QStringLiteral("PDF");
    QString result;
    addprint(dev, settings, layout, QStringLiteral("0"), result);
    ASSERT_EQ(result, printresult::Done());
    for (const auto& t : dev.Texts) {
        const bool returnedCell = t.text == QStringLiteral("红烧肉") ||
                                  t.text == QStringLiteral("2") ||
                                  t.text == QStringLiteral("50.00");
        EXPECT_EQ(t.style, returnedCell ? TFontStyle::StrikeOut : TFontStyle::Plain)
            << t.text.toStdString();
    }
}

TEST_F(LayoutTest, EmptyTableReceiptAndItsOptionalRows) {
    const struct {
        bool address;
        bool tel;
        QString tail;
    } cases[] = {
        {true, true,
         kDash + "[{\"title\":\"地址：人民路1号\",\"iskg\":1}],[{\"title\":\"电话：028-1234\"}],]"},
        {true, false, kDash + "[{\"title\":\"地址：人民路1号\",\"iskg\":1}],]"},
        {false, true, kDash + "[{\"title\":\"电话：028-1234\"}],]"},
        {false, false, kDash + "]"},
    };
    // The title options belong to the sample alone.
    settings.SetCheckBox(QStringLiteral("box_xptitle"), false);
    settings.SetCheckBox(QStringLiteral("box_xpiscenter"), false);
    for (const auto& c : cases) {
        settings.SetCheckBox(QStringLiteral("box_xpisaddress"), c.address);
        settings.SetCheckBox(QStringLiteral("box_xpistel"), c.tel);
        const QString layout = BuildTableReceipt(*db, settings, 7, QStringLiteral("A01"));
        EXPECT_TRUE(layout.contains(kReceiptHeading + kDash + kDash +
                                    "[{\"title\":\"合计：￥0.00\"}]," + c.tail))
            << layout.toStdString();
        EXPECT_TRUE(layout.contains(QStringLiteral("[{\"title\":\"结账单\",\"iscenter\":1}],")));
        EXPECT_GT(rowsOf(layout), 0);
    }
}

TEST_F(LayoutTest, KitchenTicketListsOpenLinesWithoutPrices) {
    line("鱼香茄子", 1, 39.01, 0);
    line("红烧肉", 2, 50, 7);
    line("已删除", 1, 99, 8);
    settings.SetEdit(QStringLiteral("lab_zwhmc"), QStringLiteral(" 台号 "));
    EXPECT_EQ(BuildKitchenTicket(*db, settings, 7, QStringLiteral("B2")),
              QStringLiteral("[") + kDate + "[{\"title\":\"台号：B2\"}]," +
                  "[{\"title\":\"菜品名称和做法\"},{\"title\":\"数量\"}]," + kDash +
                  "[{\"title\":\"鱼香茄子\",\"isdel\":\"0\"},{\"title\":\"1\",\"isdel\":\"0\"}],"
                  "[{\"title\":\"红烧肉\",\"isdel\":\"1\"},{\"title\":\"2\",\"isdel\":\"1\"}],]");
}

TEST_F(LayoutTest, OrderReceiptReadsTheSettledOrdersLines) {
    line("鱼香茄子", 1, 39.01, 3, 7, 1, 42);
    line("红烧肉", 2, 50, 7, 7, 1, 42);
    line("已删除", 1, 99, 8, 7, 1, 42);
    line("别单", 1, 99, 3, 7, 1, 43);
    const QString layout = BuildOrderReceipt(*db, settings, 42, QStringLiteral("A09"));
    EXPECT_TRUE(layout.contains(QStringLiteral("[{\"title\":\"桌位号：：A09\"}],")));
    EXPECT_TRUE(layout.contains(QStringLiteral("{\"title\":\"50.00\",\"isdel\":\"1\"}]")));
    EXPECT_FALSE(layout.contains(QStringLiteral("已删除")));
    EXPECT_FALSE(layout.contains(QStringLiteral("别单")));
    EXPECT_TRUE(layout.contains(QStringLiteral("[{\"title\":\"合计：￥39.01\"}],")));
}

TEST_F(LayoutTest, TotalsDoNotLoseCentsToBinaryFractions) {
    // 0.7 + 0.1 is 0.7999999999999999 in binary, and 3 x 0.7 stores as 2.0999999999999996.
    line("甲", 1, 0.7, 0);
    line("乙", 1, 0.1, 0);
    line("丙", 3, 0.7 * 3, 0);
    const QString layout = BuildTableReceipt(*db, settings, 7, QStringLiteral("A01"));
    EXPECT_TRUE(layout.contains(QStringLiteral("{\"title\":\"2.10\",\"isdel\":\"0\"}")));
    EXPECT_TRUE(layout.contains(QStringLiteral("[{\"title\":\"合计：￥2.90\"}],")));
}

TEST_F(LayoutTest, SampleReceiptFollowsTheTitleOptionsAndKeepsTextsUntrimmed) {
    const QString body =
        kDate + "[{\"title\":\"桌号：大厅01\"}]," + kDash + kReceiptHeading +
        "[{\"title\":\"鱼香茄子\"},{\"title\":\"1\"},{\"title\":\"39.01\"}],"
        "[{\"title\":\"腌笃鲜\"},{\"title\":\"2\"},{\"title\":\"76.40\"}],"
        "[{\"title\":\"红烧肉\"},{\"title\":\"3\"},{\"title\":\"111.15\"}],"
        "[{\"title\":\"砂锅鱼头\"},{\"title\":\"4\"},{\"title\":\"144.12\"}]," +
        kDash +
        "[{\"title\":\"合计：￥370.32\"}],[{\"title\":\"优惠：￥70.32\"}],"
        "[{\"title\":\"实付：￥300.00\"}]," +
        kDash +
        "[{\"title\":\"地址： 人民路1号 \",\"iskg\":1}],[{\"title\":\"电话： 028-1234 \"}],]";
    const QString shop =
        QStringLiteral("[[{\"title\":\"  老王川菜馆 \",\"size\":13,\"iscenter\":1}],");
    const struct {
        bool title;
        bool centre;
        QString titleRow;
    } cases[] = {
        {true, true, QStringLiteral("[{\"title\":\" 结账单 \",\"iscenter\":1}],")},
        {true, false, QStringLiteral("[{\"title\":\" 结账单 \",\"iscenter\":0}],")},
        {false, true, QString()},
    };
    // Address and phone are on the sample whatever their options say.
    settings.SetCheckBox(QStringLiteral("box_xpisaddress"), false);
    settings.SetCheckBox(QStringLiteral("box_xpistel"), false);
    for (const auto& c : cases) {
        settings.SetCheckBox(QStringLiteral("box_xptitle"), c.title);
        settings.SetCheckBox(QStringLiteral("box_xpiscenter"), c.centre);
        const QString layout = BuildSampleReceipt(settings);
        EXPECT_EQ(layout, shop + c.titleRow + body);
        EXPECT_EQ(rowsOf(layout), c.title ? 17 : 16);
    }
}

TEST_F(LayoutTest, SampleKitchenTicket) {
    const QString layout = BuildSampleKitchenTicket();
    EXPECT_EQ(layout, QStringLiteral("[") + kDate +
                          "[{\"title\":\"桌号：大厅01\"}],"
                          "[{\"title\":\"菜品名称和做法\"},{\"title\":\"数量\"}],"
                          "[{\"title\":\"鱼香茄子\"},{\"title\":\"1\"}],"
                          "[{\"title\":\"腌笃鲜\"},{\"title\":\"12\"}],"
                          "[{\"title\":\"红烧肉\"},{\"title\":\"33\"}],"
                          "[{\"title\":\"砂锅鱼头\"},{\"title\":\"20\"}],]");
    EXPECT_EQ(rowsOf(layout), 7);
}

TEST_F(LayoutTest, QuotesBackslashesAndControlCharactersPrintAsTyped) {
    const QString dish = QStringLiteral("他说\"好\"\\吃\t{}");
    const QString bh = QStringLiteral("A\"1\\");
    db->ExecSQL(QStringLiteral("INSERT INTO zel_orders_detail (title,quantity,price,stat,deskid) "
                               "VALUES ('%1',1,5,0,7)")
                    .arg(QString(dish).replace(QLatin1Char('\''), QStringLiteral("''"))));
    settings.SetEdit(QStringLiteral("lab_shopname"), QStringLiteral("\"店\\"));
    settings.SetEdit(QStringLiteral("lab_address"), QStringLiteral("路\\\"1\""));

    TRecordingPageDevice dev;
    dev.PrinterNames = {QStringLiteral("PDF")};
    kd_printname = QStringLiteral("PDF");
    cd_printname = QStringLiteral("PDF");
    const QString layouts[] = {BuildTableReceipt(*db, settings, 7, bh),
                               BuildKitchenTicket(*db, settings, 7, bh),
                               BuildSampleReceipt(settings)};
    for (const QString& layout : layouts) {
        EXPECT_GT(rowsOf(layout), 0) << layout.toStdString();
        QString result;
        addprint(dev, settings, layout, QStringLiteral("0"), result);
        EXPECT_EQ(result, printresult::Done());
    }
    const QStringList drawn = dev.DrawnTexts();
    EXPECT_TRUE(drawn.contains(dish));
    EXPECT_TRUE(drawn.contains(QStringLiteral("桌位号：：") + bh));
    EXPECT_TRUE(drawn.contains(QStringLiteral("\"店\\")));
    EXPECT_TRUE(drawn.contains(QStringLiteral("地址：路\\\"1\"")));
}

TEST_F(LayoutTest, DefaultOverloadsUseTheProgramDatabase) {
    line("鱼香茄子", 1, 39.01, 0);
    sqlitename = dbPath();
    EXPECT_EQ(BuildTableReceipt(7, QStringLiteral("A01")),
              BuildTableReceipt(*db, TicketSettings(), 7, QStringLiteral("A01")));
    EXPECT_TRUE(BuildKitchenTicket(7, QStringLiteral("A01")).contains(QStringLiteral("鱼香茄子")));
    EXPECT_TRUE(BuildOrderReceipt(1, QStringLiteral("A01")).contains(QStringLiteral("￥0.00")));
}

TEST_F(LayoutTest, AFailedReadThrowsInsteadOfPrintingAnEmptyTicket) {
    db->ExecSQL(QStringLiteral("DROP TABLE zel_orders_detail"));
    EXPECT_THROW(BuildTableReceipt(*db, settings, 7, QStringLiteral("A01")), ESQLiteException);
}

} // namespace
