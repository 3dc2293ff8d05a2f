#include "floor/view/mainmenustyle.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionMenuItem>
#include <QWidget>

TMainMenuStyle::TMainMenuStyle(const QString& caption, QObject* parent)
    : QProxyStyle(), FCaption(caption) {
    setParent(parent);
}

bool TMainMenuStyle::isOwnEntry(const QStyleOption* option) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    return item && item->text == FCaption;
}

QFont TMainMenuStyle::entryFont(const QWidget* widget) const {
    QFont font = widget ? widget->font() : QFont();
    font.setPointSize(kPointSize);
    return font;
}

void TMainMenuStyle::drawControl(ControlElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    if (element != CE_MenuBarItem || !isOwnEntry(option)) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    // The bar's own background for the entry, the same whether selected or not.
    QStyleOptionMenuItem plain = *qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    plain.text.clear();
    plain.state &= ~(State_Selected | State_Sunken | State_HasFocus);
    QProxyStyle::drawControl(element, &plain, painter, widget);
    painter->save();
    painter->setFont(entryFont(widget));
    painter->setPen(TextColor());
    painter->drawText(option->rect.adjusted(kTextIndent, 0, 0, 0),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, FCaption);
    painter->restore();
}

QSize TMainMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                       const QSize& size, const QWidget* widget) const {
    QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
    if (type == CT_MenuBarItem && isOwnEntry(option)) {
        const QFontMetrics fm(entryFont(widget));
        result.setWidth(std::max(result.width(), 2 * kTextIndent + fm.horizontalAdvance(FCaption)));
        result.setHeight(std::max(result.height(), fm.height()));
    }
    return result;
}
