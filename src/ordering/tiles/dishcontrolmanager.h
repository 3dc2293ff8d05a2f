#pragma once

// Builds the dish tiles of the ordering screen in its scroll area and shows
// basket quantities on them. Each tile has the dish's title and price and
// either a stepper ("-", count, "+") or a "选择规格" button for a dish sold
// in specifications. Tiles are found by dish id; their controls also carry the
// names "SelectSpecButton", "DecreaseButton", "QuantityLabel" and
// "IncreaseButton" followed by the dish id.

#include "ordering/orderitems.h"

#include <QHash>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QPushButton;
class QScrollArea;
class QWidget;
class TOrderManager;
struct TTileStyle;

// The dishes of the selected category, owned by the ordering screen.
using TDishList = std::vector<std::unique_ptr<TDishItem>>;

class TDishControlManager {
public:
    using TButtonEvent = std::function<void(QPushButton* Sender)>;

    // Stores the references; owns nothing.
    TDishControlManager(QWidget* AOwner, QScrollArea* AScrollBox, const TDishList& ADishes,
                        TOrderManager* AOrderManager);
    ~TDishControlManager();
    TDishControlManager(const TDishControlManager&) = delete;
    TDishControlManager& operator=(const TDishControlManager&) = delete;

    // Raised by every "选择规格" button, and by every "-" and "+".
    void SetOnSpecButtonClick(TButtonEvent e) { FOnSpecButtonClick = std::move(e); }
    void SetOnQuantityChange(TButtonEvent e) { FOnQuantityChange = std::move(e); }

    // Destroys the grid and builds it again for the current dish list.
    void RefreshDishDisplay();
    // Destroys the grid, leaving the scroll area empty.
    void ClearDishDisplay();
    void CreateDishGridPanel();
    QWidget* CreateDishControl(QWidget* Parent, const TDishItem& DishItem, int32_t X, int32_t Y,
                               int32_t Width, int32_t Height);
    void CreateQuantityControls(QWidget* Parent, int32_t caipinid);

    // Shows Quantity on the dish's tile: the count of a plain dish, the
    // total on the specification button. No tile, nothing happens.
    void UpdateDishQuantity(int32_t caipinid, double Quantity);
    // Shows or hides the stepper and re-captions the specification button.
    void ShowQuantityControls(int32_t caipinid, bool ShowControls);

    // The grid container, or nullptr when the grid is empty.
    QWidget* GridPanel() const { return FGridPanel; }
    QWidget* DishPanel(int32_t caipinid) const;
    QPushButton* SelectSpecButton(int32_t caipinid) const;
    QPushButton* DecreaseButton(int32_t caipinid) const;
    QPushButton* IncreaseButton(int32_t caipinid) const;
    QLabel* QuantityLabel(int32_t caipinid) const;

private:
    struct TTile {
        QPointer<QWidget> panel;
        QPointer<QWidget> strip;
        QPointer<QPushButton> spec;
        QPointer<QPushButton> decrease;
        QPointer<QLabel> quantity;
        QPointer<QPushButton> increase;
    };
    const TTile* tile(int32_t caipinid) const;
    const TTileStyle& style();
    void captionSpecButton(QPushButton* button, double quantity);

    QWidget* FOwner;
    QScrollArea* FScrollBox;
    const TDishList& FDishes;
    TOrderManager* FOrderManager;
    TButtonEvent FOnSpecButtonClick;
    TButtonEvent FOnQuantityChange;
    QPointer<QWidget> FGridPanel;
    QHash<int32_t, TTile> FTiles;
    std::unique_ptr<TTileStyle> FStyle;
};
