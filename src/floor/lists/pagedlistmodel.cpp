#include "floor/lists/pagedlistmodel.h"

#include "floor/lists/pagedlist.h"

TPagedListModel::TPagedListModel(const TPagedList& list, QObject* parent)
    : QAbstractTableModel(parent), FList(list) {}

int TPagedListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FRowCount;
}

int TPagedListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(FList.Config().columns.size());
}

QVariant TPagedListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= FList.Rows().size())
        return {};
    const TListColumn& column = FList.Config().columns.value(index.column());
    if (column.cell != TListCell::Text)
        return {};
    return FList.Rows()[index.row()].texts.value(index.column());
}

QVariant TPagedListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    const TListColumn column = FList.Config().columns.value(section);
    if (role == Qt::DisplayRole)
        return column.caption;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(column.cell == TListCell::EditIcon
                                       ? Qt::Alignment(Qt::AlignCenter)
                                       : Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

void TPagedListModel::Reset() {
    beginResetModel();
    FRowCount = int(FList.Rows().size());
    endResetModel();
}
