#include "common/myfun.h"

#include "store/floatformat.h"

// Text helpers: splitting, money text and status texts. The conversions live
// in numconv.cpp, time stamps and order numbers in timestamps.cpp.

QStringList SplitStrings(const QString& Source, const QString& Deli) {
    if (Deli.isEmpty())
        return QStringList{Source};
    QStringList parts;
    qsizetype from = 0;
    for (qsizetype at; (at = Source.indexOf(Deli, from, Qt::CaseSensitive)) >= 0;
         from = at + Deli.size())
        parts.append(Source.mid(from, at - from));
    parts.append(Source.mid(from));
    return parts;
}

QString FormatPno(double Price, int32_t Ws) {
    const QString text = FloatToStrGeneral(Price);
    const int decimals = Ws < 0 ? 0 : Ws;
    QString integer = text;
    QString fraction;
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    if (dot >= 0) {
        integer = text.left(dot);
        fraction = text.mid(dot + 1);
    }
    if (fraction.size() > decimals)
        fraction.truncate(decimals);
    else
        fraction = fraction.leftJustified(decimals, QLatin1Char('0'));
    return integer + QLatin1Char('.') + fraction;
}

QString getcaipinstat(int32_t stat) {
    switch (stat) {
    case 0:
        return QStringLiteral("待制作");
    case 3:
        return QStringLiteral("已出菜");
    case 7:
        return QStringLiteral("已退菜");
    case 8:
        return QStringLiteral("已删除");
    default:
        return QStringLiteral("未知状态");
    }
}
