// Commands of the table window: kitchen states of ticked lines, opening,
// clearing and saving the table, tickets, ordering and the settlement.

#include "billing/deskops.h"
#include "billing/deskview.h"
#include "billing/form_desk_open.h"
#include "billing/myprint.h"
#include "billing/ticketlayouts.h"
#include "common/appvalues.h"
#include "common/messages.h"

#include <QLineEdit>
#include <QTreeWidget>

void TForm_desk_open::btnSelectAllClick() {
    const int rows = ListView1->topLevelItemCount();
    if (rows == 0)
        return;
    ListView1->setFocus();
    const Qt::CheckState state = GetSelectedItemCount() == rows ? Qt::Unchecked : Qt::Checked;
    for (int i = 0; i < rows; ++i)
        ListView1->topLevelItem(i)->setCheckState(0, state);
    ListView1->setFocus();
}

bool TForm_desk_open::ConfirmBatchOperation(const QString& Msg, int32_t CancelledCount) {
    const QString prompt =
        CancelledCount < 1 ? QStringLiteral("确定%1吗").arg(Msg)
                           : QStringLiteral("选中的项目中包含 %1 个已退菜项目，确定要继续%2吗？")
                                 .arg(CancelledCount)
                                 .arg(Msg);
    return Messages().OkCancel(MessageCaption(), prompt);
}

int32_t TForm_desk_open::BatchUpdateOrderStatus(int32_t NewStatus) {
    ListView1->setFocus();
    int32_t changed = 0;
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = ListView1->topLevelItem(i);
        if (item->checkState(0) != Qt::Checked)
            continue;
        try {
            // A line another window settled meanwhile is left as it is and not counted.
            if (UpdateOrderItemStatus(database(), item->data(0, Qt::UserRole).toInt(), NewStatus))
                ++changed;
        } catch (const std::exception& e) {
            // A box, so the count shown next does not hide it. Lines already
            // changed stay changed: each is its own statement.
            showError(QStringLiteral("更新失败: ") + QString::fromUtf8(e.what()));
            break;
        }
    }
    return changed;
}

void TForm_desk_open::batchCommand(const QString& word, int32_t newStatus, const QString& prefix) {
    if (ListView1->topLevelItemCount() == 0) {
        notify(QStringLiteral("没有订单明细可操作"));
        return;
    }
    int32_t returned = 0;
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = ListView1->topLevelItem(i);
        if (item->checkState(0) == Qt::Checked && item->data(0, Qt::UserRole + 1).toInt() == 7)
            ++returned;
    }
    if (!ConfirmBatchOperation(word, returned)) {
        notify(QStringLiteral("您取消了操作"));
        return;
    }
    const int32_t changed = BatchUpdateOrderStatus(newStatus);
    notify(prefix + QString::number(changed) + QStringLiteral(" 个菜品"));
    updatedesk();
    LoadOrderDetails();
}

void TForm_desk_open::updatedesk() {
    try {
        const TDeskTotals totals = RecountDesk(database(), DeskID);
        DeskStatus = totals.Stat;
        DeskPrice = totals.Price;
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
        return;
    }
    repaintTile();
}

void TForm_desk_open::repaintTile() {
    emit DeskInfoChanged(DeskID, Desktitle, Deskbh, Desknums, DeskStatus, DeskPrice);
}

bool TForm_desk_open::setStat(const QString& stat, const QString& tit) {
    try {
        SetDeskStat(database(), DeskID, stat);
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
        return false;
    }
    DeskStatus = stat;
    repaintTile();
    notify(tit + QStringLiteral("成功"));
    return true;
}

void TForm_desk_open::CnButton1Click() {
    if (!ask(QStringLiteral("确定开台吗")))
        return;
    setStat(QStringLiteral("1"), QStringLiteral("开台"));
    LoadOrderDetails();
    ListView1->setFocus();
}

// The table as a clear or a settlement leaves it.
void TForm_desk_open::rememberFree() {
    DeskStatus = QStringLiteral("0");
    Desknums = QStringLiteral("0");
    DeskPrice = 0;
}

void TForm_desk_open::btnAddClick() {
    if (!ask(QStringLiteral("确定清台吗，清台后已下订单将删除")))
        return;
    try {
        ClearDesk(database(), DeskID);
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
        return;
    }
    rememberFree();
    repaintTile();
    notify(QStringLiteral("清台成功"));
    // Clearing reset the guest details too; show what is stored now.
    LoadDataToForm();
    ListView1->setFocus();
}

void TForm_desk_open::CnButton2Click() {
    if (!refuseNegative(
            {{lab_nums, QStringLiteral("用餐人数")}, {lab_yj, QStringLiteral("预订押金")}}))
        return;
    if (!ask(QStringLiteral("确定保存吗")))
        return;
    const TDeskDetails details =
        NormaliseDeskDetails({lab_nums->text(), lab_fwy->text(), lab_ydtruename->text(),
                              lab_ydtel->text(), lab_yj->text()});
    try {
        SaveDeskDetails(database(), DeskID, details);
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
        return;
    }
    Desknums = details.Nums;
    lab_nums->setText(details.Nums);
    lab_fwy->setText(details.Fwy);
    lab_ydtruename->setText(details.Ydtruename);
    lab_ydtel->setText(details.Ydtel);
    lab_yj->setText(details.Yj);
    repaintTile();
    notify(QStringLiteral("保存成功"));
}

bool TForm_desk_open::refuseNegative(const QList<QPair<QLineEdit*, QString>>& fields) {
    for (const auto& [edit, caption] : fields) {
        const QString refusal = NegativeNumberRefusal(caption, edit->text());
        if (refusal.isEmpty())
            continue;
        notify(refusal);
        edit->setFocus();
        edit->selectAll();
        return false;
    }
    return true;
}

void TForm_desk_open::printTicket(bool kitchen) {
    QString result;
    try {
        const QString layout =
            kitchen ? BuildKitchenTicket(DeskID, Deskbh) : BuildTableReceipt(DeskID, Deskbh);
        addprint(layout, kitchen ? QStringLiteral("1") : QStringLiteral("0"), result);
    } catch (const EConvertError& e) {
        result = e.Message();
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
        return;
    }
    if (result != printresult::Done())
        notify(result);
}

void TForm_desk_open::btnOrderClick() {
    if (FOrderScreen)
        FOrderScreen(DeskID);
    // The ordering screen stored the table's state and amount itself; later
    // repaints from this window must start from those, not from the values
    // loaded before it opened.
    reloadDeskState();
    LoadOrderDetails();
    ListView1->setFocus();
}

void TForm_desk_open::reloadDeskState() {
    if (DeskID <= 0)
        return;
    try {
        if (const std::optional<TDeskDetailsRow> row = ReadDeskRow(database(), DeskID)) {
            Desknums = row->nums;
            DeskStatus = row->stat;
            DeskPrice = row->price;
        }
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
    }
}

void TForm_desk_open::btnSettleClick() {
    const TSettleInput input = SettleInput();
    const TSettlePlan plan = PlanSettlement(input);
    if (!plan.Refusal.isEmpty()) {
        notify(plan.Refusal);
        return;
    }
    if (!refuseNegative({{lab_nums, QStringLiteral("用餐人数")},
                         {lab_yj, QStringLiteral("预订押金")},
                         {lab_shishou, QStringLiteral("实收金额")}}))
        return;
    if (!Messages().OkCancel(QStringLiteral("确认结算"), QStringLiteral("确定要结算订单吗？"))) {
        notify(QStringLiteral("您取消了结算操作"));
        return;
    }
    TSettleResult result;
    try {
        result = Settle(sqlitename, input, plan);
    } catch (const ESettleError& e) {
        // The insert failure is a box of its own; any other error is shown the same way.
        showError(e.Message());
        if (e.DeskChanged()) {
            // Show the table as it is now, on the tile too, so nothing stale
            // can be booked.
            LoadDataToForm();
            repaintTile();
            focusList();
        }
        return;
    }
    // Committed: only now is the table free on the floor.
    rememberFree();
    emit DeskInfoChanged(DeskID, Desktitle, Deskbh, QStringLiteral("0"), QStringLiteral("0"), 0);
    notify(QStringLiteral("保存成功"));
    notify(QStringLiteral("订单结算成功！订单号：") + QString::number(result.OrderID));
    LoadOrderDetails();
    ListView1->setFocus();
}
