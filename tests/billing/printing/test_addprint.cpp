#include "billing/printing/devices/recordingdevice.h"
#include "billing/printing/myprint.h"
#include "common/appvalues.h"

#include "qtprinters.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The recording device at 254 dpi: 1 cm = 100 px; 58 mm paper, so 56 mm usable;
// a character at size s is s/10 mm wide.
class AddPrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        dev.PrinterNames = {QStringLiteral("Office"), QStringLiteral("PDF"),
                            QStringLiteral("厨房")};
        kd_printname = QStringLiteral("PDF");
        cd_printname = QStringLiteral("厨房");
        settings.SetEdit(QStringLiteral("cd_labedit_top"), QStringLiteral("1.0"));
    }

    QString print(const QString& doc, const QString& tid = QStringLiteral("0")) {
        QString result;
        addprint(dev, settings, doc, tid, result);
        return result;
    }

    // "text@x,y" for every drawn text.
    QStringList placed() const {
        QStringList out;
        for (const auto& t : dev.Texts)
            out << QStringLiteral("%1@%2,%3").arg(t.text).arg(t.x).arg(t.y);
        return out;
    }

    int yOf(const QString& text) const {
        for (const auto& t : dev.Texts) {
            if (t.text == text)
                return t.y;
        }
        return -1;
    }

    TRecordingPageDevice dev;
    TTicketSettings settings;
};

TEST_F(AddPrintTest, PicksThePrinterOfTheTicketKindByExactName) {
    const struct {
        const char* kd;
        const char* tid;
        QString result;
        const char* selected;
        int firstY;
    } cases[] = {
        {"PDF", "0", printresult::Done(), "PDF", 50},
        {"PDF", "2", printresult::Done(), "PDF", 50},
        {"PDF", "1", printresult::Done(), "厨房", 100},
        {"pdf", "0", printresult::NoPrinter(), "", -1},
        {"PDF ", "0", printresult::NoPrinter(), "", -1},
        {"请选择打印机", "0", printresult::NoPrinter(), "", -1},
        {"", "0", printresult::NoPrinter(), "", -1},
    };
    for (const auto& c : cases) {
        dev = TRecordingPageDevice();
        dev.PrinterNames = {QStringLiteral("Office"), QStringLiteral("PDF"),
                            QStringLiteral("厨房")};
        kd_printname = QString::fromUtf8(c.kd);
        EXPECT_EQ(print(QStringLiteral("[[{\"title\":\"A\"}],]"), QString::fromUtf8(c.tid)),
                  c.result)
            << c.kd << " " << c.tid;
        EXPECT_EQ(dev.Selected, QString::fromUtf8(c.selected));
        EXPECT_EQ(dev.JobTitles.size(), c.firstY < 0 ? 0 : 1);
        EXPECT_EQ(dev.JobsEnded, c.firstY < 0 ? 0 : 1);
        EXPECT_EQ(yOf(QStringLiteral("A")), c.firstY);
    }
}

TEST_F(AddPrintTest, CentimetresBecomePixelsRoundingUp) {
    const struct {
        int dpiX;
        int dpiY;
        QStringList expected;
    } cases[] = {
        {254, 254, {"A@0,50", "B@310,50", "C@420,50", "D@0,100"}},
        {203, 300, {"A@0,60", "B@248,60", "C@336,60", "D@0,119"}},
    };
    for (const auto& c : cases) {
        dev.Texts.clear();
        dev.DpiX = c.dpiX;
        dev.DpiY = c.dpiY;
        EXPECT_EQ(print(QStringLiteral("[[{\"title\":\"A\"},{\"title\":\"B\"},{\"title\":\"C\"}],"
                                       "[{\"title\":\"D\"}],]")),
                  printresult::Done());
        EXPECT_EQ(placed(), c.expected) << c.dpiX;
    }
}

TEST_F(AddPrintTest, RowAdvanceFollowsTheLastCellAndSubLines) {
    const struct {
        const char* rows; // the rows before a final row holding "X"
        int y;            // where X is drawn
    } cases[] = {
        {R"([{"title":"A"}],)", 100},
        {R"([{"title":"A","size":12}],)", 100},
        {R"([{"title":"A","size":24}],)", 150},
        {R"([{"title":"A","size":18}],)", 125},
        {R"([{"title":"A","size":24},{"title":"B"}],)", 100},
        {R"([{"title":"A"},{"title":"B","size":24}],)", 150},
        {R"([],)", 100},
        {R"([{"title":"A"}],[],)", 150},
        {R"([{"title":"A","size":24}],[],)", 250},
        {R"([{"title":"a<br>b<br>c"}],)", 200},
        {R"([{"title":"a<br>b","size":24}],)", 250},
        {R"([{"title":"a<br>b<br>c"},{"title":"d<br>e"}],)", 150},
        {R"([{"title":"a<br>b"},{"title":"c"}],)", 150},
    };
    for (const auto& c : cases) {
        dev.Texts.clear();
        EXPECT_EQ(print(QStringLiteral("[") + QString::fromUtf8(c.rows) +
                        QStringLiteral("[{\"title\":\"X\"}]]")),
                  printresult::Done());
        EXPECT_EQ(yOf(QStringLiteral("X")), c.y) << c.rows;
    }
}

TEST_F(AddPrintTest, SubLinesStackAndIndentWithIskg) {
    EXPECT_EQ(print(QStringLiteral(R"([[{"title":"一<br>二<br>三","iskg":1},{"title":"P<br>Q"}],)"
                                   R"([{"title":""},{"title":"R<br>S","iskg":1}],)"
                                   R"([{"title":"AB<br>ABCD","iscenter":1,"iskg":1}]])")),
              printresult::Done());
    // Two spaces at size 12 are 2.4 mm: the indent is 0.24 cm from the left edge.
    // The last "<br>" cell of a row (two parts) decides where the next row starts.
    EXPECT_EQ(placed(),
              QStringList({"一@0,50", "二@24,100", "三@24,150", "P@310,50", "Q@310,100", "@0,150",
                           "R@310,150", "S@24,200", "AB@268,250", "ABCD@256,300"}));
}

TEST_F(AddPrintTest, CentringUsesTheUsableWidthAndMayGoNegative) {
    const struct {
        QString cell;
        int dpiX;
        int x;
    } cases[] = {
        {QStringLiteral(R"({"title":"ABCD","iscenter":1})"), 254, 256},
        {QStringLiteral(R"({"title":"ABCD","iscenter":1,"size":24})"), 254, 232},
        // One character 60 mm wide cannot be wrapped any further.
        {QStringLiteral(R"({"title":"M","iscenter":1,"size":600})"), 254, -20},
        {QStringLiteral(R"({"title":"M","iscenter":1,"size":600})"), 203, -15},
    };
    for (const auto& c : cases) {
        dev.Texts.clear();
        dev.DpiX = c.dpiX;
        // In the second column, to show the column position is not used.
        EXPECT_EQ(print(QStringLiteral("[[{},") + c.cell + QStringLiteral("]]")),
                  printresult::Done());
        ASSERT_EQ(dev.Texts.size(), 2);
        EXPECT_EQ(dev.Texts[1].x, c.x) << c.cell.toStdString();
    }
}

TEST_F(AddPrintTest, DashRuleEndsInsideTheUsableWidth) {
    // Usable width: paper less 2 mm, at most the printable area; a dash is
    // size/10 mm wide.
    const struct {
        int pagePixels;
        int areaPixels;
        const char* size;
        int dashes;   // at the configured size
        int dashes24; // on the rule of size 24
    } cases[] = {{580, 0, "12", 46, 23}, {720, 0, "12", 58, 29},   {580, 0, "11", 50, 23},
                 {560, 0, "12", 45, 22}, {580, 570, "12", 46, 23}, {580, 480, "12", 40, 20}};
    for (const auto& c : cases) {
        dev.Texts.clear();
        dev.PagePixels = c.pagePixels;
        dev.AreaPixels = c.areaPixels;
        settings.SetEdit(QStringLiteral("kd_labedit_size"), QString::fromUtf8(c.size));
        EXPECT_EQ(print(QStringLiteral(R"([[{"title":"---","isline":1}],)"
                                       R"([{"title":"ignored","isline":1,"size":24}],)"
                                       R"([{"title":"---","isline":1,"isdel":"1"}],])")),
                  printresult::Done());
        ASSERT_EQ(dev.Texts.size(), 3);
        const int expected[] = {c.dashes, c.dashes24, c.dashes};
        const double usable = std::min(c.pagePixels / 10.0 - 2.0,
                                       (c.areaPixels ? c.areaPixels : c.pagePixels) / 10.0);
        for (int i = 0; i < 3; ++i) {
            const auto& t = dev.Texts[i];
            EXPECT_EQ(t.text, QString(expected[i], QLatin1Char('-')))
                << c.pagePixels << " " << c.size << " row " << i;
            EXPECT_LE(gettextwidth(dev, t.text, t.size), usable + 1e-6);
        }
        EXPECT_EQ(dev.Texts[1].size, 24);
        EXPECT_EQ(dev.Texts[2].style, TFontStyle::StrikeOut);
    }
}

TEST_F(AddPrintTest, LongCellsContinueOnSubLinesWithinTheirColumn) {
    // Receipt columns at 0, 31 and 42 mm; 56 mm usable; a character at size 12
    // is 1.2 mm, so 25 fit before the second column, 11 after the third.
    const QString ten = QStringLiteral("一二三四五六七八九十");
    const QString thirty = ten + ten + ten;
    const QString wide25 = thirty.left(25);
    const QString addr = QStringLiteral("地址：") + ten + ten + ten + ten + ten;
    const struct {
        const char* name;
        QString row;
        QStringList placed; // the row's texts, then "X" of the next row
    } cases[] = {
        {"short name",
         QStringLiteral(R"([{"title":"鱼香茄子"},{"title":"1"},{"title":"39.01"}])"),
         {"鱼香茄子@0,50", "1@310,50", "39.01@420,50", "X@0,100"}},
        {"25 characters fit",
         QStringLiteral(R"([{"title":"%1"},{"title":"1"}])").arg(wide25),
         {wide25 + "@0,50", "1@310,50", "X@0,100"}},
        {"30 characters wrap",
         QStringLiteral(R"([{"title":"%1","isdel":"1"},{"title":"2"},{"title":"9.50"}])")
             .arg(thirty),
         {wide25 + "@0,50", thirty.mid(25) + "@0,100", "2@310,50", "9.50@420,50", "X@0,150"}},
        {"last cell wraps at the usable width",
         QStringLiteral(R"([{"title":"A"},{"title":"1"},{"title":"1234567890123"}])"),
         {"A@0,50", "1@310,50", "12345678901@420,50", "23@420,100", "X@0,150"}},
        {"Latin breaks at a blank",
         QStringLiteral(R"([{"title":"Kung Pao chicken with peanuts"},{"title":"1"}])"),
         {"Kung Pao chicken with@0,50", "peanuts@0,100", "1@310,50", "X@0,150"}},
        {"a word that ends at the column stays on its line",
         QStringLiteral(R"([{"title":"abcdefghij abcdefghij abc de"},{"title":"1"}])"),
         {"abcdefghij abcdefghij abc@0,50", "de@0,100", "1@310,50", "X@0,150"}},
        {"each <br> part wraps on its own",
         QStringLiteral(R"([{"title":"%1<br>微辣"},{"title":"1"}])").arg(thirty),
         {wide25 + "@0,50", thirty.mid(25) + "@0,100", "微辣@0,150", "1@310,50", "X@0,200"}},
        {"a character wider than its column stands alone",
         QStringLiteral(R"([{"title":"甲乙","size":400},{"title":"1"}])"),
         {"甲@0,50", "乙@0,1717", "1@310,50", "X@0,3384"}},
        {"centred sub-lines at the usable width",
         QStringLiteral(R"([{"title":"%1","iscenter":1}])").arg(QString(50, QLatin1Char('M'))),
         {QString(46, QLatin1Char('M')) + "@4,50", "MMMM@256,100", "X@0,150"}},
        {"iskg indents the continuation",
         QStringLiteral(R"([{"title":"%1","iskg":1}])").arg(addr),
         {addr.left(46) + "@0,50", addr.mid(46) + "@24,100", "X@0,150"}},
    };
    for (const auto& c : cases) {
        dev.Texts.clear();
        EXPECT_EQ(print(QStringLiteral("[") + c.row + QStringLiteral(",[{\"title\":\"X\"}]]")),
                  printresult::Done());
        EXPECT_EQ(placed(), c.placed) << c.name;
    }
    // A wrapped returned line is struck through on every sub-line.
    dev.Texts.clear();
    print(QStringLiteral(R"([[{"title":"%1","isdel":"1"},{"title":"2"}]])").arg(thirty));
    ASSERT_EQ(dev.Texts.size(), 3);
    EXPECT_EQ(dev.Texts[0].style, TFontStyle::StrikeOut);
    EXPECT_EQ(dev.Texts[1].style, TFontStyle::StrikeOut);
}

TEST_F(AddPrintTest, TooManyCellsStopsTheJobAfterTheRowsBefore) {
    EXPECT_EQ(print(QStringLiteral(R"([[{"title":"A"},{"title":"B"},{"title":"C"}],)"
                                   R"([{"title":"1"},{"title":"2"},{"title":"3"},{"title":"4"}],)"
                                   R"([{"title":"Z"}]])"),
                    QStringLiteral("1")),
              printresult::BadColumns());
    EXPECT_EQ(placed(), QStringList({"A@0,100", "B@310,100", "C@420,100"}));
    EXPECT_EQ(dev.JobTitles.size(), 1);
    EXPECT_EQ(dev.JobsEnded, 1);
    EXPECT_FALSE(dev.JobActive());
}

TEST_F(AddPrintTest, ColumnEntriesThatAreNoNumberCountAsZero) {
    settings.SetEdit(QStringLiteral("kd_labedit_lieju"), QStringLiteral(" 1.00,abc, 4.20,"));
    EXPECT_EQ(
        print(QStringLiteral(R"([[{"title":"A"},{"title":"B"},{"title":"C"},{"title":"D"}]])")),
        printresult::Done());
    EXPECT_EQ(placed(), QStringList({"A@100,50", "B@0,50", "C@420,50", "D@0,50"}));
}

TEST_F(AddPrintTest, FontFaceSizeAndStyleOfACell) {
    const struct {
        const char* cell;
        TFontStyle style;
    } cases[] = {
        {R"({})", TFontStyle::Plain},
        {R"({"isbold":1})", TFontStyle::Bold},
        {R"({"isbold":"1"})", TFontStyle::Bold},
        {R"({"isdel":1})", TFontStyle::StrikeOut},
        {R"({"isdel":"1"})", TFontStyle::StrikeOut},
        {R"({"isdel":true})", TFontStyle::StrikeOut},
        {R"({"isdel":"0"})", TFontStyle::Plain},
        {R"({"isdel":"yes"})", TFontStyle::Plain},
        {R"({"isdel":null})", TFontStyle::Plain},
        {R"({"isdel":2})", TFontStyle::Plain},
        {R"({"isdel":1,"isbold":1})", TFontStyle::Bold},
    };
    for (const auto& c : cases) {
        dev.Texts.clear();
        EXPECT_EQ(print(QStringLiteral("[[") + QString::fromUtf8(c.cell) + QStringLiteral("]]")),
                  printresult::Done());
        ASSERT_EQ(dev.Texts.size(), 1);
        EXPECT_EQ(dev.Texts[0].style, c.style) << c.cell;
        EXPECT_EQ(dev.Texts[0].face, QStringLiteral("宋体"));
        EXPECT_EQ(dev.Texts[0].size, 12);
    }
}

TEST_F(AddPrintTest, ZeroRowsGiveOneEmptyPage) {
    EXPECT_EQ(print(QStringLiteral("[]")), printresult::Done());
    EXPECT_EQ(dev.JobTitles, QStringList({QStringLiteral("zeltora-receipt")}));
    EXPECT_EQ(dev.JobsEnded, 1);
    EXPECT_TRUE(dev.Texts.isEmpty());
}

TEST_F(AddPrintTest, RefusedBeforeAnyJob) {
    const struct {
        const char* doc;
        const char* size;
        bool refuseJob;
        QString result;
        TQueueState queue = TQueueState::Ready;
    } cases[] = {
        {"not json", "12", false, printresult::BadLayout()},
        {R"([[{"title":"a"}],[{"title":"b"}])", "12", false, printresult::BadLayout()},
        {R"([{"title":"a"}])", "12", false, printresult::BadLayout()},
        {R"([[{"title":"a"}],[{"title":"b","size":0}]])", "12", false, printresult::BadLayout()},
        {R"([[{"title":"a"}]])", "0", false, printresult::BadFontSize()},
        {R"([[{"title":"a"}]])", "-3", false, printresult::BadFontSize()},
        {R"([[{"title":"a"}]])", "12", true, printresult::JobFailed()},
        {R"([[{"title":"a"}]])", "12", false, printresult::Paused("PDF"), TQueueState::Paused},
        {R"([[{"title":"a"}]])", "12", false, printresult::Refusing("PDF"), TQueueState::Refusing},
    };
    for (const auto& c : cases) {
        dev = TRecordingPageDevice();
        dev.PrinterNames = {QStringLiteral("PDF")};
        dev.RefuseJob = c.refuseJob;
        dev.Queue = c.queue;
        settings.SetEdit(QStringLiteral("kd_labedit_size"), QString::fromUtf8(c.size));
        EXPECT_EQ(print(QString::fromUtf8(c.doc)), c.result) << c.doc;
        EXPECT_TRUE(dev.JobTitles.isEmpty());
        EXPECT_TRUE(dev.Texts.isEmpty());
    }
}

TEST_F(AddPrintTest, AJobThePrinterNeverReceivedIsNoSuccess) {
    dev.LoseJob = true;
    EXPECT_EQ(print(QStringLiteral("[[{\"title\":\"a\"}]]")), printresult::NotReceived("PDF"));
    EXPECT_EQ(dev.JobsEnded, 0);
    EXPECT_FALSE(dev.JobActive());
}

TEST_F(AddPrintTest, GeometryThatIsNoNumberThrowsBeforeThePrinterIsTouched) {
    const struct {
        const char* key;
        const char* value;
        bool throws;
    } cases[] = {
        {"kd_labedit_top", "abc", true},    {"kd_labedit_hg", "", true},
        {"kd_labedit_size", "12.5", true},  {"kd_labedit_top", "0,5", true},
        {"kd_labedit_top", " 1.5 ", false}, {"kd_labedit_size", " 14 ", false},
    };
    for (const auto& c : cases) {
        TTicketSettings s;
        s.SetEdit(QString::fromUtf8(c.key), QString::fromUtf8(c.value));
        dev = TRecordingPageDevice();
        dev.PrinterNames = {QStringLiteral("PDF")};
        QString result;
        if (c.throws) {
            EXPECT_THROW(addprint(dev, s, QStringLiteral("[]"), QStringLiteral("0"), result),
                         EConvertError)
                << c.key << "=" << c.value;
            EXPECT_TRUE(dev.Selected.isEmpty());
        } else {
            addprint(dev, s, QStringLiteral("[]"), QStringLiteral("0"), result);
            EXPECT_EQ(result, printresult::Done());
        }
    }
}

TEST_F(AddPrintTest, InstalledDeviceAndSettingsInEffect) {
    SetPageDevice(&dev);
    TicketSettings().SetEdit(QStringLiteral("kd_labedit_top"), QStringLiteral("2"));
    QString result;
    addprint(QStringLiteral("[[{\"title\":\"A\"}]]"), QStringLiteral("0"), result);
    SetPageDevice(nullptr);
    EXPECT_EQ(result, printresult::Done());
    EXPECT_EQ(placed(), QStringList({"A@0,200"}));
    EXPECT_DOUBLE_EQ(gettextwidth(dev, QStringLiteral("ABC"), 20), 6.0);
}

} // namespace
