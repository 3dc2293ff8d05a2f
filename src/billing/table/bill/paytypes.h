#pragma once

// The payment types a settlement records in zel_orders.paytype, with the
// captions the table window shows, in its order.

#include <QList>
#include <QString>

struct TPayType {
    int Code;
    QString Caption;
};

const QList<TPayType>& PayTypes();

// The caption of code; "未记录" for a code no payment type has.
QString PayTypeCaption(int code);
