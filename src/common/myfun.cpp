#include "common/myfun.h"

#include "platform/platform.h"
#include "store/floatformat.h"

#include <QRegularExpression>

#include <cmath>
#include <cstdlib>

namespace {

// Blanks and control characters, as the classic Trim removes them.
QString trimControl(const QString& value) {
    qsizetype start = 0;
    qsizetype end = value.size();
    while (start < end && value.at(start).unicode() <= 0x20)
        ++start;
    while (end > start && value.at(end - 1).unicode() <= 0x20)
        --end;
    return value.mid(start, end - start);
}

// Sign, digits with at most one point, optional exponent; nothing else.
bool strictToDouble(const QString& text, double& out) {
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    if (!number.match(text).hasMatch())
        return false;
    const QByteArray latin = text.toLatin1();
    char* end = nullptr;
    out = std::strtod(latin.constData(), &end);
    return end && *end == '\0' && std::isfinite(out);
}

QString notAFloat(const QString& text) {
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

} // namespace

TCurrency TCurrency::FromDouble(double value) {
    return TCurrency{int64_t(std::llround(value * 10000.0))};
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

QString getunittimes(const QDateTime& d) {
    return QString::number(d.toMSecsSinceEpoch());
}

QString getunittime(const QDateTime& d) {
    const qint64 ms = d.toMSecsSinceEpoch();
    return QString::number(ms / 1000);
}

QString getunittimess(const QDateTime& d, int32_t nums) {
    return QString::number(d.toMSecsSinceEpoch() + nums);
}

double SafeStrToFloat(const QString& Value) {
    QString text = trimControl(Value);
    if (text.isEmpty())
        return 0;
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    double result = 0;
    if (strictToDouble(text, result))
        return result;
    platform::DebugOutput(QStringLiteral("SafeStrToFloat Error: ") + notAFloat(text) +
                          QStringLiteral(" for value: \"") + Value + QLatin1Char('"'));
    return 0;
}
