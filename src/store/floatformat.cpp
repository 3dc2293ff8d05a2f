#include "store/floatformat.h"

#include <cmath>
#include <cstdio>

QString FloatToStrGeneral(double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    if (value == 0)
        return QStringLiteral("0");

    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    QString text = QString::fromLatin1(buf);

    // printf writes "1e+20" / "1e-05"; the general format writes "1E20" / "1E-5".
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    if (e < 0)
        return text;
    QString mantissa = text.left(e);
    QString exponent = text.mid(e + 1);
    bool negative = exponent.startsWith(QLatin1Char('-'));
    if (exponent.startsWith(QLatin1Char('+')) || negative)
        exponent.remove(0, 1);
    while (exponent.size() > 1 && exponent.startsWith(QLatin1Char('0')))
        exponent.remove(0, 1);
    return mantissa + QLatin1Char('E') + (negative ? QStringLiteral("-") : QString()) + exponent;
}
