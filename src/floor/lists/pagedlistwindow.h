#pragma once

// One design for every paged list window: add, related-list and refresh
// buttons on top, the virtual list of the current page, and the bottom bar
// with the page buttons, the keyword search and the page information. A click
// in the edit cell asks for the record's editor, one in the delete cell (or
// right of the last cell) deletes the record after a question; detail and
// print cells and a double click are handed to the window that has them. The
// lists differ only in their TListConfig and commands.

#include "floor/lists/listconfig.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QPoint;
class QPushButton;
class QTableView;
class QTimer;
class TPagedList;
class TPagedListModel;
class TSQLiteDatabase;

// The commands of a list window besides paging and search.
struct TListCommands {
    QString add;     // the add button's caption; empty: no add button
    QString related; // the related-list button's caption; empty: none
    QString refresh = QStringLiteral("刷新列表");
    // No top row: the refresh button follows "搜索" in the bottom bar.
    bool refreshInBottomBar = false;
    // A double click opens the row's details: a cell command waits out the
    // double-click interval and is dropped when the click becomes one.
    bool doubleClickOpens = false;
};

class TPagedListWindow : public QWidget {
    Q_OBJECT
public:
    ~TPagedListWindow() override;

    // Nullptr when the database could not be opened.
    TPagedList* List() const { return FList.get(); }

    QPushButton* btnAdd = nullptr;
    QPushButton* btnRefresh1 = nullptr; // related list; only on the dish and table lists
    QPushButton* btnRefresh = nullptr;
    QTableView* ListView1 = nullptr;
    QWidget* GroupBox2 = nullptr;
    QPushButton* btnFirstPage = nullptr;
    QPushButton* btnPrevPage = nullptr;
    QPushButton* btnNextPage = nullptr;
    QPushButton* btnLastPage = nullptr;
    QLineEdit* edtKeyword = nullptr;
    QPushButton* btnSearch = nullptr;
    QLabel* lblPageInfo = nullptr;

    // "刷新列表": the current page again, same condition.
    void btnRefreshClick();
    // A click at pos (viewport coordinates): the command of the cell under
    // it, on the row under it; nothing below the last row.
    void HandleListViewClick(const QPoint& pos);

    QSize sizeHint() const override;

signals:
    void AddRequested();
    void EditRequested(int32_t id);
    // Row of the current page whose detail or print cell was clicked, or
    // which was double-clicked.
    void DetailRequested(int row);
    void PrintRequested(int row);
    void RowDoubleClicked(int row);
    void RelatedRequested();
    // A record was deleted.
    void Changed();

protected:
    // addCaption and relatedCaption empty: no such button.
    TPagedListWindow(TListConfig config, const QString& objectName, const QString& caption,
                     const QString& addCaption, const QString& relatedCaption);
    TPagedListWindow(TListConfig config, const QString& objectName, const QString& caption,
                     const TListCommands& commands);

    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildTopRow(const TListCommands& commands);
    QWidget* buildBottomBar(const TListCommands& commands);
    void buildList();
    void FitColumns();
    void LoadData();
    void run(void (TPagedList::*step)());
    void UpdatePaginationUI();
    void UpdateButtonStates();
    void RunCellCommand(TListCell cell, int row, const QString& id);
    // A refusal is told; otherwise the question, then the deletion.
    void AskAndDelete(const QString& id);
    void DeleteItem(const QString& id);
    void btnSearchClick();

    std::unique_ptr<TSQLiteDatabase> FDatabase;
    std::unique_ptr<TPagedList> FList;
    TPagedListModel* FModel = nullptr;
    bool FHasActions = false;
    bool FDoubleClickOpens = false;
    // The release that ends a double click is no click of its own.
    bool FInDoubleClick = false;
    // The cell command of a click that may still become a double click.
    QTimer* FPendingClick = nullptr;
    std::function<void()> FPendingCommand;
};
