#include "ordering/tiles/dishcontrolmanager.h"
#include "common/myfun.h"

#include "ordering/TOrderManager.h"
#include "ordering/ordertext.h"
#include "ordering/panels.h"
#include "ordering/tiles/dishgrid.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>

namespace {

const char* const kTag = "tag";
const QColor kPriceColour(0xF4, 0x0F, 0x40);

QString specCaption(double quantity) {
    return quantity > 0 ? QStringLiteral("选择规格(") + ShortNumber(quantity) + QLatin1Char(')')
                        : QStringLiteral("选择规格");
}

QString idName(const char* prefix, int32_t id) {
    return QLatin1String(prefix) + QString::number(id);
}

QFont pointFont(const QFont& base, int pointSize) {
    QFont font = base;
    font.setPointSize(pointSize);
    return font;
}

} // namespace

// Fonts and colours of every tile, made once per grid: hundreds of tiles
// share them instead of each copying and changing its own.
struct TTileStyle {
    explicit TTileStyle(const QWidget* owner)
        : Tile(pointFont(owner->font(), 9)), Price(pointFont(owner->font(), 10)),
          Spec(pointFont(owner->font(), 8)), Step(pointFont(owner->font(), 18)),
          Count(pointFont(owner->font(), 12)), PricePalette(owner->palette()) {
        // Labels on a tile take its button roles, so both text roles are set.
        PricePalette.setColor(QPalette::WindowText, kPriceColour);
        PricePalette.setColor(QPalette::ButtonText, kPriceColour);
    }
    QFont Tile, Price, Spec, Step, Count;
    QPalette PricePalette;
};

TDishControlManager::TDishControlManager(QWidget* AOwner, QScrollArea* AScrollBox,
                                         const TDishList& ADishes, TOrderManager* AOrderManager)
    : FOwner(AOwner), FScrollBox(AScrollBox), FDishes(ADishes), FOrderManager(AOrderManager) {}

TDishControlManager::~TDishControlManager() = default;

void TDishControlManager::RefreshDishDisplay() {
    ClearDishDisplay();
    CreateDishGridPanel();
}

void TDishControlManager::ClearDishDisplay() {
    FTiles.clear();
    delete FScrollBox->takeWidget();
    FGridPanel = nullptr;
}

void TDishControlManager::CreateDishGridPanel() {
    // Measured with the old grid gone, so a scroll bar it needed does not count.
    const int32_t clientWidth = FScrollBox->width() - 2 * FScrollBox->frameWidth();
    const TDishGrid grid = DishGrid(clientWidth, int32_t(FDishes.size()));

    // Built before it joins the scroll area, so no tile is shown one by one.
    auto* container = new QWidget;
    container->setObjectName(QStringLiteral("DishGridPanel"));
    SetBackground(container, Qt::white);
    FStyle = std::make_unique<TTileStyle>(FScrollBox);
    container->resize(qMax(0, grid.AvailableWidth), grid.ContainerHeight);
    FGridPanel = container;
    for (int32_t i = 0; i < int32_t(FDishes.size()); ++i) {
        const QPoint pos = grid.TilePos(i);
        CreateDishControl(container, *FDishes[size_t(i)], pos.x(), pos.y(), TDishGrid::ItemWidth,
                          TDishGrid::ItemHeight);
    }
    FStyle.reset();
    FScrollBox->setWidget(container);
}

QWidget* TDishControlManager::CreateDishControl(QWidget* Parent, const TDishItem& DishItem,
                                                int32_t X, int32_t Y, int32_t Width,
                                                int32_t Height) {
    const int32_t id = DishItem.caipinid;
    auto* panel = new QFrame(Parent);
    panel->setObjectName(idName("DishPanel", id));
    panel->setProperty(kTag, id);
    panel->setGeometry(X, Y, Width, Height);
    panel->setBackgroundRole(QPalette::Button);
    panel->setAutoFillBackground(true);
    panel->setFont(style().Tile);
    panel->setCursor(Qt::PointingHandCursor);

    auto* title = new QLabel(DishItem.title, panel);
    title->setObjectName(QStringLiteral("lblTitle"));
    title->setTextFormat(Qt::PlainText);
    title->setGeometry(6, 5, Width - 12, 35);
    title->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    title->setWordWrap(true);

    auto* strip = new QWidget(panel);
    strip->setObjectName(QStringLiteral("ControlPanel"));
    strip->setGeometry(6, Height - 30 - 8, Width - 12, 30);

    auto* price = new QLabel(QStringLiteral("￥") + FormatFloat00(DishItem.Price), strip);
    price->setObjectName(QStringLiteral("lblPrice"));
    price->setGeometry(0, (30 - 20) / 2, strip->width() - 85, 20);
    price->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    price->setFont(style().Price);
    price->setPalette(style().PricePalette);

    FTiles.insert(id, TTile{panel, strip, nullptr, nullptr, nullptr, nullptr});
    if (DishItem.HasMultipleSpecs) {
        auto* button = new QPushButton(specCaption(FOrderManager->GetDishQuantity(id)), strip);
        button->setObjectName(idName("SelectSpecButton", id));
        button->setProperty(kTag, id);
        button->setGeometry(strip->width() - 75, 2, 75, 25);
        button->setFont(style().Spec);
        QObject::connect(button, &QPushButton::clicked, button, [this, button] {
            if (FOnSpecButtonClick)
                FOnSpecButtonClick(button);
        });
        FTiles[id].spec = button;
    } else {
        CreateQuantityControls(strip, id);
    }
    return panel;
}

void TDishControlManager::CreateQuantityControls(QWidget* Parent, int32_t caipinid) {
    const int32_t left = Parent->width() - 75;
    const auto stepButton = [&](const QString& caption, const char* name, int32_t x) {
        auto* button = new QPushButton(caption, Parent);
        button->setObjectName(idName(name, caipinid));
        button->setProperty(kTag, caipinid);
        button->setGeometry(x, 2, 25, 25);
        button->setFont(style().Step);
        QObject::connect(button, &QPushButton::clicked, button, [this, button] {
            if (FOnQuantityChange)
                FOnQuantityChange(button);
        });
        return button;
    };
    QPushButton* decrease = stepButton(QStringLiteral("-"), "DecreaseButton", left);
    auto* quantity = new QLabel(QStringLiteral("0"), Parent);
    quantity->setObjectName(idName("QuantityLabel", caipinid));
    quantity->setGeometry(left + 25, 2, 25, 25);
    quantity->setAlignment(Qt::AlignCenter);
    quantity->setFont(style().Count);
    QPushButton* increase = stepButton(QStringLiteral("+"), "IncreaseButton", left + 50);

    TTile& t = FTiles[caipinid];
    t.strip = Parent;
    t.decrease = decrease;
    t.quantity = quantity;
    t.increase = increase;
}

const TTileStyle& TDishControlManager::style() {
    // A tile built outside a grid still gets the tile's look.
    if (!FStyle)
        FStyle = std::make_unique<TTileStyle>(FScrollBox);
    return *FStyle;
}

const TDishControlManager::TTile* TDishControlManager::tile(int32_t caipinid) const {
    const auto it = FTiles.constFind(caipinid);
    return it == FTiles.constEnd() || !it->panel ? nullptr : &*it;
}

void TDishControlManager::captionSpecButton(QPushButton* button, double quantity) {
    button->setText(specCaption(quantity));
}

void TDishControlManager::UpdateDishQuantity(int32_t caipinid, double Quantity) {
    const TTile* t = tile(caipinid);
    if (!t)
        return;
    if (t->spec) {
        captionSpecButton(t->spec, Quantity);
    } else if (t->quantity) {
        t->quantity->setText(ShortNumber(Quantity));
        ShowQuantityControls(caipinid, true);
    }
}

void TDishControlManager::ShowQuantityControls(int32_t caipinid, bool ShowControls) {
    const TTile* t = tile(caipinid);
    if (!t)
        return;
    if (t->spec) {
        t->spec->setVisible(true);
        captionSpecButton(t->spec, ShowControls ? FOrderManager->GetDishQuantity(caipinid) : 0);
    }
    for (QWidget* w : {static_cast<QWidget*>(t->decrease), static_cast<QWidget*>(t->quantity),
                       static_cast<QWidget*>(t->increase)})
        if (w)
            w->setVisible(ShowControls);
}

QWidget* TDishControlManager::DishPanel(int32_t caipinid) const {
    const TTile* t = tile(caipinid);
    return t ? t->panel : nullptr;
}

QPushButton* TDishControlManager::SelectSpecButton(int32_t caipinid) const {
    const TTile* t = tile(caipinid);
    return t ? t->spec : nullptr;
}

QPushButton* TDishControlManager::DecreaseButton(int32_t caipinid) const {
    const TTile* t = tile(caipinid);
    return t ? t->decrease : nullptr;
}

QPushButton* TDishControlManager::IncreaseButton(int32_t caipinid) const {
    const TTile* t = tile(caipinid);
    return t ? t->increase : nullptr;
}

QLabel* TDishControlManager::QuantityLabel(int32_t caipinid) const {
    const TTile* t = tile(caipinid);
    return t ? t->quantity : nullptr;
}
