// "营业统计" on a small screen: the window fits the available area, the period
// bar and its commands stay in sight, and every figure, list and chart can be
// scrolled into sight. CTest runs these on a 1366 x 768 till and on
// 1600 x 1000 at a scale factor of 2.

#include "app/screens.h"
#include "floor/view/form_main.h"
#include "report/form_report.h"
#include "report/reportcharts.h"

#include "fitchecks.h"
#include "programfixture.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTreeWidget>

#include <tuple>

namespace {

class ReportFitTest : public ProgramWindowsTest {};

// Scrolls as little as the operator would to see all of part.
// (ensureWidgetVisible follows a chart view's input focus, not its frame.)
void scrollTo(QScrollArea* scroll, const QWidget* part) {
    const QRect rect(part->mapTo(scroll->widget(), QPoint()), part->size());
    const QSize view = scroll->viewport()->size();
    for (const auto& [bar, first, last, length] :
         {std::tuple(scroll->horizontalScrollBar(), rect.left(), rect.right(), view.width()),
          std::tuple(scroll->verticalScrollBar(), rect.top(), rect.bottom(), view.height())}) {
        if (last >= bar->value() + length)
            bar->setValue(last - length + 1);
        if (first < bar->value())
            bar->setValue(first);
    }
}

TEST_F(ReportFitTest, TheSummaryFitsWithItsCommandsInSight) {
    startProgram();
    window->MenuAction(QStringLiteral("N12"))->trigger();
    TForm_report& report = *screens->Form_report;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&report));
    // Two days, so both charts are shown.
    report.date_first->setDate(report.date_last->date().addDays(-1));
    ASSERT_TRUE(report.chart_days->isVisible());
    QCoreApplication::processEvents();
    EXPECT_TRUE(onScreen(&report));

    for (QWidget* command :
         QList<QWidget*>{report.date_first, report.date_last, report.btn_today,
                         report.btn_yesterday, report.btn_week, report.btn_month,
                         report.btn_lastmonth, report.btn_print, report.btn_export})
        EXPECT_TRUE(inSight(command));

    auto* scroll = report.findChild<QScrollArea*>(QStringLiteral("ReportScroll"));
    ASSERT_TRUE(scroll);
    EXPECT_TRUE(inSight(scroll));
    for (QWidget* part : QList<QWidget*>{
             report.lab_takings, report.PayLabel(24), report.lab_deleted, report.list_topquantity,
             report.list_topamount, report.chart_hours, report.chart_days}) {
        scrollTo(scroll, part);
        EXPECT_TRUE(inSight(part));
    }
}

} // namespace
