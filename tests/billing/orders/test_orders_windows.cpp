// The order history windows offscreen: every showing starts at the first
// unfiltered page, the detail, print and delete cells and the double click
// act on their row, a failed or cancelled delete is never reported as done,
// print outcomes are shown, and the detail window shows one order in full.

#include "billing/orders/form_orders.h"
#include "billing/orders/form_orders_detail.h"
#include "billing/orders/orderhistory.h"
#include "common/ui/laymsg.h"
#include "floor/lists/pagedlist.h"

#include "test_orders_fixture.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

namespace {

class OrdersWindowTest : public OrdersFixture {
protected:
    void TearDown() override {
        detail.reset();
        orders.reset();
        OrdersFixture::TearDown();
    }

    TForm_Orders& shownList() {
        if (!orders)
            orders = std::make_unique<TForm_Orders>();
        orders->resize(orders->sizeHint());
        orders->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(orders.get()));
        return *orders;
    }

    int rowOf(const QString& id) const {
        const QList<TListRow>& rows = orders->List()->Rows();
        for (int i = 0; i < rows.size(); ++i)
            if (rows[i].id == id)
                return i;
        return -1;
    }

    QPoint cellCentre(int row, TListCell cell) const {
        const QList<TListColumn>& columns = orders->List()->Config().columns;
        for (int c = 0; c < columns.size(); ++c)
            if (columns[c].cell == cell)
                return orders->ListView1->visualRect(orders->ListView1->model()->index(row, c))
                    .center();
        ADD_FAILURE() << "no such cell";
        return {};
    }

    void clickCell(const QString& id, TListCell cell) {
        const int row = rowOf(id);
        ASSERT_GE(row, 0) << id.toStdString();
        QTest::mouseClick(orders->ListView1->viewport(), Qt::LeftButton, Qt::NoModifier,
                          cellCentre(row, cell));
        waitOutDoubleClick();
    }

    // Lets the double-click interval pass, in which a click could still
    // become a double click.
    static void waitOutDoubleClick() { QTest::qWait(QApplication::doubleClickInterval() + 50); }

    static QString notice() {
        return mypan() && mypan()->isVisible() ? mypan()->text() : QString();
    }

    QStringList listedIds() const {
        QStringList out;
        for (const TListRow& row : orders->List()->Rows())
            out << row.id;
        return out;
    }

    std::unique_ptr<TForm_Orders> orders;
    std::unique_ptr<TForm_orders_detail> detail;
};

TEST_F(OrdersWindowTest, EveryShowingStartsAtTheFirstUnfilteredPage) {
    settleMany(45);
    TForm_Orders& list = shownList();
    EXPECT_EQ(list.windowTitle(), QStringLiteral("我的订单"));
    EXPECT_EQ(list.lblPageInfo->text(), QStringLiteral("共45条记录，1/3页"));
    EXPECT_EQ(list.ListView1->model()->rowCount(), 20);
    EXPECT_EQ(list.ListView1->model()->index(0, 0).data().toString(), QStringLiteral("45"));
    EXPECT_FALSE(list.btnPrevPage->isEnabled());
    EXPECT_TRUE(list.btnNextPage->isEnabled());
    // No add button; "刷新" follows "搜索".
    EXPECT_EQ(list.btnAdd, nullptr);
    EXPECT_EQ(list.btnRefresh->text(), QStringLiteral("刷新"));
    EXPECT_EQ(list.btnRefresh->parentWidget(), list.btnSearch->parentWidget());

    list.btnNextPage->click();
    list.edtKeyword->setText(QStringLiteral("18:1"));
    list.btnSearch->click();
    EXPECT_EQ(list.lblPageInfo->text(), QStringLiteral("共10条记录，1/1页"));
    list.hide();
    list.show();
    // Unfiltered until "搜索" is pressed again; the keyword stays in its box.
    EXPECT_EQ(list.lblPageInfo->text(), QStringLiteral("共45条记录，1/3页"));
    EXPECT_EQ(list.edtKeyword->text(), QStringLiteral("18:1"));
    EXPECT_EQ(list.List()->Condition(), QStringLiteral("`deleted`=0"));

    // "刷新" reloads the current page with the current condition.
    list.btnLastPage->click();
    settleMany(1);
    list.btnRefresh->click();
    EXPECT_EQ(list.lblPageInfo->text(), QStringLiteral("共46条记录，3/3页"));
}

TEST_F(OrdersWindowTest, DetailCellAndDoubleClickAskForTheOrder) {
    settleMany(3);
    TForm_Orders& list = shownList();
    QSignalSpy asked(&list, &TForm_Orders::OrderDetailRequested);
    clickCell(QStringLiteral("2"), TListCell::DetailIcon);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked.takeFirst().at(0).toString(), QStringLiteral("2"));

    // A double click on the title: press and release, then the second press.
    const QPoint title =
        list.ListView1->visualRect(list.ListView1->model()->index(rowOf(QStringLiteral("1")), 1))
            .center();
    QTest::mouseClick(list.ListView1->viewport(), Qt::LeftButton, Qt::NoModifier, title);
    EXPECT_TRUE(asked.isEmpty());
    QTest::mouseDClick(list.ListView1->viewport(), Qt::LeftButton, Qt::NoModifier, title);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked.takeFirst().at(0).toString(), QStringLiteral("1"));
    // Neither asks anything nor prints.
    EXPECT_TRUE(messenger.Calls.isEmpty());
    EXPECT_EQ(device.JobsEnded, 0);
}

TEST_F(OrdersWindowTest, PrintCellReprintsThatOrder) {
    settle({{QStringLiteral("鱼香肉丝"), 12.5, 2, 3, QString()}});
    settle({{QStringLiteral("米饭"), 2, 1, 7, QString()},
            {QStringLiteral("可乐"), 4, 1, 0, QString()}});
    shownList();
    clickCell(QStringLiteral("2"), TListCell::PrintIcon);
    EXPECT_EQ(device.JobsEnded, 1);
    const QStringList drawn = device.DrawnTexts();
    EXPECT_TRUE(drawn.contains(QStringLiteral("合计：￥4.00"))) << drawn.join('|').toStdString();
    EXPECT_FALSE(drawn.contains(QStringLiteral("鱼香肉丝")));
    EXPECT_EQ(notice(), QString()); // "打印完成" is not shown

    kd_printname.clear();
    clickCell(QStringLiteral("1"), TListCell::PrintIcon);
    EXPECT_EQ(device.JobsEnded, 1);
    EXPECT_EQ(notice(), QStringLiteral("请先设置打印机"));
}

// With a row selected, a click below the last row in the 打印 or 删除 column
// has no row under it: nothing printed, asked or deleted.
TEST_F(OrdersWindowTest, AClickBelowTheRowsActsOnNoOrder) {
    settleMany(2);
    TForm_Orders& list = shownList();
    QSignalSpy asked(&list, &TForm_Orders::OrderDetailRequested);
    const QPoint title = list.ListView1->visualRect(list.ListView1->model()->index(1, 1)).center();
    QTest::mouseClick(list.ListView1->viewport(), Qt::LeftButton, Qt::NoModifier, title);
    waitOutDoubleClick();
    ASSERT_EQ(list.ListView1->selectionModel()->selectedRows().size(), 1);
    for (TListCell cell : {TListCell::DetailIcon, TListCell::PrintIcon, TListCell::DeleteIcon}) {
        const QPoint centre = cellCentre(1, cell);
        const QPoint below(centre.x(), centre.y() + 3 * list.ListView1->rowHeight(1));
        ASSERT_LT(below.y(), list.ListView1->viewport()->height());
        QTest::mouseClick(list.ListView1->viewport(), Qt::LeftButton, Qt::NoModifier, below);
        waitOutDoubleClick();
    }
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_EQ(device.JobsEnded, 0);
    EXPECT_TRUE(messenger.Calls.isEmpty());
    EXPECT_EQ(scalar(QStringLiteral("SELECT SUM(deleted) FROM zel_orders")), QStringLiteral("0"));
    EXPECT_EQ(listedIds(), (QStringList{QStringLiteral("2"), QStringLiteral("1")}));
}

// A double click as Qt delivers it (press, release, double click, release)
// on the 打印 or 删除 cell only opens the order's details.
TEST_F(OrdersWindowTest, ADoubleClickOnACellOnlyOpensTheDetails) {
    settleMany(2);
    TForm_Orders& list = shownList();
    QSignalSpy asked(&list, &TForm_Orders::OrderDetailRequested);
    QWidget* viewport = list.ListView1->viewport();
    for (TListCell cell : {TListCell::PrintIcon, TListCell::DeleteIcon}) {
        const QPoint at = cellCentre(rowOf(QStringLiteral("1")), cell);
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, at);
        waitOutDoubleClick();
        ASSERT_EQ(asked.size(), 1);
        EXPECT_EQ(asked.takeFirst().at(0).toString(), QStringLiteral("1"));
    }
    EXPECT_EQ(device.JobsEnded, 0);
    EXPECT_TRUE(messenger.Calls.isEmpty());

    // One click on 打印 still prints once.
    clickCell(QStringLiteral("1"), TListCell::PrintIcon);
    EXPECT_EQ(device.JobsEnded, 1);
    EXPECT_TRUE(asked.isEmpty());
}

TEST_F(OrdersWindowTest, DeleteAsksThenSoftDeletesAndReloads) {
    settleMany(3);
    TForm_Orders& list = shownList();

    messenger.Answers = {false};
    clickCell(QStringLiteral("2"), TListCell::DeleteIcon);
    ASSERT_EQ(messenger.Calls.size(), 1);
    EXPECT_EQ(messenger.Calls[0].kind, TMessageKind::OkCancel);
    EXPECT_EQ(messenger.Calls[0].caption, QStringLiteral("友情提示"));
    EXPECT_EQ(messenger.Calls[0].text, QStringLiteral("确认要删除吗？"));
    EXPECT_EQ(notice(), QStringLiteral("您取消了操作"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT SUM(deleted) FROM zel_orders")), QStringLiteral("0"));

    messenger.Answers = {true};
    clickCell(QStringLiteral("2"), TListCell::DeleteIcon);
    EXPECT_EQ(listedIds(), (QStringList{QStringLiteral("3"), QStringLiteral("1")}));
    EXPECT_EQ(list.lblPageInfo->text(), QStringLiteral("共2条记录，1/1页"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT deleted FROM zel_orders WHERE id=2")),
              QStringLiteral("1"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT issettle || ':' || rootid FROM zel_orders_detail "
                                    "WHERE rootid=2")),
              QStringLiteral("1:2"));
}

TEST_F(OrdersWindowTest, AFailedDeleteShowsItsReasonAndLeavesTheOrderListed) {
    settleMany(2);
    TForm_Orders& list = shownList();
    db->ExecSQL(QStringLiteral("CREATE TRIGGER keep BEFORE UPDATE ON zel_orders BEGIN SELECT "
                               "RAISE(ABORT, '订单已锁定'); END"));
    clickCell(QStringLiteral("1"), TListCell::DeleteIcon);
    EXPECT_TRUE(notice().startsWith(QStringLiteral("删除失败: "))) << notice().toStdString();
    EXPECT_TRUE(notice().contains(QStringLiteral("订单已锁定"))) << notice().toStdString();
    EXPECT_EQ(listedIds(), (QStringList{QStringLiteral("2"), QStringLiteral("1")}));
    EXPECT_EQ(list.lblPageInfo->text(), QStringLiteral("共2条记录，1/1页"));
    for (const auto& call : messenger.Calls)
        EXPECT_FALSE(call.text.contains(QStringLiteral("成功"))) << call.text.toStdString();
}

TEST_F(OrdersWindowTest, DetailWindowShowsTheOrderAndReprintsIt) {
    settleMany(1);
    const int64_t id =
        settle({{QStringLiteral("<b>鱼香肉丝</b>"), 12.5, 2, 3, QStringLiteral("大份")},
                {QStringLiteral("米饭"), 2, 1, 7, QString()}},
               QStringLiteral("100"));
    db->ExecSQL(QStringLiteral("UPDATE zel_orders SET fwy='<i>小王</i>' WHERE id=%1").arg(id));
    detail = std::make_unique<TForm_orders_detail>();
    detail->OpenFor(QString::number(id), nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(detail.get()));
    EXPECT_EQ(detail->windowTitle(), QStringLiteral("订单详情"));
    const QList<QPair<QLabel*, QString>> labels = {
        {detail->lab_title, QStringLiteral("2026-12-09 18:01:00结算订单")},
        {detail->lab_ordid, QString::number(id)},
        {detail->lab_price, QStringLiteral("￥25.00")},
        {detail->lab_addtime, QStringLiteral("2026-12-09 18:01:00")},
        {detail->lab_shishou, QStringLiteral("￥100.00")},
        {detail->lab_zhaoling, QStringLiteral("￥75.00")},
        {detail->lab_bh, QStringLiteral("A01")},
        {detail->lab_nums, QStringLiteral("3")},
        {detail->lab_ydtel, QStringLiteral("13800000000")},
        {detail->lab_yj, QStringLiteral("￥50.5")},
        {detail->lab_ydtruename, QStringLiteral("张三")},
        {detail->lab_fwy, QStringLiteral("<i>小王</i>")},
    };
    for (const auto& [label, text] : labels) {
        EXPECT_EQ(label->text(), text) << label->objectName().toStdString();
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->objectName().toStdString();
    }
    ASSERT_EQ(detail->ListView1->topLevelItemCount(), 2);
    const auto line = [this](int i) {
        QStringList out;
        for (int c = 0; c < 5; ++c)
            out << detail->ListView1->topLevelItem(i)->text(c);
        return out.join(QLatin1Char('|'));
    };
    EXPECT_EQ(line(0), QStringLiteral("<b>鱼香肉丝</b>|￥12.50|2|￥25.00|大份"));
    EXPECT_EQ(line(1), QStringLiteral("米饭|￥2.00|1|￥2.00|"));
    // The returned line is told apart as the receipt tells it.
    EXPECT_FALSE(detail->ListView1->topLevelItem(0)->font(0).strikeOut());
    EXPECT_TRUE(detail->ListView1->topLevelItem(1)->font(0).strikeOut());

    detail->btn_keda->click();
    EXPECT_EQ(device.JobsEnded, 1);
    EXPECT_TRUE(device.DrawnTexts().contains(QStringLiteral("合计：￥25.00")));
    EXPECT_EQ(notice(), QString());
    kd_printname.clear();
    detail->btn_keda->click();
    EXPECT_EQ(device.JobsEnded, 1);
    EXPECT_EQ(notice(), QStringLiteral("请先设置打印机"));

    // An order that is gone keeps the texts shown; its lines are read anew.
    detail->OpenFor(QStringLiteral("99"), nullptr);
    EXPECT_EQ(detail->lab_ordid->text(), QString::number(id));
    EXPECT_EQ(detail->ListView1->topLevelItemCount(), 0);
    // Another order replaces texts and lines.
    detail->OpenFor(QStringLiteral("1"), nullptr);
    EXPECT_EQ(detail->lab_ordid->text(), QStringLiteral("1"));
    EXPECT_EQ(detail->lab_price->text(), QStringLiteral("￥30.00"));
    ASSERT_EQ(detail->ListView1->topLevelItemCount(), 1);
    EXPECT_EQ(detail->ListView1->topLevelItem(0)->text(0), QStringLiteral("宫保鸡丁"));
}

} // namespace
