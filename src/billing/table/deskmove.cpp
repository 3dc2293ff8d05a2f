#include "billing/table/deskmove.h"

#include "billing/printing/ticketlayout.h"
#include "billing/table/deskops.h"
#include "store/SQLiteORM.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <optional>

EDeskMoveError::EDeskMoveError(const QString& message, TDeskMoveFailure kind)
    : std::runtime_error(message.toUtf8().toStdString()), m_kind(kind) {}

QString DeskMoveWord(TDeskMove move) {
    return move == TDeskMove::Transfer ? QStringLiteral("换桌") : QStringLiteral("并台");
}

bool DeskTakesMove(TDeskMove move, const QString& stat) {
    return stat == (move == TDeskMove::Transfer ? QStringLiteral("0") : QStringLiteral("1"));
}

namespace {

// Any failed statement of a move; RaiseIfFailed wants a one-argument type.
class EMoveWriteError : public EDeskMoveError {
public:
    explicit EMoveWriteError(const QString& message)
        : EDeskMoveError(message, TDeskMoveFailure::Error) {}
};

const QString kOpenLines = QStringLiteral("issettle=0 AND deskid=%1 AND stat in(0,1,2,3,4,5,6,7)");

struct TMoveDesk {
    QString stat;
    qlonglong nums = 0;
    QString fwy;
    QString ydtruename;
    QString ydtel;
    double yj = 0;
};

std::optional<TMoveDesk> readDesk(TSQLiteDatabase& db, int32_t DeskID) {
    TSQLiteORM orm(&db, QStringLiteral("zel_desk"));
    const auto t = orm.Where(QStringLiteral("id=%1 AND deleted=0").arg(DeskID)).First();
    RaiseIfFailed<EMoveWriteError>(orm);
    if (!t || t->Eof())
        return std::nullopt;
    TMoveDesk desk;
    desk.stat = TSQLiteORM::GetFieldAsString(t.get(), QStringLiteral("stat"));
    desk.nums = TSQLiteORM::GetFieldAsInteger(t.get(), QStringLiteral("nums"));
    desk.fwy = TSQLiteORM::GetFieldAsString(t.get(), QStringLiteral("fwy"));
    desk.ydtruename = TSQLiteORM::GetFieldAsString(t.get(), QStringLiteral("ydtruename"));
    desk.ydtel = TSQLiteORM::GetFieldAsString(t.get(), QStringLiteral("ydtel"));
    desk.yj = TSQLiteORM::GetFieldAsDouble(t.get(), QStringLiteral("yj"));
    return desk;
}

QList<int32_t> openLineIDs(TSQLiteDatabase& db, int32_t DeskID) {
    TSQLiteORM orm(&db, QStringLiteral("zel_orders_detail"));
    const auto t = orm.Where(kOpenLines.arg(DeskID)).Select();
    RaiseIfFailed<EMoveWriteError>(orm);
    QList<int32_t> ids;
    for (; t && !t->Eof(); t->Next())
        ids << TSQLiteORM::GetFieldAsInteger(t.get(), QStringLiteral("id"));
    return ids;
}

QString firstOf(const QString& kept, const QString& other) {
    return kept.trimmed().isEmpty() ? other : kept;
}

// Name, phone and deposit belong to one booking; any of them makes one.
bool hasReservation(const TMoveDesk& desk) {
    return !desk.ydtruename.trimmed().isEmpty() || !desk.ydtel.trimmed().isEmpty() || desk.yj != 0;
}

// A free table's basket holds only leftovers of an earlier party.
void emptyCart(TSQLiteDatabase& db, int32_t DeskID) {
    TSQLiteORM cart(&db, QStringLiteral("zel_cart"));
    cart.Where(QStringLiteral("deskid=%1 AND quantity>0").arg(DeskID))
        .SetField(QStringLiteral("quantity"), 0.0);
    RaiseIfFailed<EMoveWriteError>(cart);
}

// Basket rows follow the party. A dish already in the target's basket gets the
// quantity added to its row, so the basket never holds one dish twice; the
// emptied source row stays behind with quantity 0, as every emptied row does.
void moveCart(TSQLiteDatabase& db, int32_t FromID, int32_t ToID) {
    TSQLiteORM source(&db, QStringLiteral("zel_cart"));
    const auto rows = source.Where(QStringLiteral("deskid=%1").arg(FromID)).Select();
    RaiseIfFailed<EMoveWriteError>(source);
    TSQLiteORM cart(&db, QStringLiteral("zel_cart"));
    for (; rows && !rows->Eof(); rows->Next()) {
        const TSQLiteTable* row = rows.get();
        const int32_t id = TSQLiteORM::GetFieldAsInteger(row, QStringLiteral("id"));
        const double quantity = TSQLiteORM::GetFieldAsDouble(row, QStringLiteral("quantity"));
        const auto same =
            cart.Where(QStringLiteral("deskid=%1 AND caipinid=%2 AND skuid=%3")
                           .arg(ToID)
                           .arg(TSQLiteORM::GetFieldAsInteger(row, QStringLiteral("caipinid")))
                           .arg(TSQLiteORM::GetFieldAsInteger(row, QStringLiteral("skuid"))))
                .Order(QStringLiteral("id ASC"))
                .First();
        RaiseIfFailed<EMoveWriteError>(cart);
        if (!same || same->Eof()) {
            cart.Where(QStringLiteral("id=%1").arg(id)).SetField(QStringLiteral("deskid"), ToID);
            RaiseIfFailed<EMoveWriteError>(cart);
            continue;
        }
        if (quantity <= 0)
            continue;
        const int32_t target = TSQLiteORM::GetFieldAsInteger(same.get(), QStringLiteral("id"));
        const double held = TSQLiteORM::GetFieldAsDouble(same.get(), QStringLiteral("quantity"));
        cart.Where(QStringLiteral("id=%1").arg(target))
            .SetField(QStringLiteral("quantity"), std::max(held, 0.0) + quantity);
        RaiseIfFailed<EMoveWriteError>(cart);
        cart.Where(QStringLiteral("id=%1").arg(id)).SetField(QStringLiteral("quantity"), 0.0);
        RaiseIfFailed<EMoveWriteError>(cart);
    }
}

void moveDesk(TSQLiteDatabase& db, TDeskMove move, int32_t FromID, int32_t ToID,
              QList<int32_t> listed) {
    const QString word = DeskMoveWord(move);
    if (FromID == ToID)
        throw EDeskMoveError(QStringLiteral("不能选择本桌"), TDeskMoveFailure::TargetChanged);
    if (listed.isEmpty())
        throw EDeskMoveError(QStringLiteral("本桌没有已点的菜品，无需") + word,
                             TDeskMoveFailure::Error);

    TSQLiteTransaction transaction(db);
    // Checked inside the transaction: from here no other connection can
    // commit a change to either table before this one ends.
    QList<int32_t> stored = openLineIDs(db, FromID);
    std::sort(stored.begin(), stored.end());
    std::sort(listed.begin(), listed.end());
    const std::optional<TMoveDesk> from = readDesk(db, FromID);
    if (!from || stored != listed)
        throw EDeskMoveError(QStringLiteral("本桌订单已被修改或已结算，请核对后重新") + word,
                             TDeskMoveFailure::SourceChanged);
    const std::optional<TMoveDesk> to = readDesk(db, ToID);
    if (!to)
        throw EDeskMoveError(QStringLiteral("所选桌位已不存在，请重新选择"),
                             TDeskMoveFailure::TargetChanged);
    // A free table is one without open lines too, whatever its row says.
    if (!DeskTakesMove(move, to->stat) ||
        (move == TDeskMove::Transfer && !openLineIDs(db, ToID).isEmpty()))
        throw EDeskMoveError(move == TDeskMove::Transfer
                                 ? QStringLiteral("所选桌位已被占用，请重新选择")
                                 : QStringLiteral("所选桌位已空闲，无法并台，请重新选择"),
                             TDeskMoveFailure::TargetChanged);

    QStringList ids;
    for (const int32_t id : listed)
        ids << QString::number(id);
    TSQLiteORM lines(&db, QStringLiteral("zel_orders_detail"));
    lines
        .Where(QStringLiteral("id IN (%1) AND ").arg(ids.join(QLatin1Char(','))) +
               kOpenLines.arg(FromID))
        .SetField(QStringLiteral("deskid"), ToID);
    RaiseIfFailed<EMoveWriteError>(lines);
    if (db.Changes() != listed.size())
        throw EDeskMoveError(QStringLiteral("本桌订单已被修改或已结算，请核对后重新") + word,
                             TDeskMoveFailure::SourceChanged);

    if (move == TDeskMove::Transfer)
        emptyCart(db, ToID);
    moveCart(db, FromID, ToID);

    // A transfer takes the party's details along; a merge seats everyone at
    // the chosen table and adds up the guests. Name and phone are kept as one
    // booking's, never pieced together from two: the chosen table's, since the
    // guests join the seat booked there, else the moved party's. Deposits are
    // money taken, so both stay on the table.
    const TMoveDesk& booking = hasReservation(*to) ? *to : *from;
    const TValueDict details =
        move == TDeskMove::Transfer
            ? TValueDict{{QStringLiteral("nums"), from->nums},
                         {QStringLiteral("fwy"), from->fwy},
                         {QStringLiteral("ydtruename"), from->ydtruename},
                         {QStringLiteral("ydtel"), from->ydtel},
                         {QStringLiteral("yj"), from->yj}}
            : TValueDict{{QStringLiteral("nums"), to->nums + from->nums},
                         {QStringLiteral("fwy"), firstOf(to->fwy, from->fwy)},
                         {QStringLiteral("ydtruename"), booking.ydtruename},
                         {QStringLiteral("ydtel"), booking.ydtel},
                         {QStringLiteral("yj"), std::round((to->yj + from->yj) * 100) / 100}};
    TSQLiteORM desk(&db, QStringLiteral("zel_desk"));
    desk.Where(QStringLiteral("id=%1").arg(FromID)).Save(FreeDeskValues());
    RaiseIfFailed<EMoveWriteError>(desk);
    desk.Where(QStringLiteral("id=%1").arg(ToID)).Save(details);
    RaiseIfFailed<EMoveWriteError>(desk);

    RecountDesk(db, FromID);
    RecountDesk(db, ToID);
    transaction.Commit();
}

} // namespace

void MoveDesk(TSQLiteDatabase& db, TDeskMove move, int32_t FromID, int32_t ToID,
              const QList<int32_t>& ListedIDs) {
    try {
        moveDesk(db, move, FromID, ToID, ListedIDs);
    } catch (const EMoveWriteError& e) {
        throw EDeskMoveError(DeskMoveWord(move) + QStringLiteral("失败: ") + e.Message(),
                             TDeskMoveFailure::Error);
    } catch (const EDeskMoveError&) {
        throw;
    } catch (const std::exception& e) {
        throw EDeskMoveError(DeskMoveWord(move) + QStringLiteral("失败: ") +
                                 QString::fromUtf8(e.what()),
                             TDeskMoveFailure::Error);
    }
}

QString BuildMoveNotice(TSQLiteDatabase& db, const TTicketSettings& settings, TDeskMove move,
                        const QString& FromBH, const QString& ToBH, const QList<int32_t>& LineIDs) {
    if (LineIDs.isEmpty())
        return {};
    QStringList ids;
    for (const int32_t id : LineIDs)
        ids << QString::number(id);
    // Sent (1) and neither served (3) nor returned (7): still in the kitchen.
    TSQLiteORM orm(&db, QStringLiteral("zel_orders_detail"));
    const auto t = orm.Where(QStringLiteral("id IN (%1) AND iscal=1 AND stat IN (0,1,2,4,5,6)")
                                 .arg(ids.join(QLatin1Char(','))))
                       .Order(QStringLiteral("id ASC"))
                       .Select();
    if (!t || orm.LastFailed())
        throw ESQLiteException(QStringLiteral("读取订单明细失败: ") + orm.LastError());
    if (t->Eof())
        return {};
    TLayout layout;
    layout.Centred(DeskMoveWord(move) + QStringLiteral("：") + FromBH + QStringLiteral(" → ") +
                       ToBH,
                   QStringLiteral("\"size\":16,\"isbold\":1,"));
    layout.Date();
    layout.Table(settings, ToBH);
    layout.KitchenHeading();
    layout.Dash();
    for (; !t->Eof(); t->Next())
        layout.Line({TSQLiteORM::GetFieldAsString(t.get(), QStringLiteral("title")),
                     TSQLiteORM::GetFieldAsString(t.get(), QStringLiteral("quantity"))},
                    false);
    return layout.Text();
}
