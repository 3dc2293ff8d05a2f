// The ordering screen's left-hand side: category bar, dish list, tile
// quantities, and the basket changes made from tiles and the specification
// dialog.

#include "ordering/form_diancan.h"

#include "common/myfun.h"
#include "ordering/TOrderManager.h"
#include "ordering/ordererror.h"
#include "ordering/ordertext.h"
#include "ordering/panels.h"
#include "ordering/specselectiondialog.h"
#include "ordering/tiles/dishquantities.h"
#include "store/SQLiteORM.h"

#include <QLabel>
#include <QPushButton>

namespace {

const char* const kTag = "tag";

QString errorText(const std::exception& e) {
    return QString::fromUtf8(e.what());
}

std::unique_ptr<TSQLiteTable> selectRows(TSQLiteORM& orm) {
    auto rows = orm.Select();
    if (!rows)
        throw EOrderError(orm.LastError());
    return rows;
}

} // namespace

void TForm_diancan::LoadCategories() {
    qDeleteAll(FCategoryLabels);
    FCategoryLabels.clear();
    FSelectedCategoryIndex = 0;
    const auto addLabel = [this](const QString& title, int32_t id, int left) {
        auto* label = new TLabelButton(title, pnlCategory);
        label->setObjectName(QStringLiteral("CategoryLabel") + QString::number(id));
        label->setProperty(kTag, id);
        SetFontStyle(label, 9);
        label->FitToText();
        label->move(left, 3);
        label->show();
        connect(label, &TLabelButton::clicked, this, [this, label] { HandleCategoryClick(label); });
        FCategoryLabels.append(label);
        return label;
    };
    try {
        int left = addLabel(QStringLiteral("所有分类"), 0, 10)->width() + 20;
        requireManager();
        TSQLiteORM orm(FDatabase.get(), QStringLiteral("zel_caipin_class"));
        orm.Order(QStringLiteral("sort ASC"));
        for (const auto rows = selectRows(orm); !rows->Eof(); rows->Next()) {
            TLabelButton* label =
                addLabel(TSQLiteORM::GetFieldAsString(rows.get(), QStringLiteral("title")),
                         TSQLiteORM::GetFieldAsInteger(rows.get(), QStringLiteral("id")), left);
            left += label->width() + 10;
        }
    } catch (const std::exception& e) {
        ShowNotification(QStringLiteral("加载分类失败: ") + errorText(e));
    }
    UpdateCategoryColors(FSelectedCategoryIndex);
}

void TForm_diancan::UpdateCategoryColors(int32_t SelectedIndex) {
    for (qsizetype i = 0; i < FCategoryLabels.size(); ++i) {
        TLabelButton* label = FCategoryLabels.at(i);
        const bool selected = i == SelectedIndex;
        SetBackground(label, selected ? QColor(0xD0, 0xF0, 0xD0) : QColor(0xF0, 0xF0, 0xF0));
        SetTextColour(label, selected ? QColor(Qt::black) : QColor(0x80, 0x80, 0x80));
        SetFontStyle(label, 9, selected);
        label->FitToText();
    }
}

void TForm_diancan::HandleCategoryClick(TLabelButton* Sender) {
    const qsizetype index = FCategoryLabels.indexOf(Sender);
    if (index >= 0)
        FSelectedCategoryIndex = int32_t(index);
    UpdateCategoryColors(FSelectedCategoryIndex);
    LoadDishesByCategory(Sender->property(kTag).toInt());
}

void TForm_diancan::LoadDishesByCategory(int32_t cid) {
    FDishes.clear();
    try {
        requireManager();
        QString condition = QStringLiteral("1");
        if (cid > 0)
            condition += QStringLiteral(" AND cid=") + QString::number(cid);
        TSQLiteORM orm(FDatabase.get(), QStringLiteral("zel_caipin"));
        orm.Where(condition + QStringLiteral(" AND deleted=0")).Order(QStringLiteral("sort"));
        for (const auto rows = selectRows(orm); !rows->Eof(); rows->Next()) {
            auto dish = std::make_unique<TDishItem>();
            dish->caipinid = TSQLiteORM::GetFieldAsInteger(rows.get(), QStringLiteral("id"));
            dish->title = TSQLiteORM::GetFieldAsString(rows.get(), QStringLiteral("title"));
            dish->Price =
                SafeStrToCurr(TSQLiteORM::GetFieldAsString(rows.get(), QStringLiteral("price")))
                    .ToDouble();
            // An empty issku counts as a dish with specifications.
            dish->HasMultipleSpecs =
                TSQLiteORM::GetFieldAsString(rows.get(), QStringLiteral("issku")) !=
                QStringLiteral("0");
            dish->cid = cid;
            if (dish->HasMultipleSpecs)
                LoadDishSpecs(*dish);
            FDishes.push_back(std::move(dish));
        }
        if (FDishes.empty()) {
            FDishControlManager->ClearDishDisplay();
            ShowNotification(QStringLiteral("该分类下没有菜品"));
            return;
        }
        FDishControlManager->RefreshDishDisplay();
        RefreshAllDishQuantities();
    } catch (const std::exception& e) {
        ShowNotification(QStringLiteral("加载菜品失败: ") + errorText(e));
    }
}

void TForm_diancan::LoadDishSpecs(TDishItem& DishItem) {
    DishItem.Specs.clear();
    try {
        requireManager();
        TSQLiteORM orm(FDatabase.get(), QStringLiteral("zel_caipin_sku"));
        orm.Where(QStringLiteral("rootid=") + QString::number(DishItem.caipinid) +
                  QStringLiteral(" AND deleted=0"));
        for (const auto rows = selectRows(orm); !rows->Eof(); rows->Next()) {
            TSpecItem spec;
            spec.skuid = TSQLiteORM::GetFieldAsInteger(rows.get(), QStringLiteral("id"));
            spec.title = TSQLiteORM::GetFieldAsString(rows.get(), QStringLiteral("title"));
            spec.Price =
                SafeStrToCurr(TSQLiteORM::GetFieldAsString(rows.get(), QStringLiteral("price")))
                    .ToDouble();
            DishItem.Specs.append(spec);
        }
    } catch (const std::exception& e) {
        ShowNotification(QStringLiteral("加载菜品规格失败: ") + errorText(e));
    }
}

TDishItem* TForm_diancan::FindDishItem(int32_t caipinid) const {
    for (const auto& dish : FDishes)
        if (dish->caipinid == caipinid)
            return dish.get();
    return nullptr;
}

void TForm_diancan::RefreshAllDishQuantities() {
    if (!FOrderManager)
        return;
    // One read for all tiles; a query per tile would dominate a large menu.
    const QHash<int32_t, double> quantities =
        ReadDishQuantities(*FDatabase, FOrderManager->DeskID());
    for (const auto& dish : FDishes) {
        const double quantity = quantities.value(dish->caipinid, 0);
        FDishControlManager->UpdateDishQuantity(dish->caipinid, quantity);
        if (dish->HasMultipleSpecs)
            FDishControlManager->ShowQuantityControls(dish->caipinid, quantity > 0);
    }
}

void TForm_diancan::showDishQuantity(int32_t caipinid) {
    const double remaining = FOrderManager->GetDishQuantity(caipinid);
    FDishControlManager->UpdateDishQuantity(caipinid, remaining);
    if (const TDishItem* dish = FindDishItem(caipinid); dish && dish->HasMultipleSpecs)
        FDishControlManager->ShowQuantityControls(caipinid, remaining > 0);
}

void TForm_diancan::HandleDishQuantityChange(QPushButton* Sender) {
    if (!FOrderManager)
        return;
    const int32_t caipinid = Sender->property(kTag).toInt();
    const TDishItem* DishItem = FindDishItem(caipinid);
    if (!DishItem)
        return;
    const QLabel* label = Sender->parentWidget()
                              ? Sender->parentWidget()->findChild<QLabel*>(
                                    QStringLiteral("QuantityLabel") + QString::number(caipinid),
                                    Qt::FindDirectChildrenOnly)
                              : nullptr;
    double CurrentQuantity = label ? CountFromText(label->text()) : 0;
    if (Sender->text() == QStringLiteral("+"))
        CurrentQuantity += 1;
    else if (Sender->text() == QStringLiteral("-") && CurrentQuantity > 0)
        CurrentQuantity -= 1;

    // Written first: a failed write leaves the tile showing what the basket holds.
    if (CurrentQuantity > 0) {
        TOrderItem line;
        line.caipinid = caipinid;
        line.title = DishItem->title;
        line.Price = DishItem->Price;
        line.Quantity = CurrentQuantity;
        FOrderManager->AddOrUpdateOrderItem(line);
    } else {
        FOrderManager->RemoveOrderItem(caipinid, 0);
    }
    FDishControlManager->UpdateDishQuantity(caipinid, CurrentQuantity);
    RefreshCartDisplay();
    UpdateTotalDisplay();
    UpdateCartStatsDisplay();
}

void TForm_diancan::HandleSpecSelection(QPushButton* Sender) {
    if (const TDishItem* DishItem = FindDishItem(Sender->property(kTag).toInt())) {
        TSpecSelectionDialog dialog(this, DishItem);
        dialog.Execute();
    }
}

void TForm_diancan::UpdateOrderItemFromSpec(const TOrderItem& OrderItem) {
    FOrderManager->AddOrUpdateOrderItem(OrderItem);
    RefreshCartDisplay();
    UpdateTotalDisplay();
    showDishQuantity(OrderItem.caipinid);
    UpdateCartStatsDisplay();
}

void TForm_diancan::RemoveOrderItemFromSpec(int32_t caipinid, int32_t skuid) {
    FOrderManager->RemoveOrderItem(caipinid, skuid);
    RefreshCartDisplay();
    UpdateTotalDisplay();
    showDishQuantity(caipinid);
    UpdateCartStatsDisplay();
}

double TForm_diancan::CartLineQuantity(int32_t caipinid, int32_t skuid) const {
    if (!FOrderManager)
        return 0;
    const int32_t index = FOrderManager->FindOrderItemIndex(caipinid, skuid);
    return index >= 0 ? FOrderManager->OrderList().at(index).Quantity : 0;
}
