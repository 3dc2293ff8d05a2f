#include "billing/table/form_desk_open.h"

#include "billing/table/bill/paytypes.h"
#include "billing/table/deskpicker.h"
#include "billing/table/deskview.h"
#include "common/appvalues.h"
#include "common/messages.h"
#include "common/myfun.h"
#include "common/ui/closeonescape.h"
#include "common/ui/fitscrollarea.h"
#include "common/ui/laymsg.h"
#include "common/ui/listviewwidth.h"
#include "common/ui/showcentred.h"
#include "store/sqlitedb.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kRowHeight = 24;

// Rows of the line list are a fixed 24 pixels high.
class TRowHeightDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(kRowHeight);
        return size;
    }
};

QLineEdit* labelledEdit(QWidget* parent, QFormLayout* form, const QString& name,
                        const QString& caption, const QString& text) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    auto* label = new QLabel(caption, parent);
    label->setTextFormat(Qt::PlainText);
    label->setBuddy(edit);
    form->addRow(label, edit);
    return edit;
}

QLabel* captionedLabel(QWidget* parent, QHBoxLayout* row, const QString& name,
                       const QString& caption, const QString& text) {
    auto* captionLabel = new QLabel(caption, parent);
    captionLabel->setTextFormat(Qt::PlainText);
    row->addWidget(captionLabel);
    // Table names and codes are shown as typed.
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    row->addWidget(label);
    return label;
}

} // namespace

TForm_desk_open::TForm_desk_open(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Form_desk_open"));
    setWindowTitle(QStringLiteral("请选择操作"));
    buildControls();
    resize(960, 600);
}

TForm_desk_open::~TForm_desk_open() = default;

QPushButton* TForm_desk_open::addButton(const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setMinimumHeight(32);
    return button;
}

void TForm_desk_open::buildControls() {
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumnCount(5);
    ListView1->setHeaderLabels({QStringLiteral("菜品名称"), QStringLiteral("数量"),
                                QStringLiteral("单价"), QStringLiteral("小计"),
                                QStringLiteral("状态")});
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setItemDelegate(new TRowHeightDelegate(ListView1));
    ListView1->header()->setStretchLastSection(false);
    ListView1->setColumnWidth(1, 60);
    ListView1->setColumnWidth(2, 80);
    ListView1->setColumnWidth(3, 80);
    ListView1->setColumnWidth(4, 80);
    connect(ListView1, &QTreeWidget::itemPressed, this, [this] {
        if (QApplication::mouseButtons() & Qt::LeftButton)
            ListView1->setFocus();
    });

    btnSelectAll = addButton(QStringLiteral("btnSelectAll"), QStringLiteral("全选"));
    btn_ycc = addButton(QStringLiteral("btn_ycc"), QStringLiteral("已出菜"));
    btn_dzz = addButton(QStringLiteral("btn_dzz"), QStringLiteral("待制作"));
    btn_tc = addButton(QStringLiteral("btn_tc"), QStringLiteral("退菜"));
    auto* listButtons = new QHBoxLayout;
    for (QPushButton* b : {btnSelectAll, btn_ycc, btn_dzz, btn_tc})
        listButtons->addWidget(b);
    listButtons->addStretch();
    // The totals have a row of their own, so the window stays narrow enough for a small screen.
    auto* totals = new QHBoxLayout;
    totals->addStretch();
    labTotalAmount = captionedLabel(this, totals, QStringLiteral("labTotalAmount"),
                                    QStringLiteral("合计："), QStringLiteral("0.00"));
    totals->addSpacing(16);
    labTotalDishes = captionedLabel(this, totals, QStringLiteral("labTotalDishes"),
                                    QStringLiteral("菜品数量："), QStringLiteral("0"));
    QFont totalFont = labTotalAmount->font();
    totalFont.setBold(true);
    labTotalAmount->setFont(totalFont);
    labTotalAmount->setStyleSheet(QStringLiteral("color: #C00000"));

    auto* left = new QVBoxLayout;
    left->addWidget(ListView1, 1);
    left->addLayout(listButtons);
    left->addLayout(totals);

    auto* deskRow = new QHBoxLayout;
    lab_deskinfo = captionedLabel(this, deskRow, QStringLiteral("lab_deskinfo"),
                                  QStringLiteral("桌位号："), QStringLiteral("--"));
    lab_deskinfo->setFont(totalFont);
    deskRow->addStretch();

    auto* details = new QFormLayout;
    lab_nums = labelledEdit(this, details, QStringLiteral("lab_nums"), QStringLiteral("用餐人数："),
                            QStringLiteral("0"));
    lab_fwy = labelledEdit(this, details, QStringLiteral("lab_fwy"), QStringLiteral("服务人员："),
                           QString());
    lab_ydtruename = labelledEdit(this, details, QStringLiteral("lab_ydtruename"),
                                  QStringLiteral("预订人："), QString());
    lab_ydtel = labelledEdit(this, details, QStringLiteral("lab_ydtel"),
                             QStringLiteral("预订电话："), QString());
    lab_yj = labelledEdit(this, details, QStringLiteral("lab_yj"), QStringLiteral("预订押金："),
                          QStringLiteral("0"));

    box_paytype = new QGroupBox(QStringLiteral("支付方式"), this);
    box_paytype->setObjectName(QStringLiteral("box_paytype"));
    auto* payGrid = new QGridLayout(box_paytype);
    FPayTypes = new QButtonGroup(this);
    int index = 0;
    for (const TPayType& type : PayTypes()) {
        auto* radio = new QRadioButton(type.Caption, box_paytype);
        radio->setObjectName(QStringLiteral("paytype_%1").arg(type.Code));
        FPayTypes->addButton(radio, type.Code);
        payGrid->addWidget(radio, index / 4, index % 4);
        ++index;
    }
    SetPayType(1);

    auto* amounts = new QFormLayout;
    lab_shishou = labelledEdit(this, amounts, QStringLiteral("lab_shishou"),
                               QStringLiteral("实收金额："), QStringLiteral("0"));
    lab_zhaoling = labelledEdit(this, amounts, QStringLiteral("lab_zhaoling"),
                                QStringLiteral("找零金额："), QStringLiteral("0"));
    lab_zhaoling->setReadOnly(true);
    QPalette readOnly = lab_zhaoling->palette();
    readOnly.setColor(QPalette::Base, readOnly.color(QPalette::Window));
    lab_zhaoling->setPalette(readOnly);
    // textEdited: typing only, never the reload that sets the amount.
    connect(lab_shishou, &QLineEdit::textEdited, this, &TForm_desk_open::lab_shishouChange);

    CnButton1 = addButton(QStringLiteral("CnButton1"), QStringLiteral("开台"));
    btnAdd = addButton(QStringLiteral("btnAdd"), QStringLiteral("清台"));
    btn_keda = addButton(QStringLiteral("btn_keda"), QStringLiteral("客打小票"));
    btn_chuda = addButton(QStringLiteral("btn_chuda"), QStringLiteral("厨打小票"));
    btnOrder = addButton(QStringLiteral("btnOrder"), QStringLiteral("下单点餐"));
    CnButton2 = addButton(QStringLiteral("CnButton2"), QStringLiteral("提交保存"));
    btnSettle = addButton(QStringLiteral("btnSettle"), QStringLiteral("订单结算"));
    btn_hz = addButton(QStringLiteral("btn_hz"), QStringLiteral("换桌"));
    btn_bt = addButton(QStringLiteral("btn_bt"), QStringLiteral("并台"));
    btnSettle->setMinimumHeight(44);
    btnSettle->setFont(totalFont);
    auto* commands = new QGridLayout;
    commands->addWidget(CnButton1, 0, 0);
    commands->addWidget(btnAdd, 0, 1);
    commands->addWidget(btn_keda, 1, 0);
    commands->addWidget(btn_chuda, 1, 1);
    commands->addWidget(btnOrder, 2, 0);
    commands->addWidget(CnButton2, 2, 1);
    commands->addWidget(btn_hz, 3, 0);
    commands->addWidget(btn_bt, 3, 1);
    commands->addWidget(btnSettle, 4, 0, 1, 2);

    // The details scroll on a screen too low for them; the commands below
    // them stay in sight.
    auto* fields = new QVBoxLayout;
    fields->setContentsMargins(0, 0, 0, 0);
    fields->addLayout(deskRow);
    fields->addLayout(details);
    fields->addWidget(box_paytype);
    fields->addLayout(amounts);
    fields->addStretch();
    auto* fieldsPanel = new QWidget;
    fieldsPanel->setObjectName(QStringLiteral("FieldsPanel"));
    fieldsPanel->setLayout(fields);
    auto* fieldsArea = new TFitScrollArea(this);
    fieldsArea->setObjectName(QStringLiteral("FieldsArea"));
    fieldsArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fieldsArea->setWidget(fieldsPanel);

    auto* right = new QVBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    right->addWidget(fieldsArea, 1);
    right->addLayout(commands);
    auto* rightPanel = new QWidget(this);
    rightPanel->setLayout(right);
    rightPanel->setFixedWidth(340);

    auto* main = new QHBoxLayout(this);
    main->addLayout(left, 1);
    main->addWidget(rightPanel);

    connect(btnSelectAll, &QPushButton::clicked, this, &TForm_desk_open::btnSelectAllClick);
    connect(btn_ycc, &QPushButton::clicked, this,
            [this] { batchCommand(QStringLiteral("已出菜"), 3, QStringLiteral("已出菜 ")); });
    connect(btn_dzz, &QPushButton::clicked, this,
            [this] { batchCommand(QStringLiteral("待制作"), 0, QStringLiteral("待制作 ")); });
    connect(btn_tc, &QPushButton::clicked, this,
            [this] { batchCommand(QStringLiteral("设置为退菜"), 7, QStringLiteral("退菜 ")); });
    connect(CnButton1, &QPushButton::clicked, this, &TForm_desk_open::CnButton1Click);
    connect(btnAdd, &QPushButton::clicked, this, &TForm_desk_open::btnAddClick);
    connect(CnButton2, &QPushButton::clicked, this, &TForm_desk_open::CnButton2Click);
    connect(btn_keda, &QPushButton::clicked, this, &TForm_desk_open::printReceipt);
    connect(btn_chuda, &QPushButton::clicked, this, [this] { PrintKitchenTicket(true); });
    connect(btn_hz, &QPushButton::clicked, this, [this] { moveClick(TDeskMove::Transfer); });
    connect(btn_bt, &QPushButton::clicked, this, [this] { moveClick(TDeskMove::Merge); });
    Form_desk_picker = new TForm_desk_picker(this);
    connect(Form_desk_picker, &TForm_desk_picker::DeskPicked, this, &TForm_desk_open::deskPicked);
    connect(btnOrder, &QPushButton::clicked, this, &TForm_desk_open::btnOrderClick);
    connect(btnSettle, &QPushButton::clicked, this, &TForm_desk_open::btnSettleClick);
    CloseOnEscape(this);
}

void TForm_desk_open::OpenForDesk(int32_t ADeskID, QWidget* centreOn) {
    // A pick moves the party shown when the picker opened; the window must
    // not switch tables under it, whatever reaches the floor meanwhile.
    if (Form_desk_picker->isVisible())
        return;
    FitOnScreen(this, centreOn);
    SetDeskID(ADeskID);
    show();
    raise();
    activateWindow();
}

void TForm_desk_open::SetDeskID(int32_t ADeskID) {
    DeskID = ADeskID;
    LoadDataToForm();
}

void TForm_desk_open::LoadDataToForm() {
    if (DeskID > 0) {
        try {
            if (const std::optional<TDeskDetailsRow> row = ReadDeskRow(database(), DeskID)) {
                Desktitle = row->title;
                Deskbh = row->bh;
                Desknums = row->nums;
                DeskStatus = row->stat;
                DeskPrice = row->price;
                lab_nums->setText(row->nums);
                lab_fwy->setText(row->fwy);
                lab_ydtruename->setText(row->ydtruename);
                lab_ydtel->setText(row->ydtel);
                lab_yj->setText(row->yj);
                lab_deskinfo->setText(row->bh + QStringLiteral("号,") + row->title);
            }
        } catch (const std::exception& e) {
            showError(QString::fromUtf8(e.what()));
        }
    }
    LoadOrderDetails();
}

void TForm_desk_open::LoadOrderDetails() {
    if (DeskID <= 0)
        return;
    TDeskLines lines;
    try {
        lines = ReadDeskLines(database(), DeskID);
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
        return;
    }
    QList<QTreeWidgetItem*> items;
    items.reserve(lines.Lines.size());
    for (const TDeskLine& line : lines.Lines) {
        auto* item = new QTreeWidgetItem(
            {line.Title, line.Quantity, line.OnePrice, line.Subtotal, line.StatText});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
        item->setData(0, Qt::UserRole, line.ID);
        item->setData(0, Qt::UserRole + 1, line.Stat);
        for (int column = 1; column <= 3; ++column)
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        if (line.Stat == 7) // listed, but paid for by nobody
            for (int column = 0; column < 5; ++column)
                item->setForeground(column, QColor(0x80, 0x80, 0x80));
        items.append(item);
    }
    ListView1->clear();
    ListView1->addTopLevelItems(items);
    const QString total = AmountText(lines);
    labTotalAmount->setText(QStringLiteral("￥") + total);
    labTotalDishes->setText(DishCountText(lines));
    lab_shishou->setText(total);
    lab_zhaoling->setText(QStringLiteral("0.00"));
}

int32_t TForm_desk_open::GetSelectedItemCount() const {
    int32_t count = 0;
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i)
        if (ListView1->topLevelItem(i)->checkState(0) == Qt::Checked)
            ++count;
    return count;
}

int32_t TForm_desk_open::PayType() const {
    const int code = FPayTypes->checkedId();
    return code < 0 ? 0 : code;
}

void TForm_desk_open::SetPayType(int32_t code) {
    if (QAbstractButton* button = FPayTypes->button(code))
        button->setChecked(true);
}

TSettleInput TForm_desk_open::SettleInput() const {
    TSettleInput input;
    input.DeskID = DeskID;
    input.Deskbh = Deskbh;
    input.Desktitle = Desktitle;
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = ListView1->topLevelItem(i);
        input.Lines.append({item->data(0, Qt::UserRole).toInt(), item->text(3),
                            item->data(0, Qt::UserRole + 1).toInt()});
    }
    input.PayType = PayType();
    input.Shishou = lab_shishou->text();
    input.Zhaoling = lab_zhaoling->text();
    input.Nums = lab_nums->text();
    input.Yj = lab_yj->text();
    input.Fwy = lab_fwy->text();
    input.Ydtruename = lab_ydtruename->text();
    input.Ydtel = lab_ydtel->text();
    return input;
}

void TForm_desk_open::SetOrderScreen(std::function<void(int32_t)> showModal) {
    FOrderScreen = std::move(showModal);
}

void TForm_desk_open::lab_shishouChange(const QString& text) {
    if (const std::optional<QString> change = ComputeChange(text, labTotalAmount->text()))
        lab_zhaoling->setText(*change);
}

void TForm_desk_open::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    listviewwidth(0, ListView1);
    LoadOrderDetails();
    if (ListView1->topLevelItemCount() > 0)
        ListView1->setFocus();
}

void TForm_desk_open::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    listviewwidth(0, ListView1);
}

void TForm_desk_open::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        focusList();
}

void TForm_desk_open::focusList() {
    if (ListView1->topLevelItemCount() > 0)
        ListView1->setFocus();
}

void TForm_desk_open::notify(const QString& text) {
    laymsg(text, 0, this);
    emit Notified(text);
}

void TForm_desk_open::showError(const QString& text) {
    Messages().Info(MessageCaption(), text);
}

bool TForm_desk_open::ask(const QString& question) {
    if (Messages().OkCancel(MessageCaption(), question))
        return true;
    notify(QStringLiteral("您取消了操作"));
    return false;
}

TSQLiteDatabase& TForm_desk_open::database() {
    // The window keeps one connection; it follows the database path if that moves.
    if (!FDatabase || FDatabaseName != sqlitename) {
        FDatabase.reset();
        FDatabase = std::make_unique<TSQLiteDatabase>(sqlitename);
        FDatabaseName = sqlitename;
    }
    return *FDatabase;
}
