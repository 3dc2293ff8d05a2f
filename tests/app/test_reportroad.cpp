// The business summary through the real windows of the program: a table is
// ordered and settled from its tile, "营业统计" opens from the menu centred on
// the main window and shows the order in today's figures, list and chart.

#include "app/screens.h"
#include "billing/table/form_desk_open.h"
#include "common/appvalues.h"
#include "floor/view/desktile.h"
#include "floor/view/form_main.h"
#include "report/form_report.h"
#include "report/reportcharts.h"

#include "programfixture.h"

#include <QAction>
#include <QBarSet>
#include <QDateEdit>
#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

class ReportRoadTest : public ProgramWindowsTest {};

TEST_F(ReportRoadTest, ASettledTableShowsInTodaysFigures) {
    startProgram();
    kd_printname = QStringLiteral("前台");
    const QString dish = scalar(QStringLiteral("SELECT title FROM zel_caipin WHERE id=1"));

    // Table 2: the first dish three times, settled.
    ASSERT_NO_FATAL_FAILURE(orderAndSettle(2, 3));
    ASSERT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM zel_orders")), QStringLiteral("1"));
    const double price = scalar(QStringLiteral("SELECT price FROM zel_orders")).toDouble();
    const int hour =
        scalar(QStringLiteral("SELECT substr(addtime, 12, 2) FROM zel_orders")).toInt();
    const QString takings = QStringLiteral("￥") + QString::number(price, 'f', 2);
    screens->Form_desk_open->close();

    window->MenuAction(QStringLiteral("N12"))->trigger();
    TForm_report& report = *screens->Form_report;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&report));
    EXPECT_EQ(report.windowTitle(), QStringLiteral("营业统计"));
    EXPECT_LE(
        (report.frameGeometry().center() - window->frameGeometry().center()).manhattanLength(), 2);
    EXPECT_EQ(report.date_first->date(), QDate::currentDate());
    EXPECT_EQ(report.date_last->date(), QDate::currentDate());
    EXPECT_EQ(report.lab_orders->text(), QStringLiteral("1"));
    EXPECT_EQ(report.lab_takings->text(), takings);
    ASSERT_EQ(report.list_topquantity->topLevelItemCount(), 1);
    EXPECT_EQ(report.list_topquantity->topLevelItem(0)->text(0), dish);
    EXPECT_EQ(report.list_topquantity->topLevelItem(0)->text(1), QStringLiteral("3"));
    const int bar = int(report.chart_hours->Hours().indexOf(QString::number(hour)));
    ASSERT_GE(bar, 0);
    EXPECT_DOUBLE_EQ(report.chart_hours->Bars()->at(bar), price);

    // "打印日报" prints today's figures on the receipt printer.
    const int jobs = printers.JobsEnded;
    click(report.btn_print);
    EXPECT_EQ(printers.JobsEnded, jobs + 1);
    EXPECT_EQ(printers.Selected, QStringLiteral("前台"));
}

} // namespace
