// Commands of the table window: kitchen states of ticked lines, opening,
// clearing and saving the table, tickets, moving the party, ordering and the
// settlement.

#include "billing/printing/myprint.h"
#include "billing/printing/ticketlayouts.h"
#include "billing/table/deskmove.h"
#include "billing/table/deskops.h"
#include "billing/table/deskpicker.h"
#include "billing/table/deskview.h"
#include "billing/table/form_desk_open.h"
#include "billing/table/kitchenticket.h"
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

QString TForm_desk_open::printOutcome(const QString& layout, const QString& tid) {
    QString result;
    try {
        addprint(layout, tid, result);
    } catch (const EConvertError& e) {
        result = e.Message();
    }
    return result;
}

bool TForm_desk_open::printLayout(const QString& layout, const QString& tid) {
    const QString result = printOutcome(layout, tid);
    if (result == printresult::Done())
        return true;
    notify(result);
    return false;
}

void TForm_desk_open::printReceipt() {
    QString layout;
    try {
        layout = BuildTableReceipt(DeskID, Deskbh);
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
        return;
    }
    printLayout(layout, QStringLiteral("0"));
}

void TForm_desk_open::PrintKitchenTicket(bool offerReprint) {
    if (DeskID <= 0)
        return;
    TKitchenPlan plan;
    QString layout;
    try {
        plan = PlanKitchenTicket(database(), DeskID);
        if (plan.IsEmpty()) {
            if (!offerReprint)
                return;
            if (plan.OpenLines == 0) {
                notify(QStringLiteral("没有订单明细可打印"));
                return;
            }
            if (!ask(QStringLiteral("没有新加的菜品，是否重新打印全部菜品？")))
                return;
            // A reprint tells the kitchen nothing new: nothing is marked.
            if (printLayout(BuildKitchenTicket(database(), TicketSettings(), DeskID, Deskbh),
                            QStringLiteral("1")))
                notify(QStringLiteral("厨打小票已重新打印"));
            return;
        }
        layout = BuildKitchenTicket(TicketSettings(), Deskbh, plan);
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
        return;
    }
    if (offerReprint) {
        if (!printLayout(layout, QStringLiteral("1")))
            return;
    } else if (const QString result = printOutcome(layout, QStringLiteral("1"));
               result != printresult::Done()) {
        // Printed on its own while the ordering screen covers this window: a
        // notification here would go unseen and the kitchen never cook.
        Messages().Info(MessageCaption(),
                        QStringLiteral("厨打小票未打印：%1\n新点的菜品还没有送到厨房，"
                                       "请处理后点“厨打小票”。")
                            .arg(result));
        return;
    }
    try {
        MarkKitchenSent(database(), plan);
    } catch (const std::exception& e) {
        showError(QStringLiteral("厨打小票已打印，但") + QString::fromUtf8(e.what()));
        return;
    }
    notify(KitchenSentNote(plan));
}

void TForm_desk_open::AfterConfirmation(int32_t ADeskID) {
    LoadOrderDetails();
    if (ADeskID == DeskID && TicketSettings().CheckBox(QStringLiteral("box_autochuda")))
        PrintKitchenTicket(false);
}

void TForm_desk_open::moveClick(TDeskMove move) {
    if (ListView1->topLevelItemCount() == 0) {
        notify(QStringLiteral("本桌没有已点的菜品，无需") + DeskMoveWord(move));
        return;
    }
    Form_desk_picker->Open(move, DeskID);
}

void TForm_desk_open::deskPicked(TDeskMove move, int32_t ToID) {
    const int32_t FromID = Form_desk_picker->FromID();
    if (FromID != DeskID) // the picker belongs to a table no longer shown
        return;
    QString target;
    QString targetBh;
    try {
        if (const std::optional<TDeskDetailsRow> row = ReadDeskRow(database(), ToID)) {
            target = row->bh + QStringLiteral("号,") + row->title;
            targetBh = row->bh;
        }
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
        return;
    }
    const QString here = Deskbh + QStringLiteral("号,") + Desktitle;
    if (!ask(QStringLiteral("确定将%1%2%3吗")
                 .arg(here,
                      move == TDeskMove::Transfer ? QStringLiteral("换到") : QStringLiteral("并入"),
                      target)))
        return;
    QList<int32_t> listed;
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i)
        listed << ListView1->topLevelItem(i)->data(0, Qt::UserRole).toInt();
    try {
        MoveDesk(database(), move, FromID, ToID, listed);
    } catch (const EDeskMoveError& e) {
        showError(e.Message());
        // Nothing changed; show both tables as they are stored, so a stale
        // list or tile cannot be moved again.
        LoadDataToForm();
        repaintStored(FromID);
        repaintStored(ToID);
        focusList();
        return;
    }
    repaintStored(FromID);
    repaintStored(ToID);
    notify(DeskMoveWord(move) + QStringLiteral("成功"));
    tellKitchenOfMove(move, Deskbh, targetBh, listed);
    // The party sits at the chosen table now.
    SetDeskID(ToID);
    focusList();
}

// Dishes already in the kitchen carry the old table's code on their slips;
// told at once, not with the next ticket, which may never come.
void TForm_desk_open::tellKitchenOfMove(TDeskMove move, const QString& FromBH, const QString& ToBH,
                                        const QList<int32_t>& lines) {
    QString layout;
    try {
        layout = BuildMoveNotice(database(), TicketSettings(), move, FromBH, ToBH, lines);
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
        return;
    }
    if (layout.isEmpty())
        return;
    const QString result = printOutcome(layout, QStringLiteral("1"));
    if (result == printresult::Done())
        return;
    // A box: the kitchen must be told some other way.
    Messages().Info(MessageCaption(),
                    QStringLiteral("%1通知未送到厨房：%2\n请告诉厨房：%3 的菜品改送 %4。")
                        .arg(DeskMoveWord(move), result, FromBH, ToBH));
}

void TForm_desk_open::repaintStored(int32_t ADeskID) {
    try {
        if (const std::optional<TDeskDetailsRow> row = ReadDeskRow(database(), ADeskID))
            emit DeskInfoChanged(ADeskID, row->title, row->bh, row->nums, row->stat, row->price);
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
    }
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
