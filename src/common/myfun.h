#pragma once

// Shared helpers used by every screen: conversions that never throw, money
// text, Unix time stamps, order numbers, status texts, the date formatter,
// file versions and a plain HTTP GET. The window-bound helpers (laymsg, laybox,
// GetWidthText, list-view column fitting) are in common/ui.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>

// Fixed-point amount with four decimals, held as a count of ten-thousandths.
struct TCurrency {
    int64_t raw = 0;

    // Rounded to four decimals (half away from zero).
    static TCurrency FromDouble(double value);
    double ToDouble() const { return double(raw) / 10000.0; }
    friend bool operator==(TCurrency, TCurrency) = default;
};

// Splits Source at every exact occurrence of Deli; an empty Deli never matches.
QStringList SplitStrings(const QString& Source, const QString& Deli);

// Shortest decimal text of Price, cut (not rounded) or padded to Ws decimals;
// the point is always present: (2.675, 2) -> "2.67", (7, 0) -> "7.".
QString FormatPno(double Price, int32_t Ws);

// The "0.00" pattern: two decimals, rounded half away from zero on the
// value's shortest decimal text (6.175 gives "6.18", 5 gives "5.00").
QString FormatFloat00(double value);

// Unix time stamps of a local date-time, using the zone offset in effect at d.
QString getunittime(const QDateTime& d);                 // seconds
QString getunittimes(const QDateTime& d);                // milliseconds
QString getunittimess(const QDateTime& d, int32_t nums); // milliseconds + nums

// Never throw: 0 on failure, with one line on the debug output channel.
double SafeStrToFloat(const QString& Value);
TCurrency SafeStrToCurr(const QString& Value);

bool IsInt(const QString& qStr);
bool IsNumeric(const QString& qStr);

// Display text of an ordered line's status code.
QString getcaipinstat(int32_t stat);

// Current local time "yyyy-mm-dd hh:nn:ss" (from the replaceable clock).
QString getnowtime();

// 17-digit order number: local "yyyymmddhhnnss" and three random digits.
QString getordid();

// PHP-style formatter for Unix seconds, always in UTC+8; "" for TimeStamp <= 0.
QString date(int64_t TimeStamp, const QString& FormatStr);

// "major.minor.release.build" from the version note of an executable, "" when
// the file is missing or has none.
QString GetVersion(const QString& FileName);

// Body of an HTTP(S) GET, "" on any failure. Encoding 65001 decodes UTF-8,
// anything else the local 8-bit code page.
QString GetHTML(const QString& URL, const QString& Referer = QString(),
                const QString& Cookies = QString(), int32_t Encoding = 65001);
