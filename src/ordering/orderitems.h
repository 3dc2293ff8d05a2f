#pragma once

// Line, specification and dish records of the ordering screen.

#include "common/myfun.h"

#include <QList>
#include <QString>

#include <cstdint>

// One basket line or ordered line.
struct TOrderItem {
    int32_t DetailID = 0; // ordered lines only
    int32_t caipinid = 0;
    QString title;
    double Quantity = 0;
    double Price = 0;
    bool SpecSelected = false;
    QString sku;
    int32_t skuid = 0;
    int32_t Stat = 0;      // ordered lines only
    bool Selected = false; // ticked in the ordered-lines list
    int32_t CartID = 0;    // the zel_cart row of a basket line, once known

    void Clear();
    double TotalPrice() const { return Price * Quantity; }
    // "title x quantity ￥total"
    QString DisplayText() const;
    // DisplayText followed by " (status)"
    QString DisplayTextWithStatus() const;

    friend bool operator==(const TOrderItem&, const TOrderItem&) = default;
};

struct TSpecItem {
    int32_t skuid = 0;
    QString title;
    double Price = 0;

    // "title (￥price)"
    QString DisplayText() const;

    friend bool operator==(const TSpecItem&, const TSpecItem&) = default;
};

// A dish as the ordering screen lists it.
class TDishItem {
public:
    int32_t caipinid = 0;
    QString title;
    double Price = 0;
    QString cname;
    int32_t cid = 0; // category the list was loaded for, 0 for all
    int32_t skuid = 0;
    bool HasMultipleSpecs = false;
    QList<TSpecItem> Specs;
    QString ImagePath;

    // The specification's price, or the dish's own when it has no such specification.
    TCurrency GetSpecPrice(int32_t ASkuID) const;
    // The first specification, or a plain one at the dish's price.
    TSpecItem GetDefaultSpec() const;
};
