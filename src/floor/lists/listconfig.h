#pragma once

// What tells one paged list from another: its statements, its columns, how a
// row is read, how a keyword filters it and how a record is deleted. The four
// master-data lists are defined here; the order history brings its own.

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class TSQLiteDatabase;
class TSQLiteTable;

// A text column or one of the action cells that close a row.
enum class TListCell { Text, EditIcon, DeleteIcon, DetailIcon, PrintIcon };

struct TListColumn {
    QString caption;
    int width = 0;
    TListCell cell = TListCell::Text;
};

enum class TListDeletion { Soft, Remove };

struct TListConfig {
    QString table;
    QString baseSQL;
    // Count statement the condition is appended to with " where "; empty: the
    // builder counts the table itself.
    QString countSQL;
    QString initialCondition;
    QString order;
    // Condition of a keyword, which is never empty here.
    std::function<QString(const QString& keyword)> keywordCondition;
    QList<TListColumn> columns;
    // The texts of one result row, one per text column in column order.
    std::function<QStringList(const TSQLiteTable& row)> readRow;
    TListDeletion deletion = TListDeletion::Soft;
    // Why record id may not be deleted now, ready to be shown; empty: it may.
    // Raises ESQLiteException when it cannot tell.
    std::function<QString(TSQLiteDatabase& db, const QString& id)> deleteRefusal;
    // Rows of another table that belong to a record by their `cid` (dishes of
    // a category, tables of an area): the delete question counts those not
    // soft-deleted, and the deletion leaves them all without one (cid 0).
    QString membersTable; // empty: none
    QString memberNoun;   // "菜品", "桌位"
    // Category and area lists say so when the database file is gone.
    bool checkFileExists = false;
    // Rows 28 pixels high, or as high as the icons.
    int rowHeight = 28;
    int fontPointSize = 9;
    // Side of the action icons in pixels.
    int iconSize = 32;
};

// The keyword as searched: trimmed, then every single quote removed (blanks
// that stood between quotes stay). Empty means no keyword.
QString NormaliseKeyword(const QString& text);

// The refusal of deleting table id while it holds an open bill: occupied, open
// ordered lines, or a basket not empty. Empty when the table is free of all.
QString DeskDeleteRefusal(TSQLiteDatabase& db, const QString& id);

TListConfig DishListConfig();
TListConfig DeskListConfig();
TListConfig DishClassListConfig();
TListConfig DeskClassListConfig();
