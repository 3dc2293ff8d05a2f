#include "ordering/orderitems.h"

#include "store/floatformat.h"

#include <cstdio>

namespace {

// "%.2f" as C formats it: rounded, "." as decimal point.
QString money(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return QString::fromLatin1(buffer);
}

} // namespace

void TOrderItem::Clear() {
    *this = TOrderItem();
}

QString TOrderItem::DisplayText() const {
    return title + QStringLiteral(" x ") + FloatToStrGeneral(Quantity) + QStringLiteral(" ￥") +
           money(TotalPrice());
}

QString TOrderItem::DisplayTextWithStatus() const {
    return DisplayText() + QStringLiteral(" (") + getcaipinstat(Stat) + QLatin1Char(')');
}

QString TSpecItem::DisplayText() const {
    return title + QStringLiteral(" (￥") + money(Price) + QLatin1Char(')');
}

TCurrency TDishItem::GetSpecPrice(int32_t ASkuID) const {
    if (HasMultipleSpecs) {
        for (const TSpecItem& spec : Specs)
            if (spec.skuid == ASkuID)
                return TCurrency::FromDouble(spec.Price);
    }
    return TCurrency::FromDouble(Price);
}

TSpecItem TDishItem::GetDefaultSpec() const {
    if (HasMultipleSpecs && !Specs.isEmpty())
        return Specs.first();
    return TSpecItem{0, QString(), Price};
}
