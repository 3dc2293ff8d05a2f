#include "billing/printing/devices/recordingdevice.h"
#include "billing/printing/layoutreader.h"
#include "billing/printing/myprint.h"
#include "billing/printing/ticketlayouts.h"
#include "billing/table/deskview.h"
#include "common/appvalues.h"
#include "common/clock.h"
#include "common/myfun.h"
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

    // A line of `quantity` at the unit price `oneprice`; its stored amount is
    // the product, as the order manager stores it.
    void line(const char* title, double quantity, double oneprice, int stat, int deskid = 7,
              int issettle = 0, int rootid = 0) {
        db->ExecSQL(QStringLiteral("INSERT INTO zel_orders_detail "
                                   "(title,quantity,oneprice,price,stat,deskid,issettle,rootid) "
                                   "VALUES ('%1',%2,%3,%4,%5,%6,%7,%8)")
                        .arg(QString::fromUtf8(title))
                        .arg(quantity, 0, 'g', 17)
                        .arg(oneprice, 0, 'g', 17)
                        .arg(oneprice * quantity, 0, 'g', 17)
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
    line("红烧肉", 2, 25, 7);
    line("米饭", 0.5, 2, 3);
    line("已删除", 1, 99, 8);
    line("别桌", 1, 99, 0, 8);
    line("已结算", 1, 99, 3, 7, 1);

    const QString layout = BuildTableReceipt(*db, settings, 7, QStringLiteral("A01"));
    EXPECT_EQ(
        layout,
        QStringLiteral("[") + "[{\"title\":\"老王川菜馆\",\"size\":12,\"iscenter\":1}]," +
            "[{\"title\":\"结账单\",\"iscenter\":1}]," + kDate + "[{\"title\":\"桌位号：A01\"}]," +
            kReceiptHeading + kDash +
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
    line("红烧肉", 2, 25, 7);
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
    line("红烧肉", 2, 25, 7, 7, 1, 42);
    line("已删除", 1, 99, 8, 7, 1, 42);
    line("别单", 1, 99, 3, 7, 1, 43);
    const QString layout = BuildOrderReceipt(*db, settings, 42, QStringLiteral("A09"));
    EXPECT_TRUE(layout.contains(QStringLiteral("[{\"title\":\"桌位号：A09\"}],")));
    EXPECT_TRUE(layout.contains(QStringLiteral("{\"title\":\"50.00\",\"isdel\":\"1\"}]")));
    EXPECT_FALSE(layout.contains(QStringLiteral("已删除")));
    EXPECT_FALSE(layout.contains(QStringLiteral("别单")));
    EXPECT_TRUE(layout.contains(QStringLiteral("[{\"title\":\"合计：￥39.01\"}],")));
}

TEST_F(LayoutTest, TotalsDoNotLoseCentsToBinaryFractions) {
    // 0.7 + 0.1 is 0.7999999999999999 in binary, and 3 x 0.7 stores as 2.0999999999999996.
    line("甲", 1, 0.7, 0);
    line("乙", 1, 0.1, 0);
    line("丙", 3, 0.7, 0);
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
    EXPECT_TRUE(drawn.contains(QStringLiteral("桌位号：") + bh));
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
    EXPECT_THROW(BuildOrderReceipt(*db, settings, 42, QStringLiteral("A01")), ESQLiteException);
    EXPECT_THROW(BuildKitchenTicket(*db, settings, 7, QStringLiteral("A01")), ESQLiteException);
}

TEST_F(LayoutTest, TableRowAddsAColonOnlyWhenTheLabelHasNone) {
    const struct {
        const char* label;
        const char* row;
    } cases[] = {
        {"桌位号：", "桌位号：A01"},
        {" 桌号: ", "桌号:A01"},
        {" 台号 ", "台号：A01"},
        {"", "：A01"},
    };
    for (const auto& c : cases) {
        settings.SetEdit(QStringLiteral("lab_zwhmc"), QString::fromUtf8(c.label));
        const QString row = QStringLiteral("[{\"title\":\"%1\"}],").arg(QString::fromUtf8(c.row));
        EXPECT_TRUE(BuildTableReceipt(*db, settings, 7, QStringLiteral("A01")).contains(row))
            << c.label;
        EXPECT_TRUE(BuildKitchenTicket(*db, settings, 7, QStringLiteral("A01")).contains(row))
            << c.label;
    }
}

TEST_F(LayoutTest, ReceiptAmountsAreTheTableWindowsRoundedSubtotals) {
    // 12.33 x 0.5 = 6.165 and 8.15 x 0.5 = 4.075: cut to the cent they would
    // print 6.16 + 4.07 against the window's 6.17 + 4.08 = 10.25.
    line("甲", 0.5, 12.33, 0);
    line("乙", 0.5, 8.15, 3);
    line("退", 1, 7.77, 7);
    line("甲", 0.5, 12.33, 3, 7, 1, 42);
    line("乙", 0.5, 8.15, 3, 7, 1, 42);
    line("退", 1, 7.77, 7, 7, 1, 42);
    const TDeskLines window = ReadDeskLines(*db, 7);
    ASSERT_EQ(window.Lines.size(), 3);
    ASSERT_EQ(window.Lines[0].Subtotal, QStringLiteral("6.17"));
    ASSERT_EQ(FormatFloat00(window.TotalAmount), QStringLiteral("10.25"));
    const QString receipts[] = {BuildTableReceipt(*db, settings, 7, QStringLiteral("A01")),
                                BuildOrderReceipt(*db, settings, 42, QStringLiteral("A01"))};
    for (const QString& layout : receipts) {
        for (const TDeskLine& l : window.Lines) {
            const QString flag = l.Stat == 7 ? QStringLiteral("1") : QStringLiteral("0");
            EXPECT_TRUE(layout.contains(QStringLiteral("[{\"title\":\"%1\",\"isdel\":\"%4\"},"
                                                       "{\"title\":\"%2\",\"isdel\":\"%4\"},"
                                                       "{\"title\":\"%3\",\"isdel\":\"%4\"}],")
                                            .arg(l.Title, l.Quantity, l.Subtotal, flag)))
                << layout.toStdString();
        }
        EXPECT_TRUE(layout.contains(QStringLiteral("[{\"title\":\"合计：￥10.25\"}],")))
            << layout.toStdString();
    }
}

TEST_F(LayoutTest, PrintedTicketsKeepEveryTextInsideItsColumn) {
    // A 20-character name and a returned one, on the shipped columns, at a size
    // where a character is 2.5 mm wide, about as wide as a Chinese character
    // at 12 points, so 12 fit before the second column.
    line("麻婆豆腐配米饭套餐加辣加麻不要香菜多放葱", 2, 38.5, 0);
    line("松鼠桂鱼整条现杀两斤左右需等待四十分钟", 1, 12.8, 7);
    line("米饭", 3, 2, 0);
    settings.SetEdit(QStringLiteral("kd_labedit_size"), QStringLiteral("25"));
    settings.SetEdit(QStringLiteral("cd_labedit_size"), QStringLiteral("25"));
    TRecordingPageDevice dev;
    dev.PrinterNames = {QStringLiteral("PDF")};
    kd_printname = QStringLiteral("PDF");
    cd_printname = QStringLiteral("PDF");
    const struct {
        QString layout;
        const char* tid;
    } tickets[] = {{BuildTableReceipt(*db, settings, 7, QStringLiteral("A01")), "0"},
                   {BuildKitchenTicket(*db, settings, 7, QStringLiteral("A01")), "1"}};
    for (const auto& t : tickets) {
        dev.Texts.clear();
        QString result;
        addprint(dev, settings, t.layout, QString::fromUtf8(t.tid), result);
        ASSERT_EQ(result, printresult::Done());
        // 254 dpi: a millimetre is 10 pixels; 56 mm are usable.
        const auto right = [&dev](const TRecordingPageDevice::Text& text) {
            return text.x + gettextwidth(dev, text.text, text.size) * 10;
        };
        for (qsizetype i = 0; i < dev.Texts.size(); ++i) {
            const auto& a = dev.Texts[i];
            EXPECT_LE(right(a), 560 + 1e-6) << a.text.toStdString();
            for (qsizetype j = i + 1; j < dev.Texts.size(); ++j) {
                const auto& b = dev.Texts[j];
                if (a.y == b.y) {
                    EXPECT_TRUE(right(a) <= b.x || right(b) <= a.x)
                        << a.text.toStdString() << " / " << b.text.toStdString();
                }
            }
        }
        int struck = 0;
        for (const auto& text : dev.Texts) {
            if (text.text.startsWith(QStringLiteral("松鼠")) ||
                text.text.endsWith(QStringLiteral("四十分钟"))) {
                EXPECT_EQ(text.style, TFontStyle::StrikeOut);
                ++struck;
            }
        }
        EXPECT_EQ(struck, 2) << "the returned name is not on two sub-lines";
    }
}

} // namespace
