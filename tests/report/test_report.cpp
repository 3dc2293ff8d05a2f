// The business summary read from a real database: every figure to the cent,
// what stays out of the takings, the business day and the quick choices.

#include "report/businessreport.h"
#include "store/sqlitedb.h"

#include "../common/printqstring.h"
#include "reportfixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <numeric>
#include <optional>
#include <string>

namespace {

TReportPeriod twoDays(int dayStart = 0) {
    return {QDate(2026, 12, 8), QDate(2026, 12, 9), dayStart};
}

QStringList dishes(const QList<TDishFigure>& list) {
    QStringList out;
    for (const TDishFigure& d : list)
        out << QStringLiteral("%1 %2 %3")
                   .arg(d.Title, QuantityText(d.Quantity), CentsText(d.Cents));
    return out;
}

QStringList payTypes(const TBusinessReport& r) {
    QStringList out;
    for (const TPayTypeFigure& p : r.PayTypes)
        out << QStringLiteral("%1 %2 %3").arg(p.Caption).arg(p.Orders).arg(CentsText(p.Cents));
    return out;
}

using ReportTest = ReportFixture;

TEST_F(ReportTest, FiguresOfTwoDaysAreExactToTheCent) {
    const TBusinessReport r = ReadBusinessReport(dbPath(), twoDays());
    EXPECT_EQ(r.Orders, 6);
    EXPECT_EQ(r.Guests, 17);
    EXPECT_EQ(CentsText(r.Cents), QStringLiteral("427.90"));
    EXPECT_EQ(CentsText(r.PerOrderCents()), QStringLiteral("71.32"));
    EXPECT_EQ(CentsText(r.PerGuestCents()), QStringLiteral("25.17"));
    EXPECT_EQ(payTypes(r),
              QStringList({"微信支付 2 81.60", "支付宝 1 64.00", "银行卡 1 164.80", "现金 2 117.50",
                           "充值卡 0 0.00", "余额扣款 0 0.00", "免单 0 0.00", "其它 0 0.00"}));
    // Returned lines and the deleted order are shown apart, never taken.
    EXPECT_EQ(QuantityText(r.ReturnedQuantity), QStringLiteral("1"));
    EXPECT_EQ(CentsText(r.ReturnedCents), QStringLiteral("38.80"));
    EXPECT_EQ(r.DeletedOrders, 1);
    EXPECT_EQ(CentsText(r.DeletedCents), QStringLiteral("77.60"));
    EXPECT_EQ(r.DayCents, QList<int64_t>({20780, 22010}));
    std::array<int64_t, 24> hours{};
    hours[1] = 1650;
    hours[11] = 4280;
    hours[12] = 26580;
    hours[18] = 3880;
    hours[19] = 6400;
    EXPECT_EQ(r.HourCents, hours);
    // Specifications count with their dish, under the dish's name.
    EXPECT_EQ(dishes(r.TopByQuantity), QStringList({"米饭 10 20.00", "印象毛血旺 4 242.00",
                                                    "宫保鸡丁 3 116.40", "酸辣土豆丝 3 49.50"}));
    EXPECT_EQ(dishes(r.TopByAmount), QStringList({"印象毛血旺 4 242.00", "宫保鸡丁 3 116.40",
                                                  "酸辣土豆丝 3 49.50", "米饭 10 20.00"}));
}

TEST_F(ReportTest, EveryBreakdownAddsUpToTheTakings) {
    for (const int dayStart : {0, 2, 23}) {
        const TBusinessReport r = ReadBusinessReport(dbPath(), twoDays(dayStart));
        const auto sumPay =
            std::accumulate(r.PayTypes.begin(), r.PayTypes.end(), int64_t(0),
                            [](int64_t s, const TPayTypeFigure& p) { return s + p.Cents; });
        EXPECT_EQ(sumPay, r.Cents) << dayStart;
        EXPECT_EQ(std::accumulate(r.DayCents.begin(), r.DayCents.end(), int64_t(0)), r.Cents);
        EXPECT_EQ(std::accumulate(r.HourCents.begin(), r.HourCents.end(), int64_t(0)), r.Cents);
        int64_t dishes = 0;
        for (const TDishFigure& d : r.TopByAmount)
            dishes += d.Cents;
        EXPECT_EQ(dishes, r.Cents) << dayStart;
    }
}

TEST_F(ReportTest, TheDayStartHourMovesTheNightToTheDayBefore) {
    const TBusinessReport late = ReadBusinessReport(dbPath(), twoDays(2));
    EXPECT_EQ(late.DayCents, QList<int64_t>({22430, 20360}));
    EXPECT_EQ(late.Orders, 6);

    const TReportPeriod ninth{QDate(2026, 12, 9), QDate(2026, 12, 9), 0};
    EXPECT_EQ(ReadBusinessReport(dbPath(), ninth).Orders, 3);
    const TReportPeriod ninthFromTwo{QDate(2026, 12, 9), QDate(2026, 12, 9), 2};
    const TBusinessReport r = ReadBusinessReport(dbPath(), ninthFromTwo);
    EXPECT_EQ(r.Orders, 2);
    EXPECT_EQ(CentsText(r.Cents), QStringLiteral("203.60"));
    EXPECT_EQ(ninthFromTwo.FromText(), QStringLiteral("2026-12-09 02:00:00"));
    EXPECT_EQ(ninthFromTwo.ToText(), QStringLiteral("2026-12-10 02:00:00"));
}

TEST_F(ReportTest, AnEmptyPeriodHasZeroesAndEveryDay) {
    const TReportPeriod june{QDate(2026, 6, 1), QDate(2026, 6, 30), 0};
    const TBusinessReport r = ReadBusinessReport(dbPath(), june);
    EXPECT_EQ(r.Orders, 0);
    EXPECT_EQ(r.Cents, 0);
    EXPECT_EQ(r.PerOrderCents(), 0);
    EXPECT_EQ(r.PerGuestCents(), 0);
    EXPECT_EQ(r.DayCents, QList<int64_t>(30, 0));
    EXPECT_EQ(r.PayTypes.size(), 8);
    EXPECT_TRUE(r.TopByQuantity.isEmpty());
}

TEST_F(ReportTest, UnknownPaymentCodesAndDishesGoneFromTheMenuAreStillCounted) {
    order(QStringLiteral("2026-12-09 21:00:00"), 0, 2, {{99, QStringLiteral("老坛酸菜鱼"), 88, 1}});
    const TBusinessReport r = ReadBusinessReport(dbPath(), twoDays());
    EXPECT_EQ(CentsText(r.Cents), QStringLiteral("515.90"));
    ASSERT_EQ(r.PayTypes.size(), 9);
    EXPECT_EQ(payTypes(r).last(), QStringLiteral("未记录 1 88.00"));
    EXPECT_EQ(dishes(r.TopByAmount).first(), QStringLiteral("印象毛血旺 4 242.00"));
    EXPECT_EQ(dishes(r.TopByAmount).at(2), QStringLiteral("老坛酸菜鱼 1 88.00"));
}

TEST_F(ReportTest, OnlyTheTenBestDishesAreListed) {
    QList<Line> lines;
    for (int i = 0; i < 12; ++i)
        lines.append({100 + i, QStringLiteral("菜%1").arg(i, 2, 10, QLatin1Char('0')), 1, 1});
    order(QStringLiteral("2026-12-09 21:00:00"), 7, 1, lines);
    const TBusinessReport r = ReadBusinessReport(dbPath(), twoDays());
    EXPECT_EQ(r.TopByQuantity.size(), 10);
    EXPECT_EQ(r.TopByAmount.size(), 10);
    // Equal sums are listed by name.
    EXPECT_EQ(r.TopByAmount.last().Title, QStringLiteral("菜05"));
}

TEST_F(ReportTest, AFileThatIsNotThereIsAnError) {
    EXPECT_THROW(ReadBusinessReport(path(QStringLiteral("missing.db")), twoDays()),
                 ESQLiteException);
}

// Stamps are local wall-clock texts, so a business day runs between two
// local times that exist even where the clock jumps over the start hour.
class ReportDaylightSavingTest : public ReportFixture {
protected:
    void TearDown() override {
        if (FOldZone)
            setenv("TZ", FOldZone->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
        ReportFixture::TearDown();
    }

    void zone(const char* name) {
        if (!FOldZone && std::getenv("TZ"))
            FOldZone = std::string(std::getenv("TZ"));
        setenv("TZ", name, 1);
        tzset();
    }

    QList<int64_t> days(const QDate& first, const QDate& last, int dayStart) {
        return ReadBusinessReport(dbPath(), {first, last, dayStart}).DayCents;
    }

private:
    std::optional<std::string> FOldZone;
};

TEST_F(ReportDaylightSavingTest, ADayStartingInTheSkippedHourStartsWhenTheClockGoesOn) {
    const struct {
        const char* zone;
        QDate day; // the clock skips the day-start hour on this day
        int dayStart;
        QString from;                      // the first local time of that business day
        QStringList before, inside, after; // settlement times
    } cases[] = {
        // 02:00 to 03:00 does not exist.
        {"Europe/Berlin",
         {2026, 3, 29},
         2,
         QStringLiteral("2026-03-29 03:00:00"),
         {"2026-03-28 12:00:00", "2026-03-29 01:59:59"},
         {"2026-03-29 03:00:00", "2026-03-29 12:30:00", "2026-03-30 01:30:00"},
         {"2026-03-30 02:00:00"}},
        // Midnight does not exist: the day starts at 01:00.
        {"America/Sao_Paulo",
         {2018, 11, 4},
         0,
         QStringLiteral("2018-11-04 01:00:00"),
         {"2018-11-03 23:30:00"},
         {"2018-11-04 01:00:00", "2018-11-04 19:00:00", "2018-11-04 23:59:59"},
         {"2018-11-05 00:10:00"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zone);
        zone(c.zone);
        for (const QStringList* times : {&c.before, &c.inside, &c.after})
            for (const QString& t : *times)
                order(t, 7, 1, {{4, QStringLiteral("米饭"), 2, 1}});
        const TReportPeriod day{c.day, c.day, c.dayStart};
        EXPECT_EQ(day.FromText(), c.from);
        EXPECT_EQ(TReportPeriod({c.day.addDays(-1), c.day.addDays(-1), c.dayStart}).ToText(),
                  c.from);
        const TBusinessReport r = ReadBusinessReport(dbPath(), day);
        EXPECT_EQ(r.Orders, c.inside.size());
        EXPECT_EQ(r.Cents, 200 * c.inside.size());
        EXPECT_EQ(
            days(c.day.addDays(-1), c.day.addDays(1), c.dayStart),
            QList<int64_t>({200 * c.before.size(), 200 * c.inside.size(), 200 * c.after.size()}));
    }
}

TEST_F(ReportDaylightSavingTest, AnHourThatRepeatsCountsEachOrderOnce) {
    zone("Europe/Berlin");
    // 02:00 to 03:00 comes twice on 2026-10-25; both 02:30 are stored alike.
    for (const char* t : {"2026-10-25 01:30:00", "2026-10-25 02:00:00", "2026-10-25 02:30:00",
                          "2026-10-25 02:30:00", "2026-10-25 03:30:00"})
        order(QString::fromLatin1(t), 7, 1, {{4, QStringLiteral("米饭"), 2, 1}});
    const QDate sunday(2026, 10, 25);
    for (const int dayStart : {0, 2, 3}) {
        SCOPED_TRACE(dayStart);
        const TBusinessReport both =
            ReadBusinessReport(dbPath(), {sunday.addDays(-1), sunday, dayStart});
        const TBusinessReport saturday =
            ReadBusinessReport(dbPath(), {sunday.addDays(-1), sunday.addDays(-1), dayStart});
        const TBusinessReport alone = ReadBusinessReport(dbPath(), {sunday, sunday, dayStart});
        EXPECT_EQ(saturday.Orders + alone.Orders, 5);
        EXPECT_EQ(both.Orders, 5);
        EXPECT_EQ(both.DayCents, QList<int64_t>({saturday.Cents, alone.Cents}));
    }
    EXPECT_EQ(ReadBusinessReport(dbPath(), {sunday, sunday, 2}).Orders, 4);
    EXPECT_EQ(ReadBusinessReport(dbPath(), {sunday, sunday, 3}).Orders, 1);
}

TEST(ReportPeriodTest, QuickChoices) {
    const QDateTime thursday(QDate(2026, 12, 10), QTime(10, 0));
    const QDateTime earlyMorning(QDate(2026, 12, 1), QTime(1, 30));
    const struct {
        TQuickPeriod choice;
        QDateTime now;
        int dayStart;
        QDate first;
        QDate last;
    } cases[] = {
        {TQuickPeriod::Today, thursday, 0, {2026, 12, 10}, {2026, 12, 10}},
        {TQuickPeriod::Yesterday, thursday, 0, {2026, 12, 9}, {2026, 12, 9}},
        {TQuickPeriod::ThisWeek, thursday, 0, {2026, 12, 7}, {2026, 12, 10}},
        {TQuickPeriod::ThisMonth, thursday, 0, {2026, 12, 1}, {2026, 12, 10}},
        {TQuickPeriod::LastMonth, thursday, 0, {2026, 11, 1}, {2026, 11, 30}},
        // Before the day starts it is still the day before: the last of November.
        {TQuickPeriod::Today, earlyMorning, 2, {2026, 11, 30}, {2026, 11, 30}},
        {TQuickPeriod::ThisMonth, earlyMorning, 2, {2026, 11, 1}, {2026, 11, 30}},
        {TQuickPeriod::LastMonth, earlyMorning, 2, {2026, 10, 1}, {2026, 10, 31}},
        {TQuickPeriod::LastMonth,
         QDateTime(QDate(2027, 1, 15), QTime(9, 0)),
         0,
         {2026, 12, 1},
         {2026, 12, 31}},
    };
    for (const auto& c : cases) {
        const TReportPeriod p = QuickPeriod(c.choice, c.now, c.dayStart);
        EXPECT_EQ(p.First, c.first) << int(c.choice) << " " << c.now.toString().toStdString();
        EXPECT_EQ(p.Last, c.last) << int(c.choice) << " " << c.now.toString().toStdString();
        EXPECT_EQ(p.DayStart, c.dayStart);
    }
}

TEST(ReportPeriodTest, Texts) {
    EXPECT_EQ(CentsText(0), QStringLiteral("0.00"));
    EXPECT_EQ(CentsText(5), QStringLiteral("0.05"));
    EXPECT_EQ(CentsText(123456), QStringLiteral("1234.56"));
    EXPECT_EQ(CentsText(-250), QStringLiteral("-2.50"));
    EXPECT_EQ(QuantityText(3), QStringLiteral("3"));
    EXPECT_EQ(QuantityText(0.1 + 0.2), QStringLiteral("0.3"));
    const TReportPeriod one{QDate(2026, 12, 9), QDate(2026, 12, 9), 0};
    EXPECT_EQ(one.Caption(), QStringLiteral("2026-12-09"));
    EXPECT_EQ(twoDays().Caption(), QStringLiteral("2026-12-08 至 2026-12-09"));
}

} // namespace
