#include "billing/orders/form_orders_detail.h"

#include "billing/orders/orderhistory.h"
#include "billing/printing/myprint.h"
#include "common/appvalues.h"
#include "common/ui/closeonescape.h"
#include "common/ui/laymsg.h"
#include "common/ui/listviewwidth.h"
#include "common/ui/showcentred.h"
#include "floor/lists/flatbutton.h"
#include "store/sqlitedb.h"

#include <QColor>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

TForm_orders_detail::TForm_orders_detail() : QWidget(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("Form_orders_detail"));
    setWindowTitle(QStringLiteral("订单详情"));
    try {
        FDatabase = std::make_unique<TSQLiteDatabase>(sqlitename);
    } catch (const ESQLiteException& e) {
        laymsg(QStringLiteral("数据库连接失败: ") + e.Message(), 0, this);
        QTimer::singleShot(0, this, &QWidget::close);
    }

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(12, 10, 12, 10);
    main->setSpacing(8);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    lab_title = addField(grid, 0, 0, QStringLiteral("订单名称："), "lab_title");
    lab_ordid = addField(grid, 0, 1, QStringLiteral("订单编号："), "lab_ordid");
    lab_price = addField(grid, 1, 0, QStringLiteral("订单金额："), "lab_price");
    lab_addtime = addField(grid, 1, 1, QStringLiteral("下单时间："), "lab_addtime");
    lab_shishou = addField(grid, 2, 0, QStringLiteral("实收金额："), "lab_shishou");
    lab_zhaoling = addField(grid, 2, 1, QStringLiteral("找零金额："), "lab_zhaoling");
    lab_bh = addField(grid, 3, 0, QStringLiteral("桌位号码："), "lab_bh");
    lab_nums = addField(grid, 3, 1, QStringLiteral("用餐人数："), "lab_nums");
    lab_ydtel = addField(grid, 4, 0, QStringLiteral("预订电话："), "lab_ydtel");
    lab_yj = addField(grid, 4, 1, QStringLiteral("开台押金："), "lab_yj");
    lab_ydtruename = addField(grid, 5, 0, QStringLiteral("预订人名："), "lab_ydtruename");
    lab_fwy = addField(grid, 5, 1, QStringLiteral("服务人员："), "lab_fwy");
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    main->addLayout(grid);

    auto* heading = new QLabel(QStringLiteral("订单明细"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    main->addWidget(heading);

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setRootIsDecorated(false);
    ListView1->setColumnCount(5);
    ListView1->setHeaderLabels({QStringLiteral("菜品名称"), QStringLiteral("单价"),
                                QStringLiteral("数量"), QStringLiteral("小计"),
                                QStringLiteral("做法")});
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setSectionsClickable(false);
    const int widths[] = {200, 90, 70, 90, 120};
    for (int i = 0; i < 5; ++i)
        ListView1->setColumnWidth(i, widths[i]);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setMinimumHeight(80);
    main->addWidget(ListView1, 1);

    auto* bottom = new QWidget(this);
    bottom->setFixedHeight(32);
    btn_keda = FlatButton(bottom, QStringLiteral("btn_keda"), QStringLiteral("打印小票"),
                          FlatBlue(), QRect(0, 3, 90, 25));
    connect(btn_keda, &QPushButton::clicked, this, &TForm_orders_detail::btn_kedaClick);
    main->addWidget(bottom);
    CloseOnEscape(this);
}

TForm_orders_detail::~TForm_orders_detail() = default;

QLabel* TForm_orders_detail::addField(QGridLayout* grid, int row, int column,
                                      const QString& caption, const char* name) {
    auto* label = new QLabel(caption, this);
    auto* value = new QLabel(this);
    value->setObjectName(QString::fromLatin1(name));
    // Stored texts are shown as typed, never as markup.
    value->setTextFormat(Qt::PlainText);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long name wraps, so the details stay whole.
    value->setWordWrap(true);
    value->setMinimumWidth(120);
    label->setBuddy(value);
    grid->addWidget(label, row, column * 2, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(value, row, column * 2 + 1);
    return value;
}

QSize TForm_orders_detail::sizeHint() const {
    // Taller when long names wrap, so every line of them shows.
    const int width = 640;
    return QSize(width, std::max(500, layout()->totalHeightForWidth(width)));
}

void TForm_orders_detail::getdata() {
    if (!FDatabase)
        return;
    TOrderDetail detail;
    try {
        detail = ReadOrderDetail(*FDatabase, Ordid);
    } catch (const std::exception& e) {
        laymsg(QStringLiteral("加载失败: ") + QString::fromUtf8(e.what()), 0, this);
        return;
    }
    if (detail.found) {
        lab_title->setText(detail.title);
        lab_ordid->setText(detail.ordid);
        lab_price->setText(detail.price);
        lab_shishou->setText(detail.shishou);
        lab_zhaoling->setText(detail.zhaoling);
        lab_yj->setText(detail.yj);
        lab_addtime->setText(detail.addtime);
        lab_bh->setText(detail.bh);
        lab_nums->setText(detail.nums);
        lab_ydtel->setText(detail.ydtel);
        lab_ydtruename->setText(detail.ydtruename);
        lab_fwy->setText(detail.fwy);
        FBh = detail.bh;
    }
    ListView1->clear();
    QList<QTreeWidgetItem*> items;
    for (const TOrderDetailLine& line : detail.lines) {
        auto* item = new QTreeWidgetItem(
            QStringList{line.title, line.oneprice, line.quantity, line.price, line.sku});
        if (line.returned) {
            QFont struck = ListView1->font();
            struck.setStrikeOut(true);
            for (int column = 0; column < item->columnCount(); ++column) {
                item->setFont(column, struck);
                item->setForeground(column, QColor(0x99, 0x99, 0x99));
            }
        }
        items << item;
    }
    ListView1->addTopLevelItems(items);
}

void TForm_orders_detail::btn_kedaClick() {
    QString result;
    try {
        result = ReprintOrder(Ordid, FBh);
    } catch (const std::exception& e) {
        result = QStringLiteral("打印失败: ") + QString::fromUtf8(e.what());
    }
    if (result != printresult::Done())
        laymsg(result, 0, this);
}

void TForm_orders_detail::OpenFor(const QString& id, QWidget* owner) {
    Ordid = id;
    getdata();
    ShowCentred(this, owner);
}

void TForm_orders_detail::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        listviewwidth(0, ListView1);
}

void TForm_orders_detail::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isVisible())
        listviewwidth(0, ListView1);
}
