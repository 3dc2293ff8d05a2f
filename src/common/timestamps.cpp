#include "common/myfun.h"

#include "common/clock.h"

#include <QTimeZone>

#include <chrono>
#include <random>

// Time stamps as the database stores them, the order number of a settled bill
// and the date formatter. "Now" is always zclock::Now(), so tests can fix it.

namespace {

// "yyyymmddhhnnss" without separators, or with them: "yyyy-mm-dd hh:nn:ss".
QString formatLocal(const QDateTime& local, bool separated) {
    const QDate d = local.date();
    const QTime t = local.time();
    const char* format = separated ? "%04d-%02d-%02d %02d:%02d:%02d" : "%04d%02d%02d%02d%02d%02d";
    return QString::asprintf(format, d.year(), d.month(), d.day(), t.hour(), t.minute(),
                             t.second());
}

// Last second that formats with a four-digit year in UTC+8 (9999-12-31 23:59:59).
constexpr int64_t LastDateStamp = 253402300799LL - 8 * 3600;

} // namespace

// A QDateTime knows its own moment; for a local one Qt applies the zone offset
// (daylight saving included) in effect at that moment.
QString getunittimes(const QDateTime& d) {
    return QString::number(d.toMSecsSinceEpoch());
}

QString getunittime(const QDateTime& d) {
    return QString::number(d.toMSecsSinceEpoch() / 1000);
}

QString getunittimess(const QDateTime& d, int32_t nums) {
    return QString::number(d.toMSecsSinceEpoch() + nums);
}

QString getnowtime() {
    return formatLocal(zclock::Now().toLocalTime(), true);
}

QString getordid() {
    // A fresh generator on every call. Seeded from the system's entropy as well
    // as the high-resolution clock, so two bills settled in the same second
    // still draw independently.
    std::random_device entropy;
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    std::seed_seq seed{entropy(), entropy(), uint32_t(ticks), uint32_t(uint64_t(ticks) >> 32)};
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> draw(0, 999);
    return formatLocal(zclock::Now().toLocalTime(), false) +
           QString::asprintf("%.3d", draw(generator));
}

QString date(int64_t TimeStamp, const QString& FormatStr) {
    if (TimeStamp <= 0 || TimeStamp > LastDateStamp)
        return QString();
    // Always UTC+8, whatever zone the machine runs in.
    const QDateTime moment = QDateTime::fromSecsSinceEpoch(TimeStamp + 8 * 3600, QTimeZone::utc());
    const QDate day = moment.date();
    const QTime time = moment.time();
    auto twoDigits = [](int n) {
        return QString::asprintf("%.2d", n);
    };

    // Each letter replaces every occurrence in the whole text, in this order.
    QString text = FormatStr;
    text.replace(QLatin1Char('Y'), QString::asprintf("%.4d", day.year()));
    text.replace(QLatin1Char('m'), twoDigits(day.month()));
    text.replace(QLatin1Char('d'), twoDigits(day.day()));
    text.replace(QLatin1Char('H'), twoDigits(time.hour()));
    text.replace(QLatin1Char('i'), twoDigits(time.minute()));
    text.replace(QLatin1Char('s'), twoDigits(time.second()));

    // The forms without leading zero; g is the hour modulo 12 (0 at noon and midnight).
    QString result;
    result.reserve(text.size());
    for (const QChar c : std::as_const(text)) {
        switch (c.unicode()) {
        case 'n':
            result += QString::number(day.month());
            break;
        case 'j':
            result += QString::number(day.day());
            break;
        case 'G':
            result += QString::number(time.hour());
            break;
        case 'g':
            result += QString::number(time.hour() % 12);
            break;
        default:
            result += c;
        }
    }
    return result;
}
