// The ordering screen: creation, layout, opening for a table and reloads.

#include "ordering/form_diancan.h"

#include "common/appvalues.h"
#include "common/messages.h"
#include "common/ui/laymsg.h"
#include "common/ui/qtmessenger.h"
#include "common/ui/showcentred.h"
#include "ordering/TOrderManager.h"
#include "ordering/modalrunner.h"
#include "ordering/ordererror.h"
#include "ordering/panels.h"
#include "ordering/tiles/dishgrid.h"
#include "store/SQLiteORM.h"
#include "store/sqlitedb.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QScrollArea* listScrollBox(const QString& name) {
    auto* box = new QScrollArea;
    box->setObjectName(name);
    box->setFrameShape(QFrame::NoFrame);
    box->setWidgetResizable(true);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return box;
}

QLabel* boldLabel(const QString& name, const QString& text, QWidget* parent = nullptr) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    SetFontStyle(label, 9, true);
    return label;
}

QPushButton* batchButton(const QString& name, const QString& caption, QWidget* parent, int left) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(left, 25, 60, 25);
    return button;
}

} // namespace

TForm_diancan::TForm_diancan(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form_diancan"));
    setWindowTitle(QStringLiteral("餐厅点餐系统"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMinMaxButtonsHint, true);
    setFont(QFont(QStringLiteral("Segoe UI"), 9));
    resize(1384, 691);
    CreateMainLayout();
    CreateRightPanel();
}

TForm_diancan::~TForm_diancan() = default;

void TForm_diancan::CreateMainLayout() {
    auto* main = new QHBoxLayout(this);
    main->setContentsMargins(0, 0, 0, 0);
    main->setSpacing(0);

    pnlLeft = new QWidget(this);
    pnlLeft->setObjectName(QStringLiteral("pnlLeft"));
    main->addWidget(pnlLeft, 1);
    auto* left = new QVBoxLayout(pnlLeft);
    left->setContentsMargins(0, 0, 0, 0);

    Splitter1 = new QSplitter(Qt::Vertical, pnlLeft);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(5);
    Splitter1->setChildrenCollapsible(false);
    left->addWidget(Splitter1);

    pnlCategory = new QWidget;
    pnlCategory->setObjectName(QStringLiteral("pnlCategory"));
    pnlCategory->setMinimumHeight(30);
    SetBackground(pnlCategory, Qt::white);
    Splitter1->addWidget(pnlCategory);

    pnlDishList = new QWidget;
    pnlDishList->setObjectName(QStringLiteral("pnlDishList"));
    SetBackground(pnlDishList, Qt::white);
    Splitter1->addWidget(pnlDishList);
    // A palette, not a style sheet: a sheet would restyle every tile below it.
    SetBackground(Splitter1->handle(1), QColor(0xC0, 0xC0, 0xC0));
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({30, height() - 30 - Splitter1->handleWidth()});

    auto* dishes = new QVBoxLayout(pnlDishList);
    dishes->setContentsMargins(0, 0, 0, 0);
    ScrollBox1 = new QScrollArea(pnlDishList);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setWidgetResizable(false);
    SetBackground(ScrollBox1, Qt::white);
    ScrollBox1->installEventFilter(this);
    dishes->addWidget(ScrollBox1);

    pnlRight = new QWidget(this);
    pnlRight->setObjectName(QStringLiteral("pnlRight"));
    pnlRight->setFixedWidth(300);
    SetBackground(pnlRight, QColor(0xFA, 0xFA, 0xFA));
    main->addWidget(pnlRight);
}

void TForm_diancan::CreateRightPanel() {
    auto* right = new QVBoxLayout(pnlRight);
    right->setContentsMargins(0, 0, 0, 0);
    FPageControl = new QTabWidget(pnlRight);
    FPageControl->setObjectName(QStringLiteral("FPageControl"));
    SetFontStyle(FPageControl, 9);
    right->addWidget(FPageControl);

    FTabCart = new QWidget;
    FTabCart->setObjectName(QStringLiteral("FTabCart"));
    FPageControl->addTab(FTabCart, QStringLiteral("菜品篮"));
    auto* cart = new QVBoxLayout(FTabCart);
    cart->setContentsMargins(0, 0, 0, 0);
    cart->setSpacing(0);
    FCartScrollBox = listScrollBox(QStringLiteral("FCartScrollBox"));
    cart->addWidget(FCartScrollBox, 1);
    FTotalLabel = boldLabel(QStringLiteral("FTotalLabel"), QStringLiteral("总计: ￥0.00"));
    SetTextColour(FTotalLabel, QColor(0xFF, 0, 0));
    cart->addWidget(FTotalLabel);
    FConfirmButton = new QPushButton(QStringLiteral("确定点单"));
    FConfirmButton->setObjectName(QStringLiteral("FConfirmButton"));
    FConfirmButton->setFixedHeight(40);
    SetFontStyle(FConfirmButton, 10, true);
    cart->addWidget(FConfirmButton);
    connect(FConfirmButton, &QPushButton::clicked, this, &TForm_diancan::HandleConfirmOrder);

    FTabConfirmed = new QWidget;
    FTabConfirmed->setObjectName(QStringLiteral("FTabConfirmed"));
    FPageControl->addTab(FTabConfirmed, QStringLiteral("已点单"));
    auto* confirmed = new QVBoxLayout(FTabConfirmed);
    confirmed->setContentsMargins(0, 0, 0, 0);
    confirmed->setSpacing(0);
    FConfirmedScrollBox = listScrollBox(QStringLiteral("FConfirmedScrollBox"));
    confirmed->addWidget(FConfirmedScrollBox, 1);

    auto* batch = new TAnchorPanel;
    FBatchPanel = batch;
    FBatchPanel->setObjectName(QStringLiteral("FBatchPanel"));
    FBatchPanel->setFixedHeight(80);
    SetBackground(FBatchPanel, FBatchPanel->palette().color(QPalette::Button));
    confirmed->addWidget(FBatchPanel);
    QLabel* stats = boldLabel(QStringLiteral("lblConfirmedStats"),
                              QStringLiteral("菜品数量: 0 | 合计: ￥0.00"), batch);
    SetTextColour(stats, QColor(0, 0, 0xFF));
    stats->setGeometry(0, 0, batch->width(), stats->sizeHint().height());
    batch->AnchorRight(stats, true);

    FSelectAllCheckBox = new QCheckBox(QStringLiteral("全选"), batch);
    FSelectAllCheckBox->setObjectName(QStringLiteral("FSelectAllCheckBox"));
    FSelectAllCheckBox->setGeometry(10, 25, 50, 25);
    connect(FSelectAllCheckBox, &QCheckBox::clicked, this, &TForm_diancan::HandleSelectAllClick);
    // Each starts 10 pixels after the previous control.
    FBatchServedButton = batchButton(QStringLiteral("FBatchServedButton"), QStringLiteral("出菜"),
                                     batch, 10 + 50 + 10);
    FBatchReturnButton = batchButton(QStringLiteral("FBatchReturnButton"), QStringLiteral("退菜"),
                                     batch, 70 + 60 + 10);
    FBatchDeleteButton = batchButton(QStringLiteral("FBatchDeleteButton"), QStringLiteral("删除"),
                                     batch, 140 + 60 + 10);
    connect(FBatchServedButton, &QPushButton::clicked, this,
            &TForm_diancan::HandleBatchServedOrder);
    connect(FBatchReturnButton, &QPushButton::clicked, this,
            &TForm_diancan::HandleBatchReturnOrder);
    connect(FBatchDeleteButton, &QPushButton::clicked, this,
            &TForm_diancan::HandleBatchDeleteOrder);
}

void TForm_diancan::CreateCartStatsLabel() {
    if (FTabCart->findChild<QLabel*>(QStringLiteral("lblCartStats")))
        return;
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("CartStatsPanel"));
    panel->setFixedHeight(25);
    SetBackground(panel, panel->palette().color(QPalette::Button));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(boldLabel(QStringLiteral("lblCartStats"), QStringLiteral("菜品数量: 0")));
    // Above the total and the confirm button, below the list.
    static_cast<QVBoxLayout*>(FTabCart->layout())->insertWidget(1, panel);
}

void TForm_diancan::layoutNow() {
    // Sizes are needed before the first show (the dish grid is laid out for
    // the scroll area's width), and hidden widgets get no resize events.
    for (QWidget* w : QList<QWidget*>{this} + findChildren<QWidget*>()) {
        if (QLayout* l = w->layout()) {
            l->invalidate();
            l->activate();
        }
        if (auto* splitter = qobject_cast<QSplitter*>(w))
            splitter->refresh();
    }
}

void TForm_diancan::FormCreate() {
    // Every number text of the program uses "." and ","; set again, it changes nothing.
    QLocale::setDefault(QLocale::c());
    try {
        FDatabase = std::make_unique<TSQLiteDatabase>(sqlitename);
        FOrderManager = std::make_unique<TOrderManager>(FDatabase.get());
        FDishControlManager =
            std::make_unique<TDishControlManager>(this, ScrollBox1, FDishes, FOrderManager.get());
        FDishControlManager->SetOnQuantityChange(
            [this](QPushButton* sender) { HandleDishQuantityChange(sender); });
        FDishControlManager->SetOnSpecButtonClick(
            [this](QPushButton* sender) { HandleSpecSelection(sender); });
        CreateCartStatsLabel();
        layoutNow();
        LoadCategories();
        LoadDishesByCategory(0);
    } catch (const std::exception& e) {
        laymsg(QStringLiteral("初始化失败: ") + QString::fromUtf8(e.what()), 2, this);
        emit Notified(QStringLiteral("初始化失败: ") + QString::fromUtf8(e.what()));
        close();
    }
}

bool TForm_diancan::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ScrollBox1 && event->type() == QEvent::Resize)
        fitDishGrid();
    return QDialog::eventFilter(watched, event);
}

void TForm_diancan::fitDishGrid() {
    QWidget* panel = FDishControlManager ? FDishControlManager->GridPanel() : nullptr;
    if (!panel)
        return;
    const auto count = int32_t(FDishes.size());
    const TDishGrid now = DishGrid(ScrollBox1->width() - 2 * ScrollBox1->frameWidth(), count);
    const TDishGrid before = DishGrid(panel->width() + 20, count);
    // Tiles move only when the number of columns changes; a resize within
    // the same columns keeps them and only the grid's width follows.
    if (now.ColCount == before.ColCount) {
        panel->resize(qMax(0, now.AvailableWidth), panel->height());
        return;
    }
    FDishControlManager->RefreshDishDisplay();
    RefreshAllDishQuantities();
}

void TForm_diancan::requireManager() const {
    if (!FOrderManager)
        throw EOrderError(QStringLiteral("初始化失败: 点餐系统未打开数据库"));
}

int TForm_diancan::OpenForDesk(int32_t ADeskID, QWidget* centreOn) {
    SetDeskID(ADeskID);
    LoadDataToForm();
    FitOnScreen(this, centreOn);
    return RunModal(*this);
}

void TForm_diancan::SetDeskID(int32_t ADeskID) {
    requireManager();
    FDeskID = QString::number(ADeskID);
    // The table's code comes with its row (LoadDataToForm); until then no
    // other table's code stays in the caption.
    setWindowTitle(QStringLiteral("点餐系统"));
    // A tick left from the previous table would claim lines nobody ticked.
    FSelectAllCheckBox->setChecked(false);
    FOrderManager->SetDeskID(FDeskID);
    RefreshCartDisplay();
    RefreshConfirmedDisplay();
    UpdateTotalDisplay();
    RefreshAllDishQuantities();
    UpdateCartStatsDisplay();
    UpdateConfirmedStatsDisplay();
}

int32_t TForm_diancan::DeskID() const {
    return FDeskID.toInt();
}

void TForm_diancan::LoadDataToForm() {
    if (FDeskID.isEmpty() || !FDatabase)
        return;
    TSQLiteORM desk(FDatabase.get(), QStringLiteral("zel_desk"));
    const auto row = desk.Where(QStringLiteral("id=") + FDeskID).First();
    if (desk.LastFailed() || !row) {
        const QString text = QStringLiteral("加载失败: ") + desk.LastError();
        laymsg(text, 2, this);
        emit Notified(text);
        return;
    }
    if (row->Eof())
        return;
    Desktitle = TSQLiteORM::GetFieldAsString(row.get(), QStringLiteral("title"));
    Deskbh = TSQLiteORM::GetFieldAsString(row.get(), QStringLiteral("bh"));
    Desknums = TSQLiteORM::GetFieldAsString(row.get(), QStringLiteral("nums"));
    DeskStatus = TSQLiteORM::GetFieldAsString(row.get(), QStringLiteral("stat"));
    // The code the floor and the table window show, not the row's id.
    setWindowTitle(QStringLiteral("点餐系统 - 桌位号: ") + Deskbh);
}

void TForm_diancan::RefreshOrderData() {
    requireManager();
    FOrderManager->LoadCartItems();
    FOrderManager->LoadConfirmedItems();
    RefreshCartDisplay();
    RefreshConfirmedDisplay();
    UpdateTotalDisplay();
    RefreshAllDishQuantities();
    UpdateCartStatsDisplay();
    UpdateConfirmedStatsDisplay();
}

void TForm_diancan::RefreshAllData() {
    try {
        requireManager();
        LoadCategories();
        const TLabelButton* selected = FCategoryLabels.value(FSelectedCategoryIndex);
        LoadDishesByCategory(selected ? selected->property("tag").toInt() : 0);
        RefreshOrderData();
        ShowNotification(QStringLiteral("数据已刷新"));
    } catch (const std::exception& e) {
        ShowNotification(QStringLiteral("刷新数据失败: ") + QString::fromUtf8(e.what()));
    }
}

void TForm_diancan::ShowNotification(const QString& Msg) {
    laymsg(Msg, 3, this);
    emit Notified(Msg);
}

bool TForm_diancan::ask(const QString& question) {
    TMessageOwner owner(this);
    return Messages().OkCancel(MessageCaption(), question);
}
