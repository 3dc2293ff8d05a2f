#include "floor/view/deskstate.h"

#include "common/myfun.h"

QString DeskStateText(const QString& stat) {
    if (stat == QLatin1String("0"))
        return QStringLiteral("空闲");
    if (stat == QLatin1String("1"))
        return QStringLiteral("占用");
    return QStringLiteral("其他");
}

QColor DeskStateColor(const QString& stat) {
    if (stat == QLatin1String("0"))
        return QColor(0xE1, 0xFF, 0xE1);
    if (stat == QLatin1String("1"))
        return QColor(0xE1, 0xE1, 0xFF);
    return QColor(0xFF, 0xE1, 0xE1);
}

QString DeskPriceText(double price) {
    return QStringLiteral("￥") + FormatPno(price, 2);
}

QString DeskGuestsText(const QString& nums) {
    return nums + QStringLiteral("人");
}
