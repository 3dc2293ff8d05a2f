#pragma once

// Number texts of the ordering screen.

#include "billing/table/deskview.h"
#include "ordering/orderitems.h"

#include <QList>
#include <QString>

// Shortest decimal text: 2, 1.5, 15.5.
QString ShortNumber(double value);

// Basket or ordered lines summed as the table window sums its open lines, so
// 菜品数量 and 合计 read the same on both screens.
TDeskLines SumOrderLines(const QList<TOrderItem>& Items);

// A count shown in a label: its number, 0 when the text is not one.
double CountFromText(const QString& text);
