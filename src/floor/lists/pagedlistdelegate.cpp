#include "floor/lists/pagedlistdelegate.h"

#include "floor/lists/listicons.h"
#include "floor/lists/pagedlist.h"

#include <QPainter>

TPagedListDelegate::TPagedListDelegate(const TPagedList& list, QObject* parent)
    : QStyledItemDelegate(parent), FList(list) {}

void TPagedListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= FList.Rows().size())
        return;
    const TListConfig& config = FList.Config();
    const QRect cell = option.rect;
    painter->save();
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(cell, selected ? QColor(0xFF, 0xF1, 0xC5) : QColor(Qt::white));

    const TListColumn column = config.columns.value(index.column());
    if (column.cell == TListCell::Text) {
        QFont font = option.font;
        font.setPointSize(config.fontPointSize);
        painter->setFont(font);
        painter->setPen(Qt::black);
        const QRect text = cell.adjusted(4, 0, -4, 0);
        const QString shown = QFontMetrics(font).elidedText(
            FList.Rows()[index.row()].texts.value(index.column()), Qt::ElideRight, text.width());
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    } else {
        const QRect inner = cell.adjusted(5, 0, -5, 0);
        const QPixmap icon = ListIcon(column.cell, config.iconSize);
        painter->setClipRect(inner);
        painter->drawPixmap(inner.left() + 7, inner.top() + (inner.height() - config.iconSize) / 2,
                            icon);
        painter->setClipping(false);
    }
    painter->setPen(QColor(0xE0, 0xE0, 0xE0));
    painter->drawLine(cell.left(), cell.bottom(), cell.right(), cell.bottom());
    painter->restore();
}

QSize TPagedListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(FList.Config().rowHeight);
    return size;
}
