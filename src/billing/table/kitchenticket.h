#pragma once

// What the kitchen has been told. `iscal` of an ordered line holds it:
//   0  not sent yet
//   1  sent
//   2  sent, and its return announced on a later ticket
// A kitchen ticket carries what the kitchen does not know yet: lines to cook
// that are not at 1 (new, or a return taken back), and returned lines at 1,
// struck through, once (a line returned before it was sent is never printed).
// Lines are marked only once the ticket is printed.

#include "billing/printing/ticketlayouts.h"

#include <QList>

#include <cstdint>

class TSQLiteDatabase;

struct TKitchenPlan {
    QList<int32_t> NewIDs;      // to mark 1 once printed
    QList<int32_t> ReturnedIDs; // to mark 2 once printed
    QList<TKitchenTicketLine> Lines;
    bool AddOn = false;    // the table had lines sent before: the ticket says "加菜"
    int32_t OpenLines = 0; // open lines of the table, new or not

    bool IsEmpty() const { return Lines.isEmpty(); }
};

// The lines of the next kitchen ticket of the table, by id. A failed read
// throws ESQLiteException.
TKitchenPlan PlanKitchenTicket(TSQLiteDatabase& db, int32_t DeskID);

// The layout of the planned ticket.
QString BuildKitchenTicket(const TTicketSettings& settings, const QString& DeskBH,
                           const TKitchenPlan& plan);

// Marks the planned lines as the kitchen now knows them, in one transaction;
// settled lines are left alone. Throws ESQLiteException, with nothing marked.
void MarkKitchenSent(TSQLiteDatabase& db, const TKitchenPlan& plan);

// What a printed ticket told the kitchen, for the operator: "已送厨房：3道菜".
QString KitchenSentNote(const TKitchenPlan& plan);
