#include "report/businessreport.h"

#include "billing/table/bill/paytypes.h"
#include "report/reportlines.h"
#include "store/rowscan.h"

#include <QHash>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <exception>
#include <thread>
#include <vector>

namespace {

const char* const kStampFormat = "yyyy-MM-dd hh:mm:ss";

// About 24 MB of lines kept as read at four lines an order; a busy month
// has 100,000 orders.
constexpr int64_t kEarlyOrders = 150000;

// Two digits of text at `at`, or -1.
int twoDigits(QByteArrayView text, qsizetype at) {
    if (text.size() < at + 2)
        return -1;
    const char a = text[at];
    const char b = text[at + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9')
        return -1;
    return (a - '0') * 10 + (b - '0');
}

struct TStamp {
    QDate date;
    int hour = 0;
};

// "yyyy-MM-dd hh:mm:ss" read without building a date-time per row.
TStamp readStamp(QByteArrayView text) {
    TStamp stamp;
    const int century = twoDigits(text, 0);
    const int year = twoDigits(text, 2);
    const int month = twoDigits(text, 5);
    const int day = twoDigits(text, 8);
    if (century >= 0 && year >= 0 && month > 0 && day > 0)
        stamp.date = QDate(century * 100 + year, month, day);
    stamp.hour = std::max(0, twoDigits(text, 11));
    return stamp;
}

// Whole numbers only ever reach the statements below.
QString idList(const QList<int64_t>& ids) {
    QStringList texts;
    for (const int64_t id : ids)
        texts << QString::number(id);
    return texts.join(QLatin1Char(','));
}

QHash<int64_t, QString> dishTitles(TRowScanner& scan, const QList<int64_t>& ids) {
    QHash<int64_t, QString> titles;
    if (ids.isEmpty())
        return titles;
    scan.Scan(
        QStringLiteral("SELECT `id`,`title` FROM zel_caipin WHERE `id` IN (%1)").arg(idList(ids)),
        [&](const TScanRow& row) { titles.insert(row.Int(0), row.Text(1)); });
    // A dish removed from the menu keeps the name its lines were sold under.
    for (const int64_t id : ids) {
        if (titles.contains(id))
            continue;
        scan.Scan(
            QStringLiteral("SELECT `title` FROM zel_orders_detail WHERE `caipinid`=%1 LIMIT 1")
                .arg(id),
            [&](const TScanRow& row) { titles.insert(id, row.Text(0)); });
    }
    return titles;
}

QList<TDishFigure> topTen(QList<TDishFigure> dishes,
                          bool (*before)(const TDishFigure&, const TDishFigure&)) {
    const qsizetype n = std::min<qsizetype>(10, dishes.size());
    std::partial_sort(dishes.begin(), dishes.begin() + n, dishes.end(), before);
    dishes.resize(n);
    return dishes;
}

bool moreQuantity(const TDishFigure& a, const TDishFigure& b) {
    if (a.Quantity != b.Quantity)
        return a.Quantity > b.Quantity;
    if (a.Cents != b.Cents)
        return a.Cents > b.Cents;
    return a.Title < b.Title;
}

bool moreCents(const TDishFigure& a, const TDishFigure& b) {
    if (a.Cents != b.Cents)
        return a.Cents > b.Cents;
    if (a.Quantity != b.Quantity)
        return a.Quantity > b.Quantity;
    return a.Title < b.Title;
}

// The first local time at or after `hour` o'clock of `day`. Where the clock
// springs over that hour (02:00 to 03:00, or midnight itself in some zones)
// the hour does not exist and the day starts when the clock goes on; an hour
// that repeats is one stamp text, so each order still falls in one day.
QString dayStartText(const QDate& day, int hour) {
    QDateTime at(day, QTime(hour, 0));
    // A zone may skip a whole day; no gap is longer than that.
    for (int minute = 1; !at.isValid() && minute <= 48 * 60; ++minute) {
        // Wall-clock arithmetic in UTC, which has no gaps.
        const QDateTime wall =
            QDateTime(day, QTime(0, 0), Qt::UTC).addSecs(hour * 3600 + minute * 60);
        at = QDateTime(wall.date(), wall.time());
    }
    return at.toString(QLatin1String(kStampFormat));
}

} // namespace

QString TReportPeriod::FromText() const {
    return dayStartText(First, DayStart);
}

QString TReportPeriod::ToText() const {
    return dayStartText(std::max(First, Last).addDays(1), DayStart);
}

int TReportPeriod::Days() const {
    return int(std::max<qint64>(1, First.daysTo(Last) + 1));
}

QString TReportPeriod::Caption() const {
    const QString first = First.toString(QStringLiteral("yyyy-MM-dd"));
    if (Days() == 1)
        return first;
    return first + QStringLiteral(" 至 ") + Last.toString(QStringLiteral("yyyy-MM-dd"));
}

QDate BusinessDate(const QDateTime& now, int dayStart) {
    return now.time().hour() < dayStart ? now.date().addDays(-1) : now.date();
}

TReportPeriod QuickPeriod(TQuickPeriod choice, const QDateTime& now, int dayStart) {
    const QDate today = BusinessDate(now, dayStart);
    const QDate monthStart(today.year(), today.month(), 1);
    TReportPeriod period{today, today, dayStart};
    switch (choice) {
    case TQuickPeriod::Today:
        break;
    case TQuickPeriod::Yesterday:
        period.First = period.Last = today.addDays(-1);
        break;
    case TQuickPeriod::ThisWeek:
        period.First = today.addDays(1 - today.dayOfWeek());
        break;
    case TQuickPeriod::ThisMonth:
        period.First = monthStart;
        break;
    case TQuickPeriod::LastMonth:
        period.First = monthStart.addMonths(-1);
        period.Last = monthStart.addDays(-1);
        break;
    }
    return period;
}

int64_t TBusinessReport::PerOrderCents() const {
    return Orders > 0 ? (Cents * 2 + Orders) / (2 * int64_t(Orders)) : 0;
}

int64_t TBusinessReport::PerGuestCents() const {
    return Guests > 0 ? (Cents * 2 + Guests) / (2 * Guests) : 0;
}

TBusinessReport ReadBusinessReport(const QString& file, const TReportPeriod& period) {
    TRowScanner scan(file);
    return ReadBusinessReport(scan, period);
}

TBusinessReport ReadBusinessReport(TRowScanner& scan, const TReportPeriod& period) {
    TBusinessReport report;
    report.Period = period;
    report.Period.Last = std::max(period.First, period.Last);
    report.DayCents = QList<int64_t>(report.Period.Days(), 0);
    for (const TPayType& type : PayTypes())
        report.PayTypes.append({type.Code, type.Caption, 0, 0});
    TPayTypeFigure unrecorded{-1, PayTypeCaption(-1), 0, 0};

    // With "+" the planner stays on the id range rather than the index again.
    const auto inPeriod = [&](const QString& plus) {
        return QStringLiteral("%1`addtime`>='%2' AND %1`addtime`<'%3'")
            .arg(plus, report.Period.FromText(), report.Period.ToText());
    };

    // The period's ids through the addtime index: its orders are then read in
    // id order, and its lines through the rootid index, without sorting.
    int64_t lo = 0;
    int64_t hi = -1;
    scan.Scan(QStringLiteral("SELECT MIN(`id`),MAX(`id`) FROM zel_orders WHERE ") +
                  inPeriod(QString()),
              [&](const TScanRow& row) {
                  if (!row.IsNull(0)) {
                      lo = row.Int(0);
                      hi = row.Int(1);
                  }
              });
    if (hi < lo)
        return report;

    // The lines of the first two thirds of the orders are read on a
    // second connection meanwhile, and kept as read until the orders say
    // which count: at most those of kEarlyOrders orders, so a long period
    // does not hold its lines in memory. This connection holds its read lock
    // already, so no write can come between the two and both read the same
    // data.
    const int64_t split = lo + std::min<int64_t>((hi - lo + 1) * 2 / 3, kEarlyOrders);
    std::vector<TLineRecord> early;
    std::exception_ptr earlyFailure;
    std::jthread worker([&] {
        try {
            TRowScanner own(scan.File());
            early = ReadLineRecords(own, lo, split - 1);
        } catch (...) {
            earlyFailure = std::current_exception();
        }
    });

    std::vector<bool> counted(size_t(hi - lo + 1), false);
    const int64_t firstDay = report.Period.First.toJulianDay();
    const int lastDay = report.Period.Days() - 1;
    scan.Scan(QStringLiteral("SELECT `id`,`deleted`,`paytype`,`nums`,`price`,`addtime` FROM "
                             "zel_orders WHERE `id` BETWEEN %1 AND %2 AND ")
                      .arg(lo)
                      .arg(hi) +
                  inPeriod(QStringLiteral("+")),
              [&](const TScanRow& row) {
                  if (row.IsNull(1))
                      return;
                  const int64_t amount = YuanToCents(row.Double(4));
                  if (row.Int(1) != 0) {
                      ++report.DeletedOrders;
                      report.DeletedCents += amount;
                      return;
                  }
                  counted[size_t(row.Int(0) - lo)] = true;
                  ++report.Orders;
                  report.Guests += row.Int(3);
                  report.Cents += amount;
                  const int code = int(row.Int(2));
                  auto type =
                      std::find_if(report.PayTypes.begin(), report.PayTypes.end(),
                                   [code](const TPayTypeFigure& t) { return t.Code == code; });
                  TPayTypeFigure& figure = type != report.PayTypes.end() ? *type : unrecorded;
                  ++figure.Orders;
                  figure.Cents += amount;
                  const TStamp stamp = readStamp(row.Utf8(5));
                  report.HourCents[size_t(std::min(stamp.hour, 23))] += amount;
                  int64_t day = stamp.date.isValid() ? stamp.date.toJulianDay() - firstDay : 0;
                  if (stamp.hour < report.Period.DayStart)
                      --day;
                  report.DayCents[std::clamp<qsizetype>(day, 0, lastDay)] += amount;
              });
    if (unrecorded.Orders > 0)
        report.PayTypes.append(unrecorded);

    TLineSums lines;
    SumLines(scan, split, hi, counted, lo, lines);
    worker.join();
    if (earlyFailure)
        std::rethrow_exception(earlyFailure);
    for (const TLineRecord& line : early)
        if (counted[size_t(line.Order - lo)])
            lines.Add(line.CaipinID, line.Stat, line.Quantity, line.Cents);
    report.ReturnedQuantity = lines.ReturnedQuantity;
    report.ReturnedCents = lines.ReturnedCents;

    const QHash<int64_t, QString> titles = dishTitles(scan, lines.Dishes.keys());
    QList<TDishFigure> figures;
    for (auto it = lines.Dishes.cbegin(); it != lines.Dishes.cend(); ++it)
        figures.append({it.key(), titles.value(it.key()), it->Quantity, it->Cents});
    report.TopByQuantity = topTen(figures, moreQuantity);
    report.TopByAmount = topTen(figures, moreCents);
    return report;
}

QString GuestsCaption() {
    return QStringLiteral("用餐人数");
}

int64_t YuanToCents(double yuan) {
    return std::llround(yuan * 100);
}

QString YuanText(int64_t cents) {
    return QStringLiteral("￥") + CentsText(cents);
}

QString CentsText(int64_t cents) {
    const int64_t whole = std::abs(cents);
    return (cents < 0 ? QStringLiteral("-") : QString()) +
           QStringLiteral("%1.%2").arg(whole / 100).arg(whole % 100, 2, 10, QLatin1Char('0'));
}

QString QuantityText(double quantity) {
    return QString::number(std::round(quantity * 1000) / 1000, 'g', 12);
}
