#pragma once

// The twin editors of dish categories and table areas without their windows.
// They differ in their table and in how strictly the sort number is read.

#include "floor/lists/masterdata.h"

#include <QString>

#include <cstdint>
#include <optional>

class TSQLiteDatabase;

enum class TClassKind { DishCategory, TableArea };

QString ClassTable(TClassKind kind);

struct TClassInput {
    QString title;
    QString sort;
};

struct TClassRecord {
    QString title;
    QString sort;
};

// The dish-category editor takes the sort number as typed, the area editor
// trims it first; an empty sort number is refused by both.
std::optional<TInputError> ValidateClass(TClassKind kind, const TClassInput& input);

// Raises EMasterDataError "加载失败: ...".
std::optional<TClassRecord> LoadClass(TSQLiteDatabase& db, TClassKind kind, int32_t id);

// Inserts (editid <= 0) or updates the row and returns its id. A new row gets
// an id no row of the table ever had and no dish or table points at. Raises
// EMasterDataError, also for a row that is gone.
int32_t SaveClass(TSQLiteDatabase& db, TClassKind kind, int32_t editid, const TClassInput& input);
