#pragma once

// Rows the floor reads: tables of an area and the areas themselves. Each call
// opens its own connection; a failed open or statement raises ESQLiteException.

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

struct TDeskRow {
    int32_t id = 0;
    QString title;
    QString bh;
    QString nums;
    QString stat;
    double price = 0;
};

struct TDeskClassRow {
    int32_t id = 0;
    QString title;
};

// Tables not deleted, of area CategoryID (0: every area), in "sort" order.
QList<TDeskRow> ReadDesks(const QString& FileName, int32_t CategoryID);

// The table with that id, deleted or not.
std::optional<TDeskRow> ReadDesk(const QString& FileName, int32_t DeskID);

// Every area in "sort" order.
QList<TDeskClassRow> ReadDeskClasses(const QString& FileName);
