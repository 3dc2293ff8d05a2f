#pragma once

// Writes of the table window on one table: state, details, line states and
// the recount that keeps the stored table row in step with its open lines.
// Every write is checked; a failure raises EDeskError and, inside a
// transaction, rolls the whole transaction back.

#include "store/SQLiteORM.h"

#include <QString>

#include <cstdint>
#include <stdexcept>

class TSQLiteDatabase;

class EDeskError : public std::runtime_error {
public:
    explicit EDeskError(const QString& message);
    QString Message() const { return QString::fromUtf8(what()); }
};

struct TDeskTotals {
    QString Stat;     // "1" with open lines (returned ones included), "0" without
    double Price = 0; // stored amounts of the open lines with status 0..6
    int32_t LineCount = 0;
};

// A free table: guests and reservation reset, state "0", amount 0.
TValueDict FreeDeskValues();

// Recounts the table from its open lines and always stores both stat and
// price on the table row, so a floor rebuild shows what the tile shows.
TDeskTotals RecountDesk(TSQLiteDatabase& db, int32_t DeskID);

// Stores the table state text ("1" open, "0" free).
void SetDeskStat(TSQLiteDatabase& db, int32_t DeskID, const QString& stat);

// Clears a table in one transaction: open lines marked deleted (8), basket
// rows set to quantity 0, guest details reset, state "0" and amount 0.
void ClearDesk(TSQLiteDatabase& db, int32_t DeskID);

struct TDeskDetails {
    QString Nums; // whole guests; anything else stores "0"
    QString Fwy;
    QString Ydtruename;
    QString Ydtel;
    QString Yj; // deposit, decimals allowed; anything not numeric stores "0"
};

// "<caption>不能为负数" when typed is a negative number, else empty: guests,
// deposits and amounts received below zero are refused, not stored.
QString NegativeNumberRefusal(const QString& caption, const QString& typed);

// Normalises the typed details as they are stored.
TDeskDetails NormaliseDeskDetails(const TDeskDetails& typed);

// Stores the (already normalised) guest and reservation details.
void SaveDeskDetails(TSQLiteDatabase& db, int32_t DeskID, const TDeskDetails& details);

// Sets the status of one ordered line while it is still open; false when it
// was settled meanwhile (a settled bill never changes afterwards).
bool UpdateOrderItemStatus(TSQLiteDatabase& db, int32_t OrderID, int32_t NewStatus);
