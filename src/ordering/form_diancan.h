#pragma once

// The ordering screen of one table: the category bar and dish tiles on the
// left, and on the right the basket ("菜品篮") with its total and "确定点单",
// and the ordered lines ("已点单") with tick boxes and the batch commands
// "出菜", "退菜" and "删除". One instance is reused for every table; the
// table window opens it modally. Every change of the ordered lines is written
// to the table row and repainted on the table's tile.

#include "ordering/orderitems.h"
#include "ordering/tiles/dishcontrolmanager.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QSplitter;
class QTabWidget;
class TLabelButton;
class TOrderManager;
class TSQLiteDatabase;

class TForm_diancan : public QDialog {
    Q_OBJECT
public:
    // Repaints one table's tile (the floor view's UpdateDeskInfo).
    using TTileRepaint =
        std::function<void(int32_t DeskID, const QString& DeskTitle, const QString& DeskBH,
                           const QString& DeskNums, const QString& DeskStatus, double DeskPrice)>;

    explicit TForm_diancan(QWidget* parent = nullptr);
    ~TForm_diancan() override;

    // The creation step: number format, connection on sqlitename, order
    // manager, tile builder, right-hand side, category bar and every dish.
    // A failure is notified ("初始化失败: ") and closes the window.
    void FormCreate();

    // Set by whoever opens the screen: the table window's reload after a
    // confirmation, and the repaint of the table's tile.
    void SetAfterConfirmation(std::function<void()> fn) { FAfterConfirmation = std::move(fn); }
    void SetTileRepaint(TTileRepaint fn) { FTileRepaint = std::move(fn); }

    // Loads the table, fits the window to the screen centred on centreOn
    // (when visible) and runs it modally; returns when it is closed. Load
    // failures of the order manager are raised to the caller.
    int OpenForDesk(int32_t ADeskID, QWidget* centreOn);

    void SetDeskID(int32_t ADeskID);
    int32_t DeskID() const;
    void LoadDataToForm();
    // After the master data of dishes changed: categories, dishes and both lists.
    void RefreshAllData();

    void RefreshOrderData();
    void RefreshCartDisplay();
    void RefreshConfirmedDisplay();
    void UpdateTotalDisplay();
    void UpdateCartStatsDisplay();
    void UpdateConfirmedStatsDisplay();
    void CreateCartStatsLabel();
    void ShowNotification(const QString& Msg);
    // Recounts the table from its open lines, stores it and repaints its tile.
    void updatedesk();

    void HandleConfirmOrder();
    void HandleRemoveOrder(QPushButton* Sender);
    void HandleCheckBoxClick(QCheckBox* Sender);
    void HandleSelectAllClick();
    void HandleBatchServedOrder();
    void HandleBatchReturnOrder();
    void HandleBatchDeleteOrder();

    // Category bar and dish tiles.
    void LoadCategories();
    void LoadDishesByCategory(int32_t cid);
    void LoadDishSpecs(TDishItem& DishItem);
    void HandleCategoryClick(TLabelButton* Sender);
    void UpdateCategoryColors(int32_t SelectedIndex);
    void HandleDishQuantityChange(QPushButton* Sender);
    void HandleSpecSelection(QPushButton* Sender);
    void RefreshAllDishQuantities();
    TDishItem* FindDishItem(int32_t caipinid) const;

    // Used by the specification dialog.
    void UpdateOrderItemFromSpec(const TOrderItem& OrderItem);
    void RemoveOrderItemFromSpec(int32_t caipinid, int32_t skuid);
    // Pieces of one basket line (dish and specification), 0 when there is none.
    double CartLineQuantity(int32_t caipinid, int32_t skuid) const;

    TOrderManager* OrderManager() const { return FOrderManager.get(); }
    TDishControlManager* DishControlManager() const { return FDishControlManager.get(); }
    const TDishList& Dishes() const { return FDishes; }
    // The category bar: "所有分类" first, tagged with the category id.
    const QList<TLabelButton*>& CategoryLabels() const { return FCategoryLabels; }
    int32_t SelectedCategoryIndex() const { return FSelectedCategoryIndex; }

    // The table, as read by LoadDataToForm and kept by updatedesk.
    QString Desktitle;
    QString Deskbh;
    QString Desknums;
    QString DeskStatus;

    QWidget* pnlLeft = nullptr;
    QWidget* pnlCategory = nullptr;
    QSplitter* Splitter1 = nullptr;
    QWidget* pnlDishList = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QWidget* pnlRight = nullptr;
    QTabWidget* FPageControl = nullptr;
    QWidget* FTabCart = nullptr;
    QWidget* FTabConfirmed = nullptr;
    QScrollArea* FCartScrollBox = nullptr;
    QScrollArea* FConfirmedScrollBox = nullptr;
    QPushButton* FConfirmButton = nullptr;
    QLabel* FTotalLabel = nullptr;
    QWidget* FBatchPanel = nullptr;
    QCheckBox* FSelectAllCheckBox = nullptr;
    QPushButton* FBatchServedButton = nullptr;
    QPushButton* FBatchReturnButton = nullptr;
    QPushButton* FBatchDeleteButton = nullptr;

signals:
    // Every notification the screen shows, in order.
    void Notified(const QString& text);

protected:
    // Lays the dish tiles out again when the dish area changes width.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitDishGrid();
    void CreateMainLayout();
    void CreateRightPanel();
    void layoutNow();
    void requireManager() const;
    bool ask(const QString& question);
    bool anyLineTicked() const;
    void clearSelectAll();
    void batchCommand(int32_t NewStat, const QString& question, const QString& success,
                      const QString& failure, bool notifyFirst);
    void showDishQuantity(int32_t caipinid);

    std::unique_ptr<TSQLiteDatabase> FDatabase;
    QString FDeskID;
    TDishList FDishes;
    QList<TLabelButton*> FCategoryLabels;
    int32_t FSelectedCategoryIndex = 0;
    std::unique_ptr<TOrderManager> FOrderManager;
    std::unique_ptr<TDishControlManager> FDishControlManager;
    std::function<void()> FAfterConfirmation;
    TTileRepaint FTileRepaint;
};
