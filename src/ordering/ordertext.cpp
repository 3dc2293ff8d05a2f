#include "ordering/ordertext.h"

#include "common/myfun.h"
#include "store/floatformat.h"

QString ShortNumber(double value) {
    return FloatToStrGeneral(value);
}

TDeskLines SumOrderLines(const QList<TOrderItem>& Items) {
    QList<TDeskLine> lines;
    lines.reserve(Items.size());
    for (const TOrderItem& item : Items)
        lines.append(MakeDeskLine(item.DetailID, item.title, item.Quantity, item.Price, item.Stat));
    return SumDeskLines(lines);
}

double CountFromText(const QString& text) {
    return IsNumeric(text) ? SafeStrToFloat(text) : 0;
}
