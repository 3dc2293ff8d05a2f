#pragma once

// Settling a table: one zel_orders row, the listed lines marked settled and
// linked to it, the table reset and stored free, its basket emptied — all in
// one transaction, or nothing.

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <stdexcept>

enum class TSettleFailure {
    Error,
    InsertFailed, // the order row itself could not be written ("插入主订单数据失败")
    DeskChanged,  // the table's open lines are no longer those listed
};

class ESettleError : public std::runtime_error {
public:
    explicit ESettleError(const QString& message, TSettleFailure kind = TSettleFailure::Error);
    QString Message() const { return QString::fromUtf8(what()); }
    TSettleFailure Kind() const { return m_kind; }
    bool InsertFailed() const { return m_kind == TSettleFailure::InsertFailed; }
    bool DeskChanged() const { return m_kind == TSettleFailure::DeskChanged; }

private:
    TSettleFailure m_kind;
};

// Said when another window or program changed or settled the table meanwhile.
QString DeskChangedMessage();

struct TSettleLine {
    int32_t DetailID = 0;
    QString Subtotal; // the "小计" text of the line list
    int32_t Stat = 0;
};

struct TSettleInput {
    int32_t DeskID = 0;
    QString Deskbh;
    QString Desktitle;
    QList<TSettleLine> Lines;
    int32_t PayType = 0;
    QString Shishou;  // amount received, as typed
    QString Zhaoling; // change, as shown
    QString Nums;
    QString Yj;
    QString Fwy;
    QString Ydtruename;
    QString Ydtel;
};

struct TSettlePlan {
    double Total = 0; // subtotals of the lines not returned: what 合计 shows
    QString IdList;   // "3,4,9"
    QString Refusal;  // why there is nothing to settle; empty when it can go on
};

// The checks before the question: empty list, nothing to pay, no line id.
TSettlePlan PlanSettlement(const TSettleInput& input);

// The four amounts and counts as stored: trimmed, "0" unless numeric.
QString NormaliseSettleNumber(const QString& typed);

struct TSettleResult {
    int64_t OrderID = 0; // row id of the new order
    QString OrdID;       // its 17-digit order number
    QString AddTime;
};

// Steps reported to onStep, for tests that stop a settlement between writes.
enum class TSettleStep { OrderInserted, LinesSettled, DeskReset, CartEmptied };

// Writes the settlement on a connection of its own to FileName. The bill is
// booked only while the table's open lines are exactly the listed ones, in
// the listed states and amounts, and every listed line is marked settled;
// otherwise nothing is written and the error says the table changed. Raises
// ESettleError (nothing written) on any failure.
TSettleResult Settle(const QString& FileName, const TSettleInput& input, const TSettlePlan& plan,
                     const std::function<void(TSettleStep)>& onStep = {});
