#pragma once

#include <QString>

// A double in general format: up to 15 significant digits, no trailing zeros,
// no thousands separators, "." as decimal point (12.0 -> "12", 26.8 -> "26.8").
// Very large or small magnitudes use an exponent ("1E20", "1E-5").
QString FloatToStrGeneral(double value);
