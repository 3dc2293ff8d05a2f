#include "ordering/specselectiondialog.h"
#include "common/myfun.h"
#include "common/ui/fitscrollarea.h"
#include "common/ui/showcentred.h"

#include "ordering/form_diancan.h"
#include "ordering/modalrunner.h"
#include "ordering/ordertext.h"
#include "ordering/panels.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char* const kTag = "tag";
constexpr int32_t kDialogWidth = 400;
constexpr int32_t kRowHeight = 45;
constexpr int32_t kBottomHeight = 40;

QLabel* addLabel(QWidget* parent, const QString& name, const QString& text, int x, int y,
                 int width) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(x, y, width, label->sizeHint().height());
    return label;
}

} // namespace

TSpecSelectionDialog::TSpecSelectionDialog(TForm_diancan* AOwner, const TDishItem* ADishItem)
    : FOwner(AOwner), FDishItem(ADishItem) {}

bool TSpecSelectionDialog::Execute() {
    const std::unique_ptr<QDialog> form = CreateDialogForm();
    return RunModal(*form) == QDialog::Accepted;
}

std::unique_ptr<QDialog> TSpecSelectionDialog::CreateDialogForm() {
    auto form = std::make_unique<QDialog>(FOwner);
    form->setObjectName(QStringLiteral("SpecSelectionDialog"));
    form->setWindowTitle(FDishItem->title + QStringLiteral(" - 选择规格"));
    form->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    form->setFont(QFont(form->font().family(), 9));
    const int32_t height = DialogHeight(FDishItem->Specs.size());
    // Never higher than that, lower on a small screen: the rows then scroll
    // above the buttons.
    form->setFixedWidth(kDialogWidth);
    form->setMaximumHeight(height);
    form->resize(kDialogWidth, height);
    auto* layout = new QVBoxLayout(form.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* rows = new QWidget;
    rows->setObjectName(QStringLiteral("SpecRows"));
    rows->setFixedSize(kDialogWidth, height - kBottomHeight);
    CreateSpecControls(rows);
    auto* area = new TFitScrollArea;
    area->setObjectName(QStringLiteral("SpecArea"));
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidget(rows);
    layout->addWidget(area, 1);

    auto* bottom = new QWidget;
    bottom->setObjectName(QStringLiteral("BottomPanel"));
    bottom->setFixedSize(kDialogWidth, kBottomHeight);
    layout->addWidget(bottom);
    // Placed as for a 185-pixel panel, so they stay at the left when it is wider.
    const int32_t okLeft = (185 - 160) / 2;
    auto* ok = new QPushButton(QStringLiteral("确定"), bottom);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setGeometry(okLeft, 8, 75, 25);
    auto* cancel = new QPushButton(QStringLiteral("取消"), bottom);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setGeometry(okLeft + 75 + 10, 8, 75, 25);
    QDialog* dialog = form.get();
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);

    FitOnScreen(form.get(), nullptr);
    return form;
}

void TSpecSelectionDialog::CreateSpecControls(QWidget* Form) {
    for (qsizetype I = 0; I < FDishItem->Specs.size(); ++I) {
        const TSpecItem& spec = FDishItem->Specs.at(I);
        const int32_t tag = int32_t(I);
        auto* row = new QWidget(Form);
        row->setObjectName(QStringLiteral("SpecPanel"));
        row->setProperty(kTag, tag);
        row->setGeometry(0, tag * kRowHeight, kDialogWidth, kRowHeight);

        QLabel* title = addLabel(row, QStringLiteral("lblSpecTitle"), spec.title, 20, 12, 150);
        SetFontStyle(title, 9, true);
        QLabel* price = addLabel(row, QStringLiteral("lblPrice"),
                                 QStringLiteral("￥") + FormatFloat00(spec.Price), 180, 12, 80);
        SetTextColour(price, QColor(0xFF, 0, 0));

        auto* panel = new QWidget(row);
        panel->setObjectName(QStringLiteral("QuantityPanel"));
        panel->setGeometry(270, 8, 120, 25);
        const auto stepButton = [&](const QString& caption, const QString& name, int x) {
            auto* button = new QPushButton(caption, panel);
            button->setObjectName(name + QString::number(tag));
            button->setProperty(kTag, tag);
            button->setGeometry(x, 0, 25, 25);
            QObject::connect(button, &QPushButton::clicked, button,
                             [this, button] { QuantityButtonClick(button); });
            return button;
        };
        stepButton(QStringLiteral("-"), QStringLiteral("btnDecrease"), 0);
        // Starts at what the basket holds, so "+" adds to the line instead of resetting it.
        auto* count = new QLabel(
            ShortNumber(FOwner->CartLineQuantity(FDishItem->caipinid, spec.skuid)), panel);
        count->setObjectName(QStringLiteral("QuantityLabel") + QString::number(tag));
        count->setGeometry(25, 0, 30, 25);
        count->setAlignment(Qt::AlignCenter);
        SetFontStyle(count, 9, true);
        stepButton(QStringLiteral("+"), QStringLiteral("btnIncrease"), 55);
    }
}

void TSpecSelectionDialog::QuantityButtonClick(QPushButton* Sender) {
    const int32_t SpecIndex = Sender->property(kTag).toInt();
    QWidget* QuantityPanel = Sender->parentWidget();
    if (!QuantityPanel || !qobject_cast<QDialog*>(Sender->window()))
        return;
    auto* lblQuantity = QuantityPanel->findChild<QLabel*>(
        QStringLiteral("QuantityLabel") + QString::number(SpecIndex), Qt::FindDirectChildrenOnly);
    if (!lblQuantity || SpecIndex < 0 || SpecIndex >= FDishItem->Specs.size())
        return;
    const TSpecItem& spec = FDishItem->Specs.at(SpecIndex);

    double CurrentQuantity = CountFromText(lblQuantity->text());
    if (Sender->text() == QStringLiteral("+"))
        CurrentQuantity += 1;
    else if (Sender->text() == QStringLiteral("-") && CurrentQuantity > 0)
        CurrentQuantity -= 1;

    if (CurrentQuantity > 0) {
        TOrderItem item;
        item.caipinid = FDishItem->caipinid;
        item.title = FDishItem->title + QStringLiteral(" (") + spec.title + QLatin1Char(')');
        item.Price = spec.Price;
        item.Quantity = CurrentQuantity;
        item.SpecSelected = true;
        item.sku = spec.title;
        item.skuid = spec.skuid;
        FOwner->UpdateOrderItemFromSpec(item);
    } else {
        FOwner->RemoveOrderItemFromSpec(FDishItem->caipinid, spec.skuid);
    }
    // Shown once the basket has it: a failed write leaves the count as it was.
    lblQuantity->setText(ShortNumber(CurrentQuantity));
    FSelectedQuantity = CurrentQuantity;
    FSelectedSpecIndex = SpecIndex;
    FOwner->RefreshAllDishQuantities();
}
