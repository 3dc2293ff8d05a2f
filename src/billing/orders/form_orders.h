#pragma once

// The order history "我的订单": settled orders not deleted, newest first, 20 a
// page, search in the title, "刷新" after "搜索". The detail cell and a double
// click ask for the order's details, the print cell prints its receipt again,
// the delete cell soft-deletes the order after a question.

#include "floor/lists/pagedlistwindow.h"

class TForm_Orders : public TPagedListWindow {
    Q_OBJECT
public:
    TForm_Orders();

    // Prints the receipt of the order in row of the current page; an outcome
    // other than "打印完成" is shown.
    void PrintRow(int row);

signals:
    // The order whose details the operator asked for (its row id).
    void OrderDetailRequested(const QString& id);

private:
    void detailOf(int row);
};
