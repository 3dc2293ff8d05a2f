#include "billing/table/bill/paytypes.h"

const QList<TPayType>& PayTypes() {
    static const QList<TPayType> types = {
        {1, QStringLiteral("微信支付")}, {3, QStringLiteral("支付宝")},
        {5, QStringLiteral("银行卡")},   {7, QStringLiteral("现金")},
        {9, QStringLiteral("充值卡")},   {11, QStringLiteral("余额扣款")},
        {15, QStringLiteral("免单")},    {24, QStringLiteral("其它")},
    };
    return types;
}

QString PayTypeCaption(int code) {
    for (const TPayType& type : PayTypes()) {
        if (type.Code == code)
            return type.Caption;
    }
    return QStringLiteral("未记录");
}
