#pragma once

// Number texts of the ordering screen.

#include <QString>

// The "0.00" pattern: two decimals, rounded half away from zero on the
// value's shortest decimal text (6.175 gives "6.18", 5 gives "5.00").
QString Format00(double value);

// Shortest decimal text: 2, 1.5, 15.5.
QString ShortNumber(double value);

// A count shown in a label: its number, 0 when the text is not one.
double CountFromText(const QString& text);
