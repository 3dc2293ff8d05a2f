#pragma once

// Basket and open ordered lines of one table. Every basket change is written
// to zel_cart at once; a confirmation copies the basket into zel_orders_detail
// in one transaction. Failures raise EOrderError with the operation's prefix.

#include "ordering/orderitems.h"

#include <QList>
#include <QString>

#include <cstdint>

class TSQLiteDatabase;

class TOrderManager {
public:
    // The connection is borrowed and must outlive the manager.
    explicit TOrderManager(TSQLiteDatabase* ADatabase);

    // Sets the table (decimal digits, or empty for none) and loads both lists.
    void SetDeskID(const QString& ADeskID);
    const QString& DeskID() const { return FDeskID; }

    void LoadCartItems();
    void LoadConfirmedItems();

    int32_t FindOrderItemIndex(int32_t caipinid, int32_t skuid) const;
    // Index of the basket line stored in that zel_cart row, or -1.
    int32_t FindCartLineIndex(int32_t CartID) const;
    // Whether the table has a basket row for the dish, whatever its quantity.
    bool CheckCartItemExists(int32_t caipinid, int32_t skuid);
    // OrderItem.Quantity is the line's new total, not an increment.
    void AddOrUpdateOrderItem(const TOrderItem& OrderItem);
    // Sets the line's stored row to quantity 0 and drops the line. CartID,
    // when known, picks the line by its row: a line whose specification was
    // deleted meanwhile shows as a plain one but is stored under the old one.
    void RemoveOrderItem(int32_t caipinid, int32_t skuid, int32_t CartID = 0);
    // Pieces of the dish in the stored basket, all specifications together.
    double GetDishQuantity(int32_t caipinid);
    void MoveCartToConfirmed();

    double CalculateCartTotal() const;
    double CalculateConfirmedTotal() const;
    // Active lines only (returned lines left out), rounded half-to-even to cents.
    double CalculateConfirmedDisplayTotal() const;
    double UpdateDeskTotalPrice() const;

    void UpdateOrderStatus(int32_t DetailID, int32_t NewStat);
    // Sets the status of every ticked ordered line; asks for a selection when none is.
    void BatchUpdateOrderStatus(int32_t NewStat);

    int32_t GetCartItemCount() const { return OrderCount(); }
    double GetCartTotalQuantity() const;
    int32_t GetConfirmedItemCount() const { return ConfirmedOrderCount(); }
    // Returned lines left out.
    double GetConfirmedTotalQuantity() const;

    const QList<TOrderItem>& OrderList() const { return FOrderList; }
    int32_t OrderCount() const { return int32_t(FOrderList.size()); }
    // Writable so the ordering screen can tick lines (Selected).
    QList<TOrderItem>& ConfirmedOrderList() { return FConfirmedOrderList; }
    const QList<TOrderItem>& ConfirmedOrderList() const { return FConfirmedOrderList; }
    int32_t ConfirmedOrderCount() const { return int32_t(FConfirmedOrderList.size()); }

private:
    void requireDesk() const;

    TSQLiteDatabase* FDatabase;
    QList<TOrderItem> FOrderList;
    QList<TOrderItem> FConfirmedOrderList;
    QString FDeskID;
};
