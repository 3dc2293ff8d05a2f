// The order history through the real windows of the program: a table is
// ordered and settled from its tile, "订单管理" lists the order, a search
// finds it, its detail cell opens the order in full and its receipt prints.

#include "app/screens.h"
#include "billing/orders/form_orders.h"
#include "billing/orders/form_orders_detail.h"
#include "billing/orders/orderhistory.h"
#include "billing/table/form_desk_open.h"
#include "common/appvalues.h"
#include "floor/lists/pagedlist.h"
#include "floor/view/desktile.h"
#include "floor/view/form_main.h"

#include "programfixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

namespace {

class OrdersRoadTest : public ProgramWindowsTest {};

TEST_F(OrdersRoadTest, ASettledOrderIsFoundAndOpenedFromTheMenu) {
    startProgram();
    kd_printname = QStringLiteral("前台");
    const QString dish = scalar(QStringLiteral("SELECT title FROM zel_caipin WHERE id=1"));

    // Table 2: the first dish twice, settled.
    ASSERT_NO_FATAL_FAILURE(orderAndSettle(2, 2));
    const QString id = scalar(QStringLiteral("SELECT id FROM zel_orders"));
    const QString bh = scalar(QStringLiteral("SELECT bh FROM zel_desk WHERE id=2"));
    const QString title = scalar(QStringLiteral("SELECT title FROM zel_orders"));
    ASSERT_EQ(id, QStringLiteral("1"));
    screens->Form_desk_open->close();

    // "订单管理" shows the list centred on the main window.
    window->MenuAction(QStringLiteral("N3"))->trigger();
    TForm_Orders& orders = *screens->Form_Orders;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&orders));
    EXPECT_LE(
        (orders.frameGeometry().center() - window->frameGeometry().center()).manhattanLength(), 2);
    EXPECT_EQ(orders.lblPageInfo->text(), QStringLiteral("共1条记录，1/1页"));

    // The settlement time finds it; a keyword that matches nothing empties the list.
    orders.edtKeyword->setText(title.left(16));
    click(orders.btnSearch);
    EXPECT_EQ(orders.lblPageInfo->text(), QStringLiteral("共1条记录，1/1页"));
    orders.edtKeyword->setText(QStringLiteral("1999-01-01"));
    click(orders.btnSearch);
    EXPECT_EQ(orders.ListView1->model()->rowCount(), 0);
    orders.edtKeyword->setText(QStringLiteral("结算"));
    click(orders.btnSearch);
    ASSERT_EQ(orders.ListView1->model()->rowCount(), 1);
    const QAbstractItemModel* model = orders.ListView1->model();
    EXPECT_EQ(model->index(0, orderscolumn::Id).data().toString(), id);
    EXPECT_EQ(model->index(0, orderscolumn::Title).data().toString(), title);
    EXPECT_EQ(model->index(0, orderscolumn::Bh).data().toString(), bh);

    // Its detail cell opens the order.
    int detailColumn = -1;
    for (int c = 0; c < model->columnCount(); ++c)
        if (orders.List()->Config().columns[c].cell == TListCell::DetailIcon)
            detailColumn = c;
    ASSERT_GE(detailColumn, 0);
    QTest::mouseClick(orders.ListView1->viewport(), Qt::LeftButton, Qt::NoModifier,
                      orders.ListView1->visualRect(model->index(0, detailColumn)).center());
    // The click waits out the double-click interval before it opens the order.
    TForm_orders_detail& detail = *screens->Form_orders_detail;
    QTRY_VERIFY(detail.isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&detail));
    EXPECT_EQ(detail.lab_ordid->text(), id);
    EXPECT_EQ(detail.lab_title->text(), title);
    EXPECT_EQ(detail.lab_bh->text(), bh);
    EXPECT_EQ(detail.lab_price->text(), model->index(0, orderscolumn::Price).data().toString());
    ASSERT_EQ(detail.ListView1->topLevelItemCount(), 1);
    EXPECT_EQ(detail.ListView1->topLevelItem(0)->text(0), dish);
    EXPECT_EQ(detail.ListView1->topLevelItem(0)->text(2), QStringLiteral("2"));

    // "打印小票" prints the receipt on the receipt printer.
    const int jobs = printers.JobsEnded;
    click(detail.btn_keda);
    EXPECT_EQ(printers.JobsEnded, jobs + 1);
    EXPECT_EQ(printers.Selected, QStringLiteral("前台"));
    EXPECT_TRUE(printers.DrawnTexts().contains(dish));
}

} // namespace
