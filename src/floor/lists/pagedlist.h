#pragma once

// The paging driver of a list window: a query builder over the list's table
// with its callbacks, the rows of the current page only, the keyword search,
// the page information and the deletion of one record. Windows show what it
// holds and call it; it never touches a widget.

#include "floor/lists/listconfig.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

class TSQLiteDatabase;
class TSQLiteORM;

struct TListRow {
    QString id;
    QStringList texts; // one per text column
};

// Where a click at x (list coordinates) lands: the edit cell, anything right
// of it, or neither (left of the edit column, or exactly on a boundary).
enum class TListHit { None, Edit, Delete };
TListHit HitListColumn(const QList<int>& widths, int editColumn, int x);

// The action cell a click at x lands in. The action cells follow the text
// columns; the last one reaches past the last column to the list's right
// edge. Text when the click is left of them or exactly on a boundary.
TListCell HitListCell(const QList<TListColumn>& columns, const QList<int>& widths, int x);

class TPagedList {
public:
    // db must outlive the list; dbPath is the file the category and area
    // lists check before loading a page.
    TPagedList(TSQLiteDatabase& db, TListConfig config, QString dbPath);
    ~TPagedList();
    TPagedList(const TPagedList&) = delete;
    TPagedList& operator=(const TPagedList&) = delete;

    const TListConfig& Config() const { return FConfig; }

    // A new builder: first page, the initial condition, page size 20.
    void InitializeORM();
    // Reloads the current page with the current condition. Raises
    // ESQLiteException when the count or the page cannot be read; the rows
    // are then empty.
    void LoadData();
    void FirstPage();
    void PrevPage();
    void NextPage();
    void LastPage();
    // Filters by the normalised keyword and goes back to the first page.
    void Search(const QString& text);

    bool CanPrevPage() const;
    bool CanNextPage() const;
    // "共%d条记录，%d/%d页", or "0/0" before the first load.
    QString PageInfo() const { return FPageInfo; }
    int32_t CurrentPage() const;
    int32_t TotalPages() const;
    int32_t TotalRecords() const;
    QString Condition() const;
    // The statement of the last page loaded.
    QString PageSQL() const { return FPageSQL; }

    const QList<TListRow>& Rows() const { return FRows; }

    // Why record id may not be deleted now (a table with an open bill);
    // empty when it may. Raises ESQLiteException when it cannot tell.
    QString DeleteRefusal(const QString& id);
    // The question before deleting record id: "确认要删除吗？", naming first
    // how many dishes or tables lose their category or area with it.
    QString DeleteQuestion(const QString& id);

    // Deletes record id as the list deletes (soft or removal), in the same
    // transaction leaving its dishes or tables without a category or area;
    // an id that is not an integer does nothing and gives false. Raises
    // EMasterDataError with the refusal when it may not be deleted, and
    // "删除失败: ..." when a write fails; then nothing is written.
    bool DeleteItem(const QString& id);

    // After every load: the page information and the rows changed.
    std::function<void()> OnUpdateUI;
    // The file the category and area lists need is missing (path given).
    std::function<void(const QString& path)> OnMissingFile;

private:
    void PageLoadData(const QString& SQL);
    int32_t GetTotalCount(const QString& Where);

    TSQLiteDatabase& FDatabase;
    TListConfig FConfig;
    QString FDbPath;
    std::unique_ptr<TSQLiteORM> FSQLiteORM;
    QList<TListRow> FRows;
    QString FPageInfo = QStringLiteral("0/0");
    QString FPageSQL;
};
