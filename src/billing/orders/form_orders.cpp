#include "billing/orders/form_orders.h"

#include "billing/orders/orderhistory.h"
#include "billing/printing/myprint.h"
#include "common/ui/laymsg.h"
#include "floor/lists/pagedlist.h"

TForm_Orders::TForm_Orders()
    : TPagedListWindow(OrdersListConfig(), QStringLiteral("Form_Orders"),
                       QStringLiteral("我的订单"),
                       TListCommands{QString(), QString(), QStringLiteral("刷新"), true, true}) {
    connect(this, &TPagedListWindow::DetailRequested, this, &TForm_Orders::detailOf);
    connect(this, &TPagedListWindow::RowDoubleClicked, this, &TForm_Orders::detailOf);
    connect(this, &TPagedListWindow::PrintRequested, this, &TForm_Orders::PrintRow);
}

void TForm_Orders::detailOf(int row) {
    if (List() && row >= 0 && row < List()->Rows().size())
        emit OrderDetailRequested(List()->Rows()[row].id);
}

void TForm_Orders::PrintRow(int row) {
    if (!List() || row < 0 || row >= List()->Rows().size())
        return;
    const TListRow& order = List()->Rows()[row];
    QString result;
    try {
        result = ReprintOrder(order.id, order.texts.value(orderscolumn::Bh));
    } catch (const std::exception& e) {
        result = QStringLiteral("打印失败: ") + QString::fromUtf8(e.what());
    }
    if (result != printresult::Done())
        laymsg(result, 0, this);
}
