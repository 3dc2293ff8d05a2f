#pragma once

// The business summary of a period without widgets: what was taken, in what,
// from how many guests, what sold and when. Figures come from settled orders
// that are not deleted; returned lines and deleted orders are counted apart
// and never in the takings. Money is held in whole cents.

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <cstdint>

// Business days from First to Last, both included. A business day starts at
// DayStart o'clock (0..23), so with 2 an order at 01:30 counts to the day
// before.
struct TReportPeriod {
    QDate First;
    QDate Last;
    int DayStart = 0;

    // Settlement times of the period as stored ("yyyy-MM-dd hh:mm:ss"):
    // from First at DayStart o'clock up to, not including, the day after Last
    // at DayStart o'clock. On a day whose clock skips that hour the day starts
    // at the first local time after it.
    QString FromText() const;
    QString ToText() const;
    int Days() const; // business days in the period, at least 1
    // "2026-12-10", or "2026-12-01 至 2026-12-07" over several days.
    QString Caption() const;
};

// The quick choices of the window, in its order.
enum class TQuickPeriod { Today, Yesterday, ThisWeek, ThisMonth, LastMonth };

// The business day that `now` falls in.
QDate BusinessDate(const QDateTime& now, int dayStart);
// The period a quick choice names at `now` ("本周" starts on Monday, "本月"
// and "本周" end today).
TReportPeriod QuickPeriod(TQuickPeriod choice, const QDateTime& now, int dayStart);

struct TPayTypeFigure {
    int Code = 0;    // zel_orders.paytype; -1 for codes no payment type has
    QString Caption; // as the table window shows it; "未记录" for the rest
    int Orders = 0;
    int64_t Cents = 0;
};

struct TDishFigure {
    int64_t CaipinID = 0;
    QString Title;       // the dish's name; specifications count with their dish
    double Quantity = 0; // portions
    int64_t Cents = 0;
};

struct TBusinessReport {
    TReportPeriod Period;

    int Orders = 0;
    int64_t Guests = 0;
    int64_t Cents = 0;             // takings: the sum of the orders' `price`
    int64_t PerOrderCents() const; // rounded half up; 0 without orders
    int64_t PerGuestCents() const; // rounded half up; 0 without guests

    // The eight payment types in the table window's order, each listed even
    // when unused, then one "未记录" entry only when an order has another code.
    // Their sum is the takings.
    QList<TPayTypeFigure> PayTypes;

    double ReturnedQuantity = 0; // returned portions of counted orders
    int64_t ReturnedCents = 0;
    int DeletedOrders = 0; // deleted orders settled in the period
    int64_t DeletedCents = 0;

    // Up to ten dishes each; ties go to the other figure, then the name.
    QList<TDishFigure> TopByQuantity;
    QList<TDishFigure> TopByAmount;

    // Takings by the clock hour of settlement, 0..23, over the whole period.
    std::array<int64_t, 24> HourCents{};
    // Takings of each business day of the period, First first; Days() long.
    QList<int64_t> DayCents;
};

class TRowScanner;

// Reads the summary of `period` from the database file in one snapshot.
// Raises ESQLiteException when the file cannot be read.
TBusinessReport ReadBusinessReport(const QString& file, const TReportPeriod& period);
// The same in the snapshot of `scan`, so that more can be read consistent
// with the figures.
TBusinessReport ReadBusinessReport(TRowScanner& scan, const TReportPeriod& period);

// "用餐人数": the guest count's name in the summary, on its day report and in
// its exports, as the table window and the order details call it.
QString GuestsCaption();

// Whole cents of an amount stored in yuan, rounded to the nearest cent.
int64_t YuanToCents(double yuan);
// "1234.50": cents as yuan with two decimals.
QString CentsText(int64_t cents);
// "￥1234.50".
QString YuanText(int64_t cents);
// "3", "2.5": a quantity without trailing zeros.
QString QuantityText(double quantity);
