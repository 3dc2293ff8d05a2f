#pragma once

// Paints the rows of a paged list: light yellow behind the selected row,
// white otherwise, texts in one line cut with an ellipsis, the action icons
// and a grey rule under every row.

#include <QStyledItemDelegate>

class TPagedList;

class TPagedListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    TPagedListDelegate(const TPagedList& list, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const TPagedList& FList;
};
