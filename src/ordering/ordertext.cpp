#include "ordering/ordertext.h"

#include "common/myfun.h"
#include "store/floatformat.h"

QString ShortNumber(double value) {
    return FloatToStrGeneral(value);
}

double CountFromText(const QString& text) {
    return IsNumeric(text) ? SafeStrToFloat(text) : 0;
}
