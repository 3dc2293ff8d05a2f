#include "common/myfun.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {

// Adds one unit in the last place of a text of decimal digits.
QString incrementDigits(QString digits) {
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits.at(i) != QLatin1Char('9')) {
            digits[i] = QChar(digits.at(i).unicode() + 1);
            return digits;
        }
        digits[i] = QLatin1Char('0');
    }
    return QLatin1Char('1') + digits;
}

} // namespace

QString FormatFloat00(double value) {
    if (!std::isfinite(value))
        return QString::number(value, 'f', 2);
    QString text = QString::number(value, 'f', QLocale::FloatingPointShortest);
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative)
        text.remove(0, 1);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    QString whole = point < 0 ? text : text.left(point);
    QString fraction = point < 0 ? QString() : text.mid(point + 1);
    const bool up = fraction.size() > 2 && fraction.at(2) >= QLatin1Char('5');
    fraction = fraction.left(2).leftJustified(2, QLatin1Char('0'));
    QString digits = whole + fraction;
    if (up)
        digits = incrementDigits(digits);
    QString result = digits.left(digits.size() - 2) + QLatin1Char('.') + digits.right(2);
    const bool zero =
        std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c == QLatin1Char('0'); });
    if (negative && !zero)
        result.prepend(QLatin1Char('-'));
    return result;
}
