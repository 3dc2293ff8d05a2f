#pragma once

// The table editor's rules without its window: reading a table, checking the
// input and saving it. A new table's id is read back, so the next save of the
// same editor updates it.

#include "floor/lists/masterdata.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

class TSQLiteDatabase;

struct TDeskInput {
    QString title;
    QString bh;
    QString sort;
    int32_t cid = 0; // 0: no area chosen
};

struct TDeskRecord {
    QString title;
    QString bh;
    int32_t sort = 0;
    int32_t cid = 0;
};

std::optional<TInputError> ValidateDesk(const TDeskInput& input);

// Raises EMasterDataError "加载失败: ...".
std::optional<TDeskRecord> LoadDesk(TSQLiteDatabase& db, int32_t id);

// Inserts (editid <= 0) or updates the table and returns its id. Only title,
// code, sort, area and addtime are written. Raises EMasterDataError.
int32_t SaveDesk(TSQLiteDatabase& db, int32_t editid, const TDeskInput& input,
                 const QDateTime& now);
