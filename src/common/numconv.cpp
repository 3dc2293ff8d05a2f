#include "common/myfun.h"

#include "platform/platform.h"

#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

// Text-to-number conversions. They accept exactly: an optional sign, ASCII
// digits with at most one ".", and an optional exponent. No blanks, no
// thousands separators, no hexadecimal, and they do not depend on the C locale
// (Qt sets it from the environment at start-up).

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

// Captures: 1 sign, 2 integer digits, 3 fraction digits, 4 exponent.
const QRegularExpression& decimalPattern() {
    static const QRegularExpression pattern(QStringLiteral(
        "^([+-]?)(?=[0-9]|\\.[0-9])([0-9]*)(?:\\.([0-9]*))?(?:[eE]([+-]?[0-9]+))?$"));
    return pattern;
}

bool strictToDouble(const QString& text, double& out) {
    if (!decimalPattern().match(text).hasMatch())
        return false;
    QByteArray latin = text.toLatin1();
    if (latin.startsWith('+'))
        latin.remove(0, 1); // from_chars takes no plus sign
    const char* end = latin.constData() + latin.size();
    const auto [ptr, ec] = std::from_chars(latin.constData(), end, out);
    return ec == std::errc() && ptr == end && std::isfinite(out);
}

// Exact decimal to ten-thousandths, rounded half away from zero; no detour
// through a binary double, so 1.00005 becomes 1.0001.
bool strictToCurrency(const QString& text, int64_t& out) {
    const QRegularExpressionMatch m = decimalPattern().match(text);
    if (!m.hasMatch())
        return false;
    const bool negative = m.captured(1) == QLatin1String("-");
    const QString fraction = m.captured(3);
    QString digits = m.captured(2) + fraction;
    // Exponents beyond +-1000 only decide between out of range and zero.
    const QString expText = m.captured(4);
    long long exponent = 0;
    if (!expText.isEmpty()) {
        bool ok = false;
        exponent = expText.toLongLong(&ok);
        if (!ok) // more digits than 64 bits hold
            exponent = expText.startsWith(QLatin1Char('-')) ? -1000 : 1000;
        exponent = std::clamp(exponent, -1000LL, 1000LL);
    }
    // Position of the rounding point, counted in digits from the left.
    qsizetype leading = 0;
    while (leading < digits.size() && digits.at(leading) == QLatin1Char('0'))
        ++leading;
    digits.remove(0, leading);
    if (digits.isEmpty()) {
        out = 0;
        return true;
    }
    const long long point = digits.size() - fraction.size() + exponent + 4;
    if (point > 19)
        return false; // at least 10^19 ten-thousandths: beyond 64 bits
    uint64_t raw = 0;
    for (long long i = 0; i < point; ++i) {
        const int digit = i < digits.size() ? digits.at(i).unicode() - '0' : 0;
        raw = raw * 10 + uint64_t(digit);
    }
    if (point >= 0 && point < digits.size() && digits.at(point) >= QLatin1Char('5'))
        ++raw;
    const uint64_t limit = uint64_t(std::numeric_limits<int64_t>::max()) + (negative ? 1 : 0);
    if (raw > limit)
        return false;
    out = negative ? int64_t(0 - raw) : int64_t(raw);
    return true;
}

// The message of a failed float conversion, quoting the text that was converted.
QString notAFloat(const QString& text) {
    return QStringLiteral("'%1' is not a valid floating point value").arg(text);
}

void reportFailure(const QString& function, const QString& converted, const QString& value) {
    platform::DebugOutput(function + QStringLiteral(" Error: ") + notAFloat(converted) +
                          QStringLiteral(" for value: \"") + value + QLatin1Char('"'));
}

} // namespace

TCurrency TCurrency::FromDouble(double value) {
    return TCurrency{int64_t(std::llround(value * 10000.0))};
}

double SafeStrToFloat(const QString& Value) {
    QString text = trimControl(Value);
    if (text.isEmpty())
        return 0;
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    double result = 0;
    if (strictToDouble(text, result))
        return result;
    reportFailure(QStringLiteral("SafeStrToFloat"), text, Value);
    return 0;
}

TCurrency SafeStrToCurr(const QString& Value) {
    QString text = trimControl(Value);
    if (text.isEmpty())
        return TCurrency{};
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    int64_t raw = 0;
    if (strictToCurrency(text, raw))
        return TCurrency{raw};
    reportFailure(QStringLiteral("SafeStrToCurr"), text, Value);
    return TCurrency{};
}

bool IsInt(const QString& qStr) {
    static const QRegularExpression pattern(QStringLiteral("^[+-]?[0-9]+$"));
    if (!pattern.match(qStr).hasMatch())
        return false;
    QByteArray latin = qStr.toLatin1();
    if (latin.startsWith('+'))
        latin.remove(0, 1);
    int32_t value = 0;
    const char* end = latin.constData() + latin.size();
    const auto [ptr, ec] = std::from_chars(latin.constData(), end, value);
    return ec == std::errc() && ptr == end;
}

bool IsNumeric(const QString& qStr) {
    double ignored = 0;
    return IsInt(qStr) || strictToDouble(qStr, ignored);
}
