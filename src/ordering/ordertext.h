#pragma once

// Number texts of the ordering screen.

#include <QString>

// Shortest decimal text: 2, 1.5, 15.5.
QString ShortNumber(double value);

// A count shown in a label: its number, 0 when the text is not one.
double CountFromText(const QString& text);
