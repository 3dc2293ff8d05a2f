#include "ordering/ordertext.h"

#include "common/myfun.h"
#include "store/floatformat.h"

#include <QLocale>

QString Format00(double value) {
    // Rounded on the decimal text, so 6.175 is not taken for 6.17499999...
    QString text = QString::number(value, 'f', QLocale::FloatingPointShortest);
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative)
        text.remove(0, 1);
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    const QString integer = dot < 0 ? text : text.left(dot);
    QString fraction = dot < 0 ? QString() : text.mid(dot + 1);
    const bool up = fraction.size() > 2 && fraction.at(2) >= QLatin1Char('5');
    fraction = fraction.left(2).leftJustified(2, QLatin1Char('0'));
    qint64 cents = integer.toLongLong() * 100 + fraction.toLongLong() + (up ? 1 : 0);
    const QString digits =
        QStringLiteral("%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
    return negative && cents != 0 ? QLatin1Char('-') + digits : digits;
}

QString ShortNumber(double value) {
    return FloatToStrGeneral(value);
}

double CountFromText(const QString& text) {
    return IsNumeric(text) ? SafeStrToFloat(text) : 0;
}
