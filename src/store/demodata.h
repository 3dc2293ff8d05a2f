#pragma once

// Demonstration rows: 20 dining tables and 20 dishes marked istest = 1, offered
// while zel_desk has no row at all and removed again on request. Every
// operation opens its own connection to FileName and closes it before it
// returns. AddTime is the addtime text written into every row (Unix seconds).

#include <QString>

#include <cstdint>
#include <functional>

// Answers the offer; true only for OK.
using TConfirmFn = std::function<bool(const QString& question)>;

// The offer on a database without tables; the result text says what happened.
QString AddTestData(const QString& FileName, const TConfirmFn& Confirm, const QString& AddTime);
QString AddTestDeskData(const QString& FileName, const QString& AddTime);
QString AddTestCaipinData(const QString& FileName, const QString& AddTime);

// Rows of zel_desk with istest = 1 (0 when the count fails). Raises
// ESQLiteException when the file cannot be opened.
int32_t CountTestDesks(const QString& FileName);

// Removes the demonstration tables and dishes. False when the file cannot be
// opened or either delete failed; Error then says why. Rows that refer to the
// removed ones are left alone.
bool DeleteTestData(const QString& FileName, QString& Error);
