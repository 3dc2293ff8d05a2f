#include "common/ui/listviewwidth.h"

#include <QHeaderView>
#include <QTableView>
#include <QTreeView>

#include <algorithm>

namespace {

// A column cannot be narrower than nothing; a list too narrow for its other
// columns leaves the fitted one at 0.
void fit(QAbstractItemView* view, QHeaderView* header, int32_t column, int allowance,
         void (*setWidth)(QAbstractItemView*, int, int)) {
    if (!view || !header || column < 0 || column >= header->count())
        return;
    int others = 0;
    for (int i = 0; i < header->count(); ++i)
        if (i != column)
            others += header->sectionSize(i);
    setWidth(view, column, std::max(0, view->width() - others - allowance));
}

void setTreeWidth(QAbstractItemView* view, int column, int width) {
    static_cast<QTreeView*>(view)->setColumnWidth(column, width);
}

void setTableWidth(QAbstractItemView* view, int column, int width) {
    static_cast<QTableView*>(view)->setColumnWidth(column, width);
}

} // namespace

void listviewwidth(int32_t k, QTreeView* view) {
    fit(view, view ? view->header() : nullptr, k, 5, &setTreeWidth);
}

void listviewwidth(int32_t k, QTableView* view) {
    fit(view, view ? view->horizontalHeader() : nullptr, k, 5, &setTableWidth);
}

void AdjustListViewColumnWidth(QTreeView* ListView, int32_t AutoSizeColumnIndex) {
    fit(ListView, ListView ? ListView->header() : nullptr, AutoSizeColumnIndex, 4, &setTreeWidth);
}

void AdjustListViewColumnWidth(QTableView* ListView, int32_t AutoSizeColumnIndex) {
    fit(ListView, ListView ? ListView->horizontalHeader() : nullptr, AutoSizeColumnIndex, 4,
        &setTableWidth);
}
