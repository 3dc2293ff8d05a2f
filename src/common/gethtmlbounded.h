#pragma once

// GetHTML for answers of a known small size: no referer, no cookie, UTF-8, and
// at most maxBytes of the body are read. A longer body stops the transfer and
// gives an empty text with tooLong set.

#include <QString>

QString GetHTMLBounded(const QString& URL, qsizetype maxBytes, bool& tooLong);
