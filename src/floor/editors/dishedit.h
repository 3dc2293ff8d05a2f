#pragma once

// The dish editor's rules without its window: reading a dish with its
// specifications, checking the input, saving the dish and its specification
// rows, deleting one specification and recomputing the dish's issku flag.

#include "floor/lists/masterdata.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

class TSQLiteDatabase;

struct TSkuInput {
    int32_t SkuId = 0; // 0 until stored
    QString title;
    QString price;
    bool IsNew = true;
    bool IsDeleted = false;
};

struct TDishInput {
    QString title;
    QString price;
    QString sort;
    int32_t cid = 0; // 0: no category chosen
    QList<TSkuInput> skus;
};

struct TSkuRecord {
    int32_t id = 0;
    QString title;
    double price = 0;
};

struct TDishRecord {
    QString title;
    double price = 0;
    int32_t sort = 0;
    int32_t cid = 0;
};

// The first failing field, in the order the editor checks them.
std::optional<TInputError> ValidateDish(const TDishInput& input);

// The dish with that id, or nothing. Raises EMasterDataError "加载失败: ...".
std::optional<TDishRecord> LoadDish(TSQLiteDatabase& db, int32_t id);

// The specifications of the dish not deleted, by id. Raises EMasterDataError
// "加载做法数据失败: ...".
QList<TSkuRecord> LoadDishSkus(TSQLiteDatabase& db, int32_t id);

struct TDishSaved {
    int32_t id = 0;
    bool added = false;
    // Stored id of every input row, in input order; 0 for rows marked deleted.
    QList<int32_t> skuIds;
};

// Inserts (editid <= 0) or updates the dish, stores every specification row
// not marked deleted and recomputes issku, all in one transaction. Nothing of
// the input changes: the caller takes the ids from the result once it
// succeeded. Raises EMasterDataError on any failure, after the rollback.
TDishSaved SaveDish(TSQLiteDatabase& db, int32_t editid, const TDishInput& input,
                    const QDateTime& now);

// Marks one stored specification deleted. Raises EMasterDataError with the
// bare error text.
void DeleteSku(TSQLiteDatabase& db, int32_t skuId);

// issku of the dish = whether it has a specification not deleted. Raises
// EMasterDataError with the bare error text.
void UpdateCaipinIsskuField(TSQLiteDatabase& db, int32_t CaipinId);
