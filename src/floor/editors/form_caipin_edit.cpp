#include "floor/editors/form_caipin_edit.h"

#include "common/clock.h"
#include "common/messages.h"
#include "common/ui/closeonescape.h"
#include "common/ui/laymsg.h"
#include "floor/editors/dishedit.h"
#include "floor/editors/editorcontrols.h"
#include "floor/editors/skucontrolgroup.h"
#include "floor/lists/flatbutton.h"
#include "store/floatformat.h"
#include "store/sqlitedb.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kHeaderHeight = 118;
constexpr int kFooterHeight = 43;
constexpr int kSkuRowPitch = 40;

} // namespace

TForm_caipin_edit::TForm_caipin_edit() : QWidget(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("Form_caipin_edit"));
    setWindowTitle(QStringLiteral("添加菜品"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setWidgetResizable(true);
    FSkuPanel = new QWidget;
    FSkuPanel->setObjectName(QStringLiteral("SkuPanel"));
    FSkuPanel->setMinimumSize(520, FNextSkuTop);
    ScrollBox1->setWidget(FSkuPanel);
    auto* skuRow = new QHBoxLayout;
    skuRow->setContentsMargins(88, 0, 17, 0);
    skuRow->addWidget(ScrollBox1);

    // The save button stays below the rows however low the window is.
    auto* footer = new QWidget(this);
    footer->setFixedHeight(kFooterHeight);
    btnAdd = FlatButton(footer, QStringLiteral("btnAdd"), QStringLiteral("提交保存"), FlatBlue(),
                        QRect(88, 6, 83, 29));
    connect(btnAdd, &QPushButton::clicked, this, &TForm_caipin_edit::btnAddClick);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(0, 0, 0, 0);
    main->setSpacing(0);
    main->addWidget(buildHeader());
    main->addLayout(skuRow, 1);
    main->addWidget(footer);
    CloseOnEscape(this);

    FDatabase = OpenEditorDatabase(this);
}

TForm_caipin_edit::~TForm_caipin_edit() = default;

QWidget* TForm_caipin_edit::buildHeader() {
    auto* header = new QWidget(this);
    header->setObjectName(QStringLiteral("Header"));
    header->setFixedHeight(kHeaderHeight);
    header->setMinimumWidth(700);
    lab_title =
        LabeledEdit(header, QStringLiteral("lab_title"), QStringLiteral("菜品名称："), 88, 8, 321);
    lab_price =
        LabeledEdit(header, QStringLiteral("lab_price"), QStringLiteral("菜品价格："), 571, 8, 113);
    lab_price->setText(QStringLiteral("0"));
    auto* Label1 = new QLabel(QStringLiteral("所属分类："), header);
    Label1->setGeometry(25, 53, 64, 16);
    com_cid = ClassPicker(header, QStringLiteral("com_cid"), 91, 50, 145);
    Label1->setBuddy(com_cid);
    lab_sort =
        LabeledEdit(header, QStringLiteral("lab_sort"), QStringLiteral("排序号："), 571, 50, 113);
    lab_sort->setText(QStringLiteral("0"));
    btnAddSku = FlatButton(header, QStringLiteral("btnAddSku"), QStringLiteral("新增菜品做法"),
                           FlatGreen(), QRect(88, 84, 98, 28));
    connect(btnAddSku, &QPushButton::clicked, this,
            [this] { AddSkuControl(0, QString(), QStringLiteral("0"), true); });
    return header;
}

QSize TForm_caipin_edit::sizeHint() const {
    return QSize(850, 566);
}

void TForm_caipin_edit::OpenFor(int32_t id, QWidget* centreOn) {
    editid = id;
    Prepare();
    ShowEditor(this, centreOn);
}

void TForm_caipin_edit::Prepare() {
    LoadCid();
    ClearSkuControls();
    if (editid <= 0) {
        setWindowTitle(QStringLiteral("添加菜品"));
        ClearForm();
        lab_sort->setText(QString::number(
            FDatabase ? GetMaxSortValue(*FDatabase, QStringLiteral("zel_caipin")) + 1 : 1));
    } else {
        setWindowTitle(QStringLiteral("编辑菜品"));
        LoadDataToForm();
    }
}

void TForm_caipin_edit::LoadCid() {
    LoadClassPicker(com_cid, FDatabase.get(), QStringLiteral("zel_caipin_class"),
                    QStringLiteral("加载类别失败: "), this);
}

void TForm_caipin_edit::ClearForm() {
    lab_title->clear();
    lab_price->setText(QStringLiteral("0"));
    lab_sort->setText(QStringLiteral("0"));
    ChooseClass(com_cid, 0);
    ClearSkuControls();
}

void TForm_caipin_edit::LoadDataToForm() {
    if (!FDatabase)
        return;
    // Whatever fails, no field of the dish shown before stays under this editid.
    ClearForm();
    try {
        const auto dish = LoadDish(*FDatabase, editid);
        if (!dish)
            return;
        lab_title->setText(dish->title);
        lab_price->setText(FloatToStrGeneral(dish->price));
        lab_sort->setText(QString::number(dish->sort));
        ChooseClass(com_cid, dish->cid);
    } catch (const EMasterDataError& e) {
        laymsg(e.Message(), 0, this);
        return;
    }
    LoadSkuData();
}

void TForm_caipin_edit::LoadSkuData() {
    try {
        for (const TSkuRecord& sku : LoadDishSkus(*FDatabase, editid))
            AddSkuControl(sku.id, sku.title, FloatToStrGeneral(sku.price), false);
    } catch (const EMasterDataError& e) {
        laymsg(e.Message(), 0, this);
    }
}

void TForm_caipin_edit::AddSkuControl(int32_t SkuId, const QString& SkuName,
                                      const QString& SkuPrice, bool IsNew) {
    auto row = std::make_unique<TSkuControlGroup>(FSkuPanel, SkuId, SkuName, SkuPrice, IsNew);
    QPushButton* button = row->DeleteButton;
    connect(button, &QPushButton::clicked, this, [this, button] { SkuDeleteButtonClick(button); });
    row->SetTop(FNextSkuTop);
    FSkuControls.push_back(std::move(row));
    FNextSkuTop += kSkuRowPitch;
    FSkuPanel->setMinimumHeight(FNextSkuTop);
}

void TForm_caipin_edit::ClearSkuControls() {
    FSkuControls.clear();
    FNextSkuTop = 10;
    FSkuPanel->setMinimumHeight(FNextSkuTop);
}

void TForm_caipin_edit::SkuDeleteButtonClick(QPushButton* button) {
    const auto found =
        std::find_if(FSkuControls.begin(), FSkuControls.end(),
                     [button](const auto& row) { return row->DeleteButton == button; });
    if (found == FSkuControls.end())
        return;
    TSkuControlGroup& row = **found;
    const QString question = QStringLiteral("确定要删除做法 \"") + row.NameEdit->text().trimmed() +
                             QStringLiteral("\" 吗？");
    if (!Messages().YesNo(MessageCaption(), question))
        return;
    if (row.SkuId > 0 && !row.IsDeleted) {
        try {
            DeleteSku(*FDatabase, row.SkuId);
            row.IsDeleted = true;
            laymsg(QStringLiteral("删除做法成功"), 0, this);
        } catch (const EMasterDataError& e) {
            laymsg(QStringLiteral("删除做法失败: ") + e.Message(), 0, this);
        }
    }
    FSkuControls.erase(found);
    RearrangeSkuControls();
}

void TForm_caipin_edit::RearrangeSkuControls() {
    int top = 10;
    for (const auto& row : FSkuControls) {
        row->SetTop(top);
        top += kSkuRowPitch;
    }
    FNextSkuTop = 10 + kSkuRowPitch * int(FSkuControls.size());
    FSkuPanel->setMinimumHeight(FNextSkuTop);
}

TDishInput TForm_caipin_edit::formInput() const {
    TDishInput input;
    input.title = lab_title->text();
    input.price = lab_price->text();
    input.sort = lab_sort->text();
    input.cid = ChosenClass(com_cid);
    for (const auto& row : FSkuControls)
        input.skus.append(TSkuInput{row->SkuId, row->NameEdit->text(), row->PriceEdit->text(),
                                    row->IsNew, row->IsDeleted});
    return input;
}

bool TForm_caipin_edit::ValidateForm() {
    const auto error = ValidateDish(formInput());
    if (!error)
        return true;
    laymsg(error->message, 0, this);
    QLineEdit* field = nullptr;
    switch (error->field) {
    case TInputField::Title:
        field = lab_title;
        break;
    case TInputField::Price:
        field = lab_price;
        break;
    case TInputField::Sort:
        field = lab_sort;
        break;
    case TInputField::SkuName:
        field = FSkuControls[size_t(error->row)]->NameEdit;
        break;
    case TInputField::SkuPrice:
        field = FSkuControls[size_t(error->row)]->PriceEdit;
        break;
    }
    field->setFocus();
    ScrollBox1->ensureWidgetVisible(field);
    return false;
}

void TForm_caipin_edit::btnAddClick() {
    if (!FDatabase || !ValidateForm())
        return;
    const TDishInput input = formInput();
    TDishSaved saved;
    try {
        saved = SaveDish(*FDatabase, editid, input, zclock::Now());
    } catch (const EMasterDataError& e) {
        laymsg(e.Message(), 0, this);
        return;
    }
    editid = saved.id;
    for (size_t i = 0; i < FSkuControls.size(); ++i) {
        if (FSkuControls[i]->IsDeleted)
            continue;
        FSkuControls[i]->SkuId = saved.skuIds.value(qsizetype(i));
        FSkuControls[i]->IsNew = false;
    }
    laymsg(saved.added ? QStringLiteral("添加成功") : QStringLiteral("保存成功"), 0, this);
    emit Saved();
    laymsg(QStringLiteral("保存成功"), 0, this);
}
