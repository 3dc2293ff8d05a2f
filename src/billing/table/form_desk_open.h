#pragma once

// The table window "请选择操作": the open lines of one table with their kitchen
// states and totals, the guest and reservation details, the payment type and
// the amounts, and the commands of a table up to its settlement. One instance
// is reused for every table; a tile click switches it to that table.

#include "billing/table/bill/settlement.h"
#include "billing/table/deskmove.h"

#include <QPair>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class TForm_desk_picker;
class TSQLiteDatabase;

class TForm_desk_open : public QWidget {
    Q_OBJECT
public:
    explicit TForm_desk_open(QWidget* parent = nullptr);
    ~TForm_desk_open() override;

    // The table shown, as loaded and as changed by this window's writes.
    int32_t DeskID = 0;
    QString Desktitle;
    QString Deskbh;
    QString Desknums;
    QString DeskStatus;
    double DeskPrice = 0;

    QLabel* lab_deskinfo = nullptr;
    QLineEdit* lab_nums = nullptr;
    QLineEdit* lab_fwy = nullptr;
    QLineEdit* lab_ydtruename = nullptr;
    QLineEdit* lab_ydtel = nullptr;
    QLineEdit* lab_yj = nullptr;
    QLabel* labTotalAmount = nullptr;
    QLabel* labTotalDishes = nullptr;
    QLineEdit* lab_shishou = nullptr;
    QLineEdit* lab_zhaoling = nullptr;
    // One row per open line, ticked or not; column 0 holds the line id
    // (Qt::UserRole) and its status (Qt::UserRole + 1).
    QTreeWidget* ListView1 = nullptr;
    QGroupBox* box_paytype = nullptr;

    QPushButton* CnButton1 = nullptr;    // 开台
    QPushButton* btnAdd = nullptr;       // 清台
    QPushButton* btn_keda = nullptr;     // 客打小票
    QPushButton* btn_chuda = nullptr;    // 厨打小票
    QPushButton* btnOrder = nullptr;     // 下单点餐
    QPushButton* CnButton2 = nullptr;    // 提交保存
    QPushButton* btnSelectAll = nullptr; // 全选
    QPushButton* btn_ycc = nullptr;      // 已出菜
    QPushButton* btn_dzz = nullptr;      // 待制作
    QPushButton* btn_tc = nullptr;       // 退菜
    QPushButton* btnSettle = nullptr;    // 订单结算
    QPushButton* btn_hz = nullptr;       // 换桌
    QPushButton* btn_bt = nullptr;       // 并台
    // The tables "换桌" and "并台" offer.
    TForm_desk_picker* Form_desk_picker = nullptr;

    // Places the window centred on centreOn (on the screen without a visible
    // one), loads the table and shows the window without making it modal. A
    // tile click does this.
    void OpenForDesk(int32_t ADeskID, QWidget* centreOn);

    void SetDeskID(int32_t ADeskID);
    void LoadDataToForm();
    // Rebuilds the list (nothing ticked), the totals and the amounts. The
    // ordering screen calls it after a confirmation.
    void LoadOrderDetails();

    // Recounts the table from its open lines, stores it and repaints its tile.
    void updatedesk();
    bool ConfirmBatchOperation(const QString& Msg, int32_t CancelledCount);
    // Sets the status of every ticked line; returns how many were changed.
    int32_t BatchUpdateOrderStatus(int32_t NewStatus);
    int32_t GetSelectedItemCount() const;

    // Code of the ticked payment type, 0 when none is.
    int32_t PayType() const;
    void SetPayType(int32_t code);
    // What a settlement of the list and fields as they stand would take.
    TSettleInput SettleInput() const;

    // Prints what the kitchen does not know yet and marks it sent once the
    // print is done. With nothing new it asks, when offerReprint, whether to
    // print every line again (a reprint marks nothing).
    void PrintKitchenTicket(bool offerReprint);
    // After a confirmation on the ordering screen for ADeskID: the list is
    // reloaded and, with "点单后自动打印厨打小票" ticked, the new lines printed.
    void AfterConfirmation(int32_t ADeskID);

    // Shows the ordering screen for a table, modally; wired by the program.
    void SetOrderScreen(std::function<void(int32_t DeskID)> showModal);

signals:
    // The table's tile must show these values (the floor view's UpdateDeskInfo).
    void DeskInfoChanged(int32_t DeskID, const QString& DeskTitle, const QString& DeskBH,
                         const QString& DeskNums, const QString& DeskStatus, double DeskPrice);
    // Every notification the window shows, in order.
    void Notified(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    QPushButton* addButton(const QString& name, const QString& caption);

    void lab_shishouChange(const QString& text);
    void btnSelectAllClick();
    void CnButton1Click();
    void btnAddClick();
    void CnButton2Click();
    void btnOrderClick();
    void btnSettleClick();
    void printReceipt();
    // Prints one layout and gives the print routine's answer.
    QString printOutcome(const QString& layout, const QString& tid);
    // Prints one layout; false (the outcome shown) unless it was printed.
    bool printLayout(const QString& layout, const QString& tid);
    void moveClick(TDeskMove move);
    void deskPicked(TDeskMove move, int32_t ToID);
    // Prints the kitchen's slip of a move; says so when it cannot.
    void tellKitchenOfMove(TDeskMove move, const QString& FromBH, const QString& ToBH,
                           const QList<int32_t>& lines);
    // Repaints a table's tile with its row as stored.
    void repaintStored(int32_t ADeskID);
    void batchCommand(const QString& word, int32_t newStatus, const QString& prefix);
    bool setStat(const QString& stat, const QString& tit);
    // Takes the table's state, guests and amount from the store again.
    void reloadDeskState();
    // Notifies and focuses the first field holding a negative number.
    bool refuseNegative(const QList<QPair<QLineEdit*, QString>>& fields);

    bool ask(const QString& question);
    void notify(const QString& text);
    void showError(const QString& text);
    void focusList();
    void repaintTile();
    void rememberFree();
    TSQLiteDatabase& database();

    QButtonGroup* FPayTypes = nullptr;
    std::function<void(int32_t)> FOrderScreen;
    std::unique_ptr<TSQLiteDatabase> FDatabase;
    QString FDatabaseName;
};
