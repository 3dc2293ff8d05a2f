// The ordering screen's right-hand side: basket and ordered-lines lists, their
// statistics, the confirmation, the batch commands and the table's row and tile.

#include "ordering/form_diancan.h"

#include "billing/table/deskops.h"
#include "common/messages.h"
#include "common/ui/qtmessenger.h"
#include "ordering/TOrderManager.h"
#include "ordering/ordertext.h"
#include "ordering/panels.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>

namespace {

const char* const kTag = "tag";
const char* const kDish = "caipinid";
const char* const kSpec = "skuid";
const char* const kCart = "cartid";
const QColor kSilver(0xC0, 0xC0, 0xC0);

QString errorText(const std::exception& e) {
    return QString::fromUtf8(e.what());
}

// Replaces the list of box with an empty container as wide as the box. The
// old one is deleted later: the click that asked for the rebuild may have
// come from one of its own buttons.
TAnchorPanel* newListContainer(QScrollArea* box) {
    if (QWidget* old = box->takeWidget()) {
        // Kept under the box until then, so it never outlives the window.
        old->setParent(box);
        old->hide();
        old->deleteLater();
    }
    auto* container = new TAnchorPanel;
    container->setObjectName(QStringLiteral("ContainerPanel"));
    SetBackground(container, box->palette().color(QPalette::Window));
    container->resize(box->viewport()->width(), 0);
    return container;
}

// A line's text whose dish name is cut with "…" when the row is too narrow,
// never its quantity, amount or status after the name.
TElidedLabel* lineLabel(const QString& name, const QString& title, const QString& text,
                        QWidget* row) {
    auto* label = new TElidedLabel(text, row);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (text.startsWith(title))
        label->SetTailLength(text.size() - title.size());
    return label;
}

// A white row of the given height across the container, with its 1-pixel
// silver line along the bottom edge.
TAnchorPanel* newListRow(TAnchorPanel* container, const QString& name, int top, int height) {
    auto* row = new TAnchorPanel(container);
    row->setObjectName(name);
    row->setGeometry(0, top, container->width(), height);
    SetBackground(row, Qt::white);
    container->AnchorRight(row, true);
    auto* line = new QWidget(row);
    line->setObjectName(QStringLiteral("BottomLine"));
    line->setGeometry(0, height - 1, row->width(), 1);
    SetBackground(line, kSilver);
    row->AnchorRight(line, true);
    return row;
}

void finishList(QScrollArea* box, QWidget* container, int height) {
    container->setMinimumHeight(height);
    container->resize(container->width(), height);
    box->setWidget(container);
}

} // namespace

void TForm_diancan::RefreshCartDisplay() {
    if (!FOrderManager)
        return;
    TAnchorPanel* container = newListContainer(FCartScrollBox);
    int CurrentTop = 0;
    for (const TOrderItem& item : FOrderManager->OrderList()) {
        if (item.Quantity <= 0)
            continue;
        TAnchorPanel* row = newListRow(container, QStringLiteral("OrderItemPanel"), CurrentTop, 42);
        row->setProperty(kDish, item.caipinid);
        row->setProperty(kSpec, item.skuid);

        // Ends 5 pixels before "删除", so a long name never runs under it.
        TElidedLabel* text =
            lineLabel(QStringLiteral("lblOrderText"), item.title, item.DisplayText(), row);
        text->setGeometry(0, 0, row->width() - 50 - 5 - 5, 42);
        row->AnchorRight(text, true);

        auto* remove = new QPushButton(QStringLiteral("删除"), row);
        remove->setObjectName(QStringLiteral("btnRemove"));
        remove->setGeometry(row->width() - 50 - 5, (42 - 18) / 2, 50, 18);
        remove->setProperty(kDish, item.caipinid);
        remove->setProperty(kSpec, item.skuid);
        remove->setProperty(kCart, item.CartID);
        row->AnchorRight(remove, false);
        connect(remove, &QPushButton::clicked, this, [this, remove] { HandleRemoveOrder(remove); });
        CurrentTop += 42;
    }
    finishList(FCartScrollBox, container, CurrentTop);
    UpdateCartStatsDisplay();
}

void TForm_diancan::RefreshConfirmedDisplay() {
    if (!FOrderManager)
        return;
    TAnchorPanel* container = newListContainer(FConfirmedScrollBox);
    int CurrentTop = 0;
    const QList<TOrderItem>& lines = FOrderManager->ConfirmedOrderList();
    for (qsizetype I = 0; I < lines.size(); ++I) {
        const TOrderItem& item = lines.at(I);
        if (item.Quantity <= 0)
            continue;
        TAnchorPanel* row =
            newListRow(container, QStringLiteral("ConfirmedItemPanel"), CurrentTop, 40);
        row->setProperty(kTag, int32_t(I));

        const QString text = item.DisplayTextWithStatus();
        auto* select = new QCheckBox(row);
        select->setObjectName(QStringLiteral("chkSelect"));
        select->setGeometry(5, 12, 15, 15);
        select->setChecked(item.Selected);
        select->setProperty(kTag, int32_t(I));
        select->setAccessibleName(text);
        // Attached after the tick is set, so building the list changes nothing.
        connect(select, &QCheckBox::clicked, this, [this, select] { HandleCheckBoxClick(select); });

        TElidedLabel* label = lineLabel(QStringLiteral("lblConfirmedText"), item.title, text, row);
        label->setGeometry(23, 0, row->width() - 23 - 5, 40);
        row->AnchorRight(label, true);
        CurrentTop += 40;
    }
    finishList(FConfirmedScrollBox, container, CurrentTop);
    UpdateConfirmedStatsDisplay();
}

void TForm_diancan::UpdateTotalDisplay() {
    if (!FOrderManager)
        return;
    FTotalLabel->setText(QStringLiteral("总计: ￥") +
                         QString::asprintf("%.2f", FOrderManager->CalculateCartTotal()));
}

void TForm_diancan::UpdateCartStatsDisplay() {
    if (!FOrderManager)
        return;
    auto* label = FTabCart->findChild<QLabel*>(QStringLiteral("lblCartStats"));
    if (!label) {
        CreateCartStatsLabel();
        label = FTabCart->findChild<QLabel*>(QStringLiteral("lblCartStats"));
    }
    label->setText(QStringLiteral("菜品数量: ") +
                   DishCountText(SumOrderLines(FOrderManager->OrderList())));
}

void TForm_diancan::UpdateConfirmedStatsDisplay() {
    if (!FOrderManager)
        return;
    auto* label = FBatchPanel->findChild<QLabel*>(QStringLiteral("lblConfirmedStats"));
    if (!label)
        return;
    // Counted and written as the table window does it for the same lines.
    const TDeskLines lines = SumOrderLines(FOrderManager->ConfirmedOrderList());
    label->setText(QStringLiteral("菜品数量: ") + DishCountText(lines) +
                   QStringLiteral(" | 合计: ￥") + AmountText(lines));
}

void TForm_diancan::HandleRemoveOrder(QPushButton* Sender) {
    if (!FOrderManager)
        return;
    const int32_t caipinid = Sender->property(kDish).toInt();
    FOrderManager->RemoveOrderItem(caipinid, Sender->property(kSpec).toInt(),
                                   Sender->property(kCart).toInt());
    showDishQuantity(caipinid);
    RefreshCartDisplay();
    UpdateTotalDisplay();
    UpdateCartStatsDisplay();
}

void TForm_diancan::HandleConfirmOrder() {
    if (!FOrderManager)
        return;
    if (!ask(QStringLiteral("确认下单吗"))) {
        ShowNotification(QStringLiteral("您取消了操作"));
        return;
    }
    try {
        FOrderManager->MoveCartToConfirmed();
    } catch (const std::exception& e) {
        ShowNotification(QStringLiteral("点单失败: ") + errorText(e));
        return;
    }
    // The lines are committed: what fails from here on must not read as a
    // failed order, or the operator would order the same dishes again.
    QString failure;
    try {
        updatedesk();
    } catch (const std::exception& e) {
        failure = QStringLiteral("更新桌位失败: ") + errorText(e);
    }
    try {
        FOrderManager->LoadConfirmedItems();
        RefreshCartDisplay();
        RefreshConfirmedDisplay();
        UpdateTotalDisplay();
        RefreshAllDishQuantities();
    } catch (const std::exception& e) {
        if (failure.isEmpty())
            failure = errorText(e);
    }
    ShowNotification(failure.isEmpty() ? QStringLiteral("点单成功！")
                                       : QStringLiteral("点单成功，但") + failure);
    if (FAfterConfirmation)
        FAfterConfirmation();
}

void TForm_diancan::HandleCheckBoxClick(QCheckBox* Sender) {
    if (!FOrderManager)
        return;
    const int32_t I = Sender->property(kTag).toInt();
    QList<TOrderItem>& lines = FOrderManager->ConfirmedOrderList();
    if (I >= 0 && I < lines.size())
        lines[I].Selected = Sender->isChecked();
}

void TForm_diancan::HandleSelectAllClick() {
    if (!FOrderManager)
        return;
    const bool ticked = FSelectAllCheckBox->isChecked();
    for (TOrderItem& item : FOrderManager->ConfirmedOrderList())
        item.Selected = ticked;
    RefreshConfirmedDisplay();
}

bool TForm_diancan::anyLineTicked() const {
    for (const TOrderItem& item : FOrderManager->ConfirmedOrderList())
        if (item.Selected)
            return true;
    return false;
}

void TForm_diancan::clearSelectAll() {
    FSelectAllCheckBox->setChecked(false);
    HandleSelectAllClick();
}

void TForm_diancan::batchCommand(int32_t NewStat, const QString& question, const QString& success,
                                 const QString& failure, bool notifyFirst) {
    if (!FOrderManager)
        return;
    if (!anyLineTicked()) {
        TMessageOwner owner(this);
        Messages().Info(MessageCaption(), QStringLiteral("请先选择要操作的菜品！"));
        return;
    }
    if (!question.isEmpty() && !ask(question)) {
        ShowNotification(QStringLiteral("您取消了操作"));
        return;
    }
    try {
        FOrderManager->BatchUpdateOrderStatus(NewStat);
        RefreshConfirmedDisplay();
        if (notifyFirst) {
            ShowNotification(success);
            updatedesk();
        } else {
            updatedesk();
            ShowNotification(success);
        }
        clearSelectAll();
    } catch (const std::exception& e) {
        ShowNotification(failure + errorText(e));
    }
}

void TForm_diancan::HandleBatchServedOrder() {
    batchCommand(3, QString(), QStringLiteral("批量出菜完成！"), QStringLiteral("批量出菜失败: "),
                 true);
}

void TForm_diancan::HandleBatchReturnOrder() {
    batchCommand(7, QString(), QStringLiteral("批量退菜完成！"), QStringLiteral("批量退菜失败: "),
                 true);
}

void TForm_diancan::HandleBatchDeleteOrder() {
    batchCommand(8, QStringLiteral("确定删除选中的菜品吗"), QStringLiteral("批量删除完成！"),
                 QStringLiteral("批量删除失败: "), false);
}

void TForm_diancan::updatedesk() {
    if (FDeskID.isEmpty() || !FDatabase)
        return;
    const int32_t id = FDeskID.toInt();
    const TDeskTotals totals = RecountDesk(*FDatabase, id);
    DeskStatus = totals.Stat;
    if (FTileRepaint)
        FTileRepaint(id, Desktitle, Deskbh, Desknums, totals.Stat, totals.Price);
}
