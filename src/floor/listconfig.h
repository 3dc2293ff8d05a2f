#pragma once

// What tells one paged list from another: its statements, its columns, how a
// row is read, how a keyword filters it and how a record is deleted. The four
// master-data lists are defined here; the order history brings its own.

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

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

TListConfig DishListConfig();
TListConfig DeskListConfig();
TListConfig DishClassListConfig();
TListConfig DeskClassListConfig();
