// The window "营业统计" offscreen on two business days of known orders: its
// labels, lists and chart series show the figures of the chosen period, the
// dates move together, the day start of config.ini moves a night order, a
// read failure leaves no figures behind, and the day report prints and the
// table is exported through the file chooser.

#include "common/ui/laymsg.h"
#include "report/form_report.h"
#include "report/reportcharts.h"

#include "reportfixture.h"
#include "reportxlsxsheet.h"

#include <QBarSet>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace {

class ReportWindowTest : public ReportFixture {
protected:
    void SetUp() override {
        ReportFixture::SetUp();
        FChooseFile = TForm_report::ChooseFile;
        TForm_report::ChooseFile = [this](QWidget*, const QString& suggested,
                                          const QStringList& filters, QString& filter) {
            suggestions << suggested;
            offered = filters;
            preselected = filter;
            if (!chosenFilter.isEmpty())
                filter = chosenFilter;
            return chosen;
        };
    }
    void TearDown() override {
        form.reset();
        TForm_report::ChooseFile = FChooseFile;
        ReportFixture::TearDown();
    }

    TForm_report& shown() {
        if (!form)
            form = std::make_unique<TForm_report>();
        form->resize(form->sizeHint());
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return *form;
    }

    void choose(const QDate& first, const QDate& last) {
        form->date_last->setDate(last);
        form->date_first->setDate(first);
    }

    static void click(QPushButton* b) {
        ASSERT_TRUE(b);
        ASSERT_TRUE(b->isEnabled()) << b->objectName().toStdString();
        QTest::mouseClick(b, Qt::LeftButton);
    }

    static QString notice() {
        return mypan() && mypan()->isVisible() ? mypan()->text() : QString();
    }

    static QStringList rows(const QTreeWidget* list) {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list->topLevelItem(i);
            out << item->text(0) + QLatin1Char(' ') + item->text(1) + QLatin1Char(' ') +
                       item->text(2);
        }
        return out;
    }

    // Non-zero bars as "hour:yuan", in the order they are drawn.
    QStringList bars() const {
        const QStringList hours = form->chart_hours->Hours();
        const QBarSet* set = form->chart_hours->Bars();
        EXPECT_EQ(hours.size(), 24);
        EXPECT_EQ(set->count(), 24);
        QStringList out;
        for (int i = 0; i < set->count(); ++i)
            if (set->at(i) != 0)
                out << hours.value(i) + QLatin1Char(':') + QString::number(set->at(i), 'f', 2);
        return out;
    }

    QList<QPointF> dayPoints() const { return form->chart_days->Line()->points(); }

    QString pay(int code) const {
        if (!form->PayLabel(code) || !form->PayCountLabel(code))
            return QStringLiteral("<no row %1>").arg(code);
        return form->PayCountLabel(code)->text() + QLatin1Char(' ') + form->PayLabel(code)->text();
    }

    QStringList suggestions;
    QStringList offered;
    QString preselected;
    QString chosen;
    QString chosenFilter; // the filter the operator picks; empty keeps the preselected one
    std::unique_ptr<TForm_report> form;

private:
    std::function<QString(QWidget*, const QString&, const QStringList&, QString&)> FChooseFile;
};

TEST_F(ReportWindowTest, TwoDaysShowEveryFigureListAndChartPoint) {
    TForm_report& w = shown();
    choose(QDate(2026, 12, 8), QDate(2026, 12, 9));
    EXPECT_EQ(w.lab_orders->text(), QStringLiteral("6"));
    EXPECT_EQ(w.lab_guests->text(), QStringLiteral("17"));
    EXPECT_EQ(w.lab_takings->text(), QStringLiteral("￥427.90"));
    EXPECT_EQ(w.lab_perorder->text(), QStringLiteral("￥71.32"));
    EXPECT_EQ(w.lab_perguest->text(), QStringLiteral("￥25.17"));
    // Codes 1, 3, 5, 7 and 9 are 微信支付, 支付宝, 银行卡, 现金 and 充值卡.
    EXPECT_EQ(pay(1), QStringLiteral("2单 ￥81.60"));
    EXPECT_EQ(pay(3), QStringLiteral("1单 ￥64.00"));
    EXPECT_EQ(pay(5), QStringLiteral("1单 ￥164.80"));
    EXPECT_EQ(pay(7), QStringLiteral("2单 ￥117.50"));
    EXPECT_EQ(pay(9), QStringLiteral("0单 ￥0.00"));
    EXPECT_FALSE(w.PayLabel(-1)->isVisible());
    EXPECT_EQ(w.lab_returned->text(), QStringLiteral("1份  ￥38.80"));
    EXPECT_EQ(w.lab_deleted->text(), QStringLiteral("1单  ￥77.60"));
    EXPECT_EQ(rows(w.list_topquantity),
              QStringList({"米饭 10 ￥20.00", "印象毛血旺 4 ￥242.00", "宫保鸡丁 3 ￥116.40",
                           "酸辣土豆丝 3 ￥49.50"}));
    EXPECT_EQ(rows(w.list_topamount), QStringList({"印象毛血旺 4 ￥242.00", "宫保鸡丁 3 ￥116.40",
                                                   "酸辣土豆丝 3 ￥49.50", "米饭 10 ￥20.00"}));
    EXPECT_EQ(w.chart_hours->Hours().first(), QStringLiteral("0"));
    EXPECT_EQ(bars(), QStringList({"1:16.50", "11:42.80", "12:265.80", "18:38.80", "19:64.00"}));
    EXPECT_TRUE(w.chart_days->isVisible());
    EXPECT_EQ(dayPoints(), QList<QPointF>({{0, 207.80}, {1, 220.10}}));
    EXPECT_EQ(w.chart_days->DayLabels(), QStringList({"12-08", "12-09"}));
}

// The guest count has the name the table window and the order details give
// it, here as on the day report and in the exports.
TEST_F(ReportWindowTest, TheGuestCountIsNamedAsInTheTableWindow) {
    TForm_report& w = shown();
    auto* grid = qobject_cast<QGridLayout*>(w.lab_guests->parentWidget()->layout());
    ASSERT_TRUE(grid);
    int row = -1, col = -1, rows = 0, cols = 0;
    grid->getItemPosition(grid->indexOf(w.lab_guests), &row, &col, &rows, &cols);
    ASSERT_TRUE(grid->itemAtPosition(row, 0));
    auto* caption = qobject_cast<QLabel*>(grid->itemAtPosition(row, 0)->widget());
    ASSERT_TRUE(caption);
    EXPECT_EQ(caption->text(), QStringLiteral("用餐人数"));
    for (const QLabel* label : w.findChildren<QLabel*>())
        EXPECT_FALSE(label->text().contains(QStringLiteral("就餐"))) << label->text().toStdString();
}

TEST_F(ReportWindowTest, EveryShowingStartsAtTodayAndReadsNewSettlements) {
    TForm_report& w = shown();
    EXPECT_EQ(w.date_first->date(), QDate(2026, 12, 10));
    EXPECT_EQ(w.date_last->date(), QDate(2026, 12, 10));
    EXPECT_EQ(w.lab_orders->text(), QStringLiteral("1"));
    EXPECT_EQ(w.lab_takings->text(), QStringLiteral("￥33.00"));
    EXPECT_EQ(pay(3), QStringLiteral("1单 ￥33.00"));
    EXPECT_EQ(rows(w.list_topquantity), QStringList({"酸辣土豆丝 2 ￥33.00"}));
    EXPECT_EQ(bars(), QStringList({"9:33.00"}));
    EXPECT_FALSE(w.chart_days->isVisible());

    choose(QDate(2026, 12, 8), QDate(2026, 12, 9));
    w.hide();
    // Settled while the window was closed, with a payment code no type has.
    order(QStringLiteral("2026-12-10 09:50:00"), 42, 3, {{4, QStringLiteral("米饭"), 2, 3}});
    shown();
    EXPECT_EQ(w.date_first->date(), QDate(2026, 12, 10));
    EXPECT_EQ(w.lab_orders->text(), QStringLiteral("2"));
    EXPECT_EQ(w.lab_takings->text(), QStringLiteral("￥39.00"));
    EXPECT_TRUE(w.PayLabel(-1)->isVisible());
    EXPECT_EQ(pay(-1), QStringLiteral("1单 ￥6.00"));
    EXPECT_EQ(bars(), QStringList({"9:39.00"}));
}

TEST_F(ReportWindowTest, QuickChoicesSetBothDatesWithOneReading) {
    TForm_report& w = shown();
    QSignalSpy reads(&w, &TForm_report::Refreshed);
    const struct {
        QPushButton* button;
        QDate first, last;
        QString takings;
        bool days;
    } cases[] = {
        {w.btn_yesterday, {2026, 12, 9}, {2026, 12, 9}, "￥220.10", false},
        {w.btn_week, {2026, 12, 7}, {2026, 12, 10}, "￥470.90", true},
        {w.btn_month, {2026, 12, 1}, {2026, 12, 10}, "￥470.90", true},
        {w.btn_lastmonth, {2026, 11, 1}, {2026, 11, 30}, "￥0.00", true},
        {w.btn_today, {2026, 12, 10}, {2026, 12, 10}, "￥33.00", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button->text().toStdString());
        reads.clear();
        click(c.button);
        EXPECT_EQ(reads.count(), 1);
        EXPECT_EQ(w.date_first->date(), c.first);
        EXPECT_EQ(w.date_last->date(), c.last);
        EXPECT_EQ(w.lab_takings->text(), c.takings);
        EXPECT_EQ(w.chart_days->isVisible(), c.days);
        EXPECT_EQ(dayPoints().size(), c.first.daysTo(c.last) + 1);
    }
}

TEST_F(ReportWindowTest, AStartAfterTheEndMovesTheOtherDateWithOneReading) {
    TForm_report& w = shown();
    QSignalSpy reads(&w, &TForm_report::Refreshed);
    w.date_first->setDate(QDate(2026, 12, 12));
    EXPECT_EQ(w.date_last->date(), QDate(2026, 12, 12));
    EXPECT_EQ(reads.count(), 1);
    w.date_last->setDate(QDate(2026, 12, 8));
    EXPECT_EQ(w.date_first->date(), QDate(2026, 12, 8));
    EXPECT_EQ(reads.count(), 2);
    EXPECT_EQ(w.lab_takings->text(), QStringLiteral("￥207.80"));
}

TEST_F(ReportWindowTest, APeriodWithoutGuestsShowsNoFigurePerGuest) {
    TForm_report& w = shown();
    choose(QDate(2026, 11, 1), QDate(2026, 11, 3));
    EXPECT_EQ(w.lab_orders->text(), QStringLiteral("0"));
    EXPECT_EQ(w.lab_perorder->text(), QStringLiteral("￥0.00"));
    EXPECT_EQ(w.lab_perguest->text(), QStringLiteral("—"));
    EXPECT_TRUE(bars().isEmpty());
    EXPECT_EQ(w.list_topamount->topLevelItemCount(), 0);

    // Orders without a guest count have takings but still no figure per guest.
    order(QStringLiteral("2026-11-02 12:00:00"), 7, 0, {{4, QStringLiteral("米饭"), 2, 1}});
    click(w.btn_lastmonth);
    EXPECT_EQ(w.lab_takings->text(), QStringLiteral("￥2.00"));
    EXPECT_EQ(w.lab_perguest->text(), QStringLiteral("—"));
}

TEST_F(ReportWindowTest, TheDayStartOfTheSettingsMovesTheNightOrder) {
    QFile ini(inipath);
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Report]\ndaystart=2\n");
    ini.close();
    TForm_report& w = shown();
    EXPECT_TRUE(w.lab_daystart->isVisible());
    choose(QDate(2026, 12, 8), QDate(2026, 12, 9));
    EXPECT_EQ(dayPoints(), QList<QPointF>({{0, 224.30}, {1, 203.60}}));
    // The hours run from the day's start round to the hour before it.
    EXPECT_EQ(w.chart_hours->Hours().first(), QStringLiteral("2"));
    EXPECT_EQ(w.chart_hours->Hours().last(), QStringLiteral("1"));
    EXPECT_EQ(bars(), QStringList({"11:42.80", "12:265.80", "18:38.80", "19:64.00", "1:16.50"}));
    click(w.btn_yesterday);
    EXPECT_EQ(w.lab_takings->text(), QStringLiteral("￥203.60"));
}

TEST_F(ReportWindowTest, AFailedReadingLeavesNoFiguresBehind) {
    TForm_report& w = shown();
    choose(QDate(2026, 12, 8), QDate(2026, 12, 9));
    ASSERT_EQ(w.lab_takings->text(), QStringLiteral("￥427.90"));
    QFile junk(path(QStringLiteral("junk.db")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    sqlitename = junk.fileName();

    click(w.btn_yesterday);
    EXPECT_TRUE(notice().startsWith(QStringLiteral("读取失败: "))) << notice().toStdString();
    EXPECT_GT(notice().size(), QStringLiteral("读取失败: ").size());
    EXPECT_FALSE(w.HasReport());
    for (QLabel* label : {w.lab_orders, w.lab_takings, w.lab_perguest, w.lab_returned})
        EXPECT_EQ(label->text(), QStringLiteral("—")) << label->objectName().toStdString();
    EXPECT_EQ(w.PayLabel(7)->text(), QStringLiteral("—"));
    EXPECT_EQ(w.list_topquantity->topLevelItemCount(), 0);
    EXPECT_TRUE(bars().isEmpty());
    EXPECT_FALSE(w.chart_days->isVisible());
    EXPECT_FALSE(w.btn_print->isEnabled());
    EXPECT_FALSE(w.btn_export->isEnabled());

    sqlitename = dbPath();
    click(w.btn_yesterday);
    EXPECT_EQ(w.lab_takings->text(), QStringLiteral("￥220.10"));
    EXPECT_TRUE(w.btn_print->isEnabled());
}

TEST_F(ReportWindowTest, TheDayReportPrintsOnTheReceiptPrinterAndSaysSo) {
    TForm_report& w = shown();
    choose(QDate(2026, 12, 8), QDate(2026, 12, 9));
    click(w.btn_print);
    EXPECT_EQ(device.JobsEnded, 1);
    EXPECT_EQ(device.Selected, QStringLiteral("前台"));
    EXPECT_TRUE(device.DrawnTexts().join(QString()).contains(QStringLiteral("427.90")));
    EXPECT_EQ(notice(), QStringLiteral("打印完成"));

    kd_printname.clear();
    click(w.btn_print);
    EXPECT_EQ(device.JobsEnded, 1);
    EXPECT_EQ(notice(), QStringLiteral("请先设置打印机"));
}

TEST_F(ReportWindowTest, TheTableIsSavedWhereTheOperatorChose) {
    TForm_report& w = shown();
    choose(QDate(2026, 12, 8), QDate(2026, 12, 9));
    const QStringList before = QDir(folder()).entryList(QDir::Files);

    // Cancelled: nothing written, nothing said.
    chosen.clear();
    click(w.btn_export);
    ASSERT_EQ(suggestions.size(), 1);
    EXPECT_TRUE(suggestions[0].endsWith(QStringLiteral("/营业统计_20261208-20261209.xlsx")))
        << suggestions[0].toStdString();
    EXPECT_EQ(offered, QStringList({"Excel 工作簿 (*.xlsx)", "CSV 文件 (*.csv)"}));
    EXPECT_EQ(preselected, QStringLiteral("Excel 工作簿 (*.xlsx)"));
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), before);
    EXPECT_EQ(notice(), QString());

    // A name without its extension gets the one of the chosen kind: a
    // workbook whose order numbers and codes are text.
    TSQLiteORM orm(db.get(), QStringLiteral("zel_orders"));
    orm.Where(QStringLiteral("`id`=2"));
    ASSERT_TRUE(orm.Save({{QStringLiteral("ordid"), QStringLiteral("20261208112005123")},
                          {QStringLiteral("bh"), QStringLiteral("007")}}));
    chosen = path(QStringLiteral("十二月"));
    click(w.btn_export);
    const QString book = chosen + QStringLiteral(".xlsx");
    EXPECT_EQ(notice(), QStringLiteral("导出成功：") + book);
    const TXlsxSheet sheet(book);
    ASSERT_TRUE(sheet.Ok());
    ASSERT_GE(sheet.Rows().size(), 22);
    const QList<TXlsxCell>& first = sheet.Rows()[21];
    ASSERT_GE(first.size(), 7);
    EXPECT_TRUE(first[1].IsText());
    EXPECT_EQ(first[1].Value, QStringLiteral("20261208112005123"));
    EXPECT_TRUE(first[3].IsText());
    EXPECT_EQ(first[3].Value, QStringLiteral("007"));
    EXPECT_EQ(first[6].Format, QStringLiteral("0.00"));
    EXPECT_EQ(TXlsxSheet::Shown(sheet.Rows()[4][1]), QStringLiteral("427.90"));

    // The same name as CSV.
    chosenFilter = QStringLiteral("CSV 文件 (*.csv)");
    click(w.btn_export);
    const QString saved = chosen + QStringLiteral(".csv");
    EXPECT_EQ(notice(), QStringLiteral("导出成功：") + saved);
    QFile csv(saved);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(csv.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("427.90")));
    EXPECT_TRUE(text.contains(QStringLiteral("20261208112005123,2026-12-08 11:20:05,007,")));

    // A folder that is not there: said, and no file left, of either kind.
    for (const QString& name :
         {QStringLiteral("missing/表.csv"), QStringLiteral("missing/表.xlsx")}) {
        chosen = path(name);
        click(w.btn_export);
        EXPECT_TRUE(notice().startsWith(QStringLiteral("导出失败："))) << notice().toStdString();
        EXPECT_FALSE(QFile::exists(chosen));
    }
}

// The window may stand open for hours; what is printed or saved is read anew,
// and the window shows what was printed or saved.
TEST_F(ReportWindowTest, PrintAndExportTakeOrdersSettledSinceThePeriodWasShown) {
    TForm_report& w = shown();
    EXPECT_EQ(w.lab_takings->text(), QStringLiteral("￥33.00"));

    order(QStringLiteral("2026-12-10 09:45:00"), 7, 2, {{4, QStringLiteral("米饭"), 2, 3}});
    click(w.btn_print);
    EXPECT_TRUE(device.DrawnTexts().join(QString()).contains(QStringLiteral("39.00")));
    EXPECT_EQ(w.lab_takings->text(), QStringLiteral("￥39.00"));

    order(QStringLiteral("2026-12-10 09:50:00"), 7, 1, {{4, QStringLiteral("米饭"), 2, 1}});
    chosen = path(QStringLiteral("今天.csv"));
    click(w.btn_export);
    EXPECT_EQ(notice(), QStringLiteral("导出成功：") + chosen);
    EXPECT_EQ(w.lab_takings->text(), QStringLiteral("￥41.00"));
    EXPECT_EQ(w.lab_orders->text(), QStringLiteral("3"));
    QFile csv(chosen);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(csv.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("营业额,41.00"))) << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral(",已结算")), 3);
}

TEST_F(ReportWindowTest, ANarrowHoursChartLabelsFewerHoursInsteadOfCuttingThem) {
    TForm_report& w = shown();
    THoursChart& chart = *w.chart_hours;
    chart.resize(900, 300);
    EXPECT_EQ(chart.HourLabels(), chart.Hours());
    chart.resize(300, 300);
    const QStringList sparse = chart.HourLabels();
    EXPECT_GE(sparse.size(), 6);
    EXPECT_LT(sparse.size(), 24);
    for (const QString& hour : sparse)
        EXPECT_TRUE(chart.Hours().contains(hour)) << hour.toStdString();
    chart.resize(900, 300);
    EXPECT_EQ(chart.HourLabels().size(), 24);
}

TEST_F(ReportWindowTest, EscapeCloses) {
    TForm_report& w = shown();
    QTest::keyClick(w.date_first, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
}

} // namespace
