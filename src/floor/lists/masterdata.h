#pragma once

// What the master-data editors share: the failure they raise, the first input
// error they report, and the small reads and conversions of every editor.

#include <QList>
#include <QString>

#include <cstdint>
#include <stdexcept>

class TSQLiteDatabase;
class TSQLiteORM;

// A failed read or write of master data; the text is ready to be shown.
class EMasterDataError : public std::runtime_error {
public:
    explicit EMasterDataError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString Message() const { return QString::fromStdString(what()); }
};

// The field an input error belongs to; specification fields also carry their row.
enum class TInputField { Title, Price, Sort, SkuName, SkuPrice };

struct TInputError {
    QString message;
    TInputField field = TInputField::Title;
    int row = -1;
};

// Told when an editor saves a record that was removed after it was opened.
QString RecordGoneMessage();

// Raises EMasterDataError after a failed write of orm: the record-gone message
// when its Save matched no row, otherwise prefix followed by the error.
void RaiseIfWriteFailed(const TSQLiteORM& orm, const QString& prefix);

struct TIdTitle {
    int32_t id = 0;
    QString title;
};

// Every row of a category or area table, by id. Raises EMasterDataError with
// the bare error text.
QList<TIdTitle> ReadIdTitles(TSQLiteDatabase& db, const QString& table);

// Highest sort number of the table, soft-deleted rows included; 0 for an
// empty table, a value that is not an integer, or any failure.
int32_t GetMaxSortValue(TSQLiteDatabase& db, const QString& table);

// The sort number as stored: trimmed when it is an integer, otherwise "0".
QString SortToStore(const QString& text);

// Whether a price has no fraction of a cent.
bool HasAtMostTwoDecimals(double value);
