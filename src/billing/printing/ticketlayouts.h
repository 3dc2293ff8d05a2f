#pragma once

// The five ticket layouts. Each returns the layout document text: "[", every
// row followed by a comma, "]". Titles are written as JSON strings, so any dish,
// table or shop text prints as typed. Customer receipts are printed with kind
// "0", kitchen tickets with kind "1".

#include "billing/printing/ticketsettings.h"

#include <QList>
#include <QString>

#include <cstdint>

class TSQLiteDatabase;

// The text of `s` escaped for use inside a JSON string.
QString JsonEscape(const QString& s);

// Receipt of a table's open lines. The overloads without a connection read
// sqlitename and the settings in effect. A failed read throws ESQLiteException.
QString BuildTableReceipt(TSQLiteDatabase& db, const TTicketSettings& settings, int32_t DeskID,
                          const QString& DeskBH);
QString BuildTableReceipt(int32_t DeskID, const QString& DeskBH);

// One line of a kitchen ticket; a returned one is struck through.
struct TKitchenTicketLine {
    QString Title;
    QString Quantity; // the stored value's text
    bool Returned = false;
};

// Kitchen ticket of a table's open lines, every one of them.
QString BuildKitchenTicket(TSQLiteDatabase& db, const TTicketSettings& settings, int32_t DeskID,
                           const QString& DeskBH);
QString BuildKitchenTicket(int32_t DeskID, const QString& DeskBH);
// Kitchen ticket of the given lines; an add-on ticket opens with "加菜".
QString BuildKitchenTicket(const TTicketSettings& settings, const QString& DeskBH,
                           const QList<TKitchenTicketLine>& lines, bool addOn);

// Receipt of a settled order (reprint), with that order's table code.
QString BuildOrderReceipt(TSQLiteDatabase& db, const TTicketSettings& settings, int32_t OrderID,
                          const QString& OrderBH);
QString BuildOrderReceipt(int32_t OrderID, const QString& OrderBH);

// The samples of the settings screen, from the settings alone.
QString BuildSampleReceipt(const TTicketSettings& settings = TicketSettings());
QString BuildSampleKitchenTicket();
