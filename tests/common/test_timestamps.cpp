#include "common/clock.h"
#include "common/myfun.h"

#include "printqstring.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>
#include <QTimeZone>

#include <ctime>

namespace {

// POSIX rules need no zone database: Central European time with daylight
// saving, US Eastern time, Japan.
const char* const Berlin = "CET-1CEST,M3.5.0,M10.5.0/3";
const char* const NewYork = "EST5EDT,M3.2.0,M11.1.0";
const char* const Tokyo = "JST-9";

// Each test may switch the process's local zone and fix the clock; both are
// restored afterwards.
class TimeTest : public ::testing::Test {
protected:
    void SetUp() override { m_oldTz = qgetenv("TZ"); }
    void TearDown() override {
        zclock::SetTestClock({});
        if (m_oldTz.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", m_oldTz);
        tzset();
    }
    static void useZone(const char* tz) {
        qputenv("TZ", tz);
        tzset();
    }
    static void fixClock(const QDateTime& now) {
        zclock::SetTestClock([now] { return now; });
    }

private:
    QByteArray m_oldTz;
};

TEST_F(TimeTest, UnixStampsUseTheOffsetInEffectAtThatMoment) {
    useZone(Berlin);
    const QDateTime summer(QDate(2024, 7, 1), QTime(12, 0, 0, 123)); // UTC+2
    const QDateTime winter(QDate(2024, 1, 15), QTime(12, 0, 0));     // UTC+1
    EXPECT_EQ(getunittime(summer), "1719828000");
    EXPECT_EQ(getunittimes(summer), "1719828000123");
    EXPECT_EQ(getunittimess(summer, 20), "1719828000143");
    EXPECT_EQ(getunittime(winter), "1705316400");
    EXPECT_EQ(getunittimes(winter), "1705316400000");
    EXPECT_EQ(getunittimess(winter, 0), "1705316400000");
}

TEST_F(TimeTest, DateFormatsInUtcPlus8WhateverTheLocalZone) {
    struct Case {
        int64_t stamp;
        const char* format;
        const char* text;
    };
    const Case cases[] = {
        {1715058309, "Y-m-d H:i", "2024-05-07 13:05"}, // 05:05:09 UTC
        {1715058309, "n/j G", "5/7 13"},
        {1715058309, "YmdHis", "20240507130509"},
        {1715058309, "g", "1"},
        {1715056200, "g:i G", "0:30 12"},                   // 12:30 in UTC+8
        {1704038400, "Y-m-d H:i:s", "2024-01-01 00:00:00"}, // new year in UTC+8 only
        {1704038400, "g G n j", "0 0 1 1"},
        {1715058309, "Y年m月d日", "2024年05月07日"},
        {1715058309, "date", "07ate"}, // letters of words are replaced too
        {1715058309, "", ""},
        {0, "Y-m-d", ""},
        {-1, "Y-m-d", ""},
        {253402300799LL - 8 * 3600, "Y-m-d H:i:s", "9999-12-31 23:59:59"},
        {253402300799LL - 8 * 3600 + 1, "Y", ""},
    };
    for (const char* zone : {Berlin, NewYork, Tokyo, "UTC0"}) {
        useZone(zone);
        for (const Case& c : cases)
            EXPECT_EQ(date(c.stamp, QString::fromUtf8(c.format)), QString::fromUtf8(c.text))
                << zone << " " << c.stamp << " " << c.format;
    }
}

TEST_F(TimeTest, NowTimeFormatsTheClockLocally) {
    fixClock(QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5)));
    EXPECT_EQ(getnowtime(), "2024-01-02 03:04:05");
    fixClock(QDateTime(QDate(2024, 5, 7), QTime(13, 5, 9)));
    EXPECT_EQ(getnowtime(), "2024-05-07 13:05:09");
}

TEST_F(TimeTest, NowTimeOfAUtcClockIsShownInLocalTime) {
    useZone(Tokyo);
    fixClock(QDateTime(QDate(2024, 5, 7), QTime(4, 5, 9), QTimeZone::utc()));
    EXPECT_EQ(getnowtime(), "2024-05-07 13:05:09");
}

TEST_F(TimeTest, OrderNumberIsTheClockAndThreeRandomDigits) {
    fixClock(QDateTime(QDate(2024, 5, 7), QTime(13, 5, 9)));
    QSet<QString> suffixes;
    for (int i = 0; i < 200; ++i) {
        const QString id = getordid();
        EXPECT_TRUE(QRegularExpression("^20240507130509[0-9]{3}$").match(id).hasMatch())
            << id.toStdString();
        suffixes.insert(id.mid(14));
    }
    // Same clock every time, yet the draws differ: the seed is not the clock alone.
    EXPECT_GT(suffixes.size(), 1);
}

} // namespace
