#pragma once

// The list view's model: the rows of the current page of a paged list, one
// column per list column. Icon cells hold no text; the delegate paints them.

#include <QAbstractTableModel>

class TPagedList;

class TPagedListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TPagedListModel(const TPagedList& list, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The page changed: the view takes the new row count and repaints.
    void Reset();

private:
    const TPagedList& FList;
    int FRowCount = 0;
};
