#pragma once

// What the table window shows, without widgets: the table row, the open lines
// with their column texts and totals, and the change for a typed amount.

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

class TSQLiteDatabase;

struct TDeskDetailsRow {
    QString title;
    QString bh;
    QString nums;
    QString stat;
    double price = 0; // 0 when the stored text is not a number
    QString fwy;
    QString ydtruename;
    QString ydtel;
    QString yj;
};

// The zel_desk row with that id, or nothing. A failed read throws EDeskError.
std::optional<TDeskDetailsRow> ReadDeskRow(TSQLiteDatabase& db, int32_t DeskID);

// One row of the line list, as its columns show it.
struct TDeskLine {
    int32_t ID = 0;
    int32_t Stat = 0;
    QString Title;
    QString Quantity; // shortest decimal text
    QString OnePrice; // cut to 2 decimals
    QString Subtotal; // unit price text x quantity text, rounded to 2 decimals
    QString StatText;
};

TDeskLine MakeDeskLine(int32_t ID, const QString& Title, double Quantity, double OnePrice,
                       int32_t Stat);

struct TDeskLines {
    QList<TDeskLine> Lines;
    // Over the lines not returned. The amount is the sum of the subtotals as
    // shown, so it is what the settlement books and what 合计 shows.
    double TotalAmount = 0;
    double TotalDishes = 0;
};

TDeskLines SumDeskLines(const QList<TDeskLine>& Lines);

// 菜品数量 and 合计 of open lines, written the same in every window that shows
// them: the pieces in shortest decimal form, the amount with two decimals.
QString DishCountText(const TDeskLines& Lines);
QString AmountText(const TDeskLines& Lines);

// Open lines of the table (not settled, status 0..7) by id. A failed read
// throws EDeskError.
TDeskLines ReadDeskLines(TSQLiteDatabase& db, int32_t DeskID);

// Shortest decimal text of a double: 1, 2.5, 0.1.
QString ShortestNumber(double value);

// The change for the amount received against the 合计 text ("￥88.50"):
// received minus total with the "0.00" pattern. Nothing when the amount
// received is not a number; the change shown then stays as it is.
std::optional<QString> ComputeChange(const QString& received, const QString& totalText);
