#include "floor/editors/skucontrolgroup.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QLabel* caption(QWidget* owner, const QString& text, int left, int width) {
    auto* label = new QLabel(text, owner);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(left, 0, width, 21);
    label->show();
    return label;
}

} // namespace

// The price caption needs room of its own, so the price box and the button
// sit 40 pixels further right than name box + 10.
TSkuControlGroup::TSkuControlGroup(QWidget* AOwner, int32_t ASkuId, const QString& SkuName,
                                   const QString& SkuPrice, bool AIsNew)
    : SkuId(ASkuId), IsNew(AIsNew) {
    FNameLabel = caption(AOwner, QStringLiteral("做法名称："), 0, 76);
    NameEdit = new QLineEdit(SkuName, AOwner);
    NameEdit->setObjectName(QStringLiteral("SkuName"));
    NameEdit->setGeometry(80, 0, 200, 21);
    NameEdit->show();
    FPriceLabel = caption(AOwner, QStringLiteral("价格："), 290, 46);
    PriceEdit = new QLineEdit(SkuPrice, AOwner);
    PriceEdit->setObjectName(QStringLiteral("SkuPrice"));
    PriceEdit->setGeometry(340, 0, 100, 21);
    PriceEdit->show();
    DeleteButton = new QPushButton(QStringLiteral("删除"), AOwner);
    DeleteButton->setObjectName(QStringLiteral("SkuDelete"));
    DeleteButton->setGeometry(450, -2, 60, 25);
    DeleteButton->show();
    FNameLabel->setBuddy(NameEdit);
    FPriceLabel->setBuddy(PriceEdit);
}

// The row is removed from its own button's click: the controls leave the
// editor now and are freed once that click is over.
TSkuControlGroup::~TSkuControlGroup() {
    for (QWidget* w : {static_cast<QWidget*>(FNameLabel), static_cast<QWidget*>(NameEdit),
                       static_cast<QWidget*>(FPriceLabel), static_cast<QWidget*>(PriceEdit),
                       static_cast<QWidget*>(DeleteButton)}) {
        w->hide();
        w->setParent(nullptr);
        w->deleteLater();
    }
}

void TSkuControlGroup::SetTop(int top) {
    for (QWidget* w : {static_cast<QWidget*>(FNameLabel), static_cast<QWidget*>(NameEdit),
                       static_cast<QWidget*>(FPriceLabel), static_cast<QWidget*>(PriceEdit)})
        w->move(w->x(), top);
    DeleteButton->move(DeleteButton->x(), top - 2);
}

int TSkuControlGroup::Top() const {
    return NameEdit->y();
}
