#pragma once

// Moving a party: "换桌" carries a table's open lines, basket rows and guest
// details to a free table; "并台" carries the lines and basket rows to an
// occupied table and adds the guests up. Either move is one transaction:
// both tables are recounted and the old one is left free, or nothing changes.

#include <QList>
#include <QString>

#include <cstdint>
#include <stdexcept>

class TSQLiteDatabase;
class TTicketSettings;

enum class TDeskMove {
    Transfer, // 换桌: onto a free table
    Merge,    // 并台: onto an occupied table
};

// "换桌" or "并台".
QString DeskMoveWord(TDeskMove move);

// Whether a table in state `stat` can receive the move: free ("0") for a
// transfer, occupied ("1") for a merge. The picker offers only these.
bool DeskTakesMove(TDeskMove move, const QString& stat);

enum class TDeskMoveFailure {
    Error,         // a read or write failed
    SourceChanged, // the table's open lines are no longer those listed
    TargetChanged, // the chosen table no longer takes the move
};

class EDeskMoveError : public std::runtime_error {
public:
    EDeskMoveError(const QString& message, TDeskMoveFailure kind);
    QString Message() const { return QString::fromUtf8(what()); }
    TDeskMoveFailure Kind() const { return m_kind; }

private:
    TDeskMoveFailure m_kind;
};

// Moves the open lines of FromID (exactly ListedIDs, the ids the table window
// lists) with the basket and guests to ToID. The checks run inside the
// transaction, so a table changed by another window or program meanwhile is
// refused. Raises EDeskMoveError with nothing written.
void MoveDesk(TSQLiteDatabase& db, TDeskMove move, int32_t FromID, int32_t ToID,
              const QList<int32_t>& ListedIDs);

// The kitchen slip of a move: "换桌：A01 → B02" (or "并台"), the new table and
// the moved lines (LineIDs) the kitchen was sent under the old code and still
// has to make. Empty when there are none: any later ticket carries the new
// code anyway. The lines are not marked. A failed read throws ESQLiteException.
QString BuildMoveNotice(TSQLiteDatabase& db, const TTicketSettings& settings, TDeskMove move,
                        const QString& FromBH, const QString& ToBH, const QList<int32_t>& LineIDs);
