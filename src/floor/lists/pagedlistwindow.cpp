#include "floor/lists/pagedlistwindow.h"

#include "common/appvalues.h"
#include "common/messages.h"
#include "common/ui/closeonescape.h"
#include "common/ui/laymsg.h"
#include "common/ui/listviewwidth.h"
#include "floor/lists/flatbutton.h"
#include "floor/lists/masterdata.h"
#include "floor/lists/pagedlist.h"
#include "floor/lists/pagedlistdelegate.h"
#include "floor/lists/pagedlistmodel.h"
#include "store/sqlitedb.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kTopRowHeight = 28;
constexpr int kBottomBarHeight = 42;
constexpr int kListWidth = 900;
constexpr int kListHeight = 609;

} // namespace

TPagedListWindow::TPagedListWindow(TListConfig config, const QString& objectName,
                                   const QString& caption, const QString& addCaption,
                                   const QString& relatedCaption)
    : TPagedListWindow(std::move(config), objectName, caption,
                       TListCommands{addCaption, relatedCaption}) {}

TPagedListWindow::TPagedListWindow(TListConfig config, const QString& objectName,
                                   const QString& caption, const TListCommands& commands)
    : QWidget(nullptr, Qt::Window), FDoubleClickOpens(commands.doubleClickOpens) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    try {
        FDatabase = std::make_unique<TSQLiteDatabase>(sqlitename);
        FList = std::make_unique<TPagedList>(*FDatabase, std::move(config), sqlitename);
    } catch (const ESQLiteException& e) {
        laymsg(QStringLiteral("数据库连接失败: ") + e.Message(), 0, this);
        QTimer::singleShot(0, this, &QWidget::close);
    }
    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(0, 0, 0, 0);
    main->setSpacing(0);
    if (!commands.refreshInBottomBar)
        main->addWidget(buildTopRow(commands));
    buildList();
    main->addWidget(ListView1, 1);
    main->addWidget(buildBottomBar(commands));
    UpdateButtonStates();
    CloseOnEscape(this);
}

// The view goes first: closing a shown window still asks the model and the
// delegate about the rows, and they read the list that the members free.
TPagedListWindow::~TPagedListWindow() {
    delete ListView1;
}

QWidget* TPagedListWindow::buildTopRow(const TListCommands& commands) {
    const QString& addCaption = commands.add;
    const QString& relatedCaption = commands.related;
    const bool narrow = relatedCaption.isEmpty();
    auto* row = new QWidget(this);
    row->setObjectName(QStringLiteral("TopRow"));
    row->setFixedHeight(kTopRowHeight);
    row->setMinimumWidth(320);
    if (!addCaption.isEmpty()) {
        btnAdd = FlatButton(row, QStringLiteral("btnAdd"), addCaption, FlatBlue(),
                            QRect(narrow ? 8 : 4, 4, 90, 20));
        connect(btnAdd, &QPushButton::clicked, this, &TPagedListWindow::AddRequested);
    }
    if (!relatedCaption.isEmpty()) {
        btnRefresh1 = FlatButton(row, QStringLiteral("btnRefresh1"), relatedCaption, FlatGreen(),
                                 QRect(114, 4, 83, 20));
        connect(btnRefresh1, &QPushButton::clicked, this, &TPagedListWindow::RelatedRequested);
    }
    btnRefresh = FlatButton(row, QStringLiteral("btnRefresh"), commands.refresh, FlatGreen(),
                            QRect(narrow ? 116 : 224, 4, 83, 20));
    connect(btnRefresh, &QPushButton::clicked, this, &TPagedListWindow::btnRefreshClick);
    return row;
}

void TPagedListWindow::buildList() {
    ListView1 = new QTableView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setShowGrid(false);
    ListView1->setWordWrap(false);
    ListView1->verticalHeader()->hide();
    ListView1->horizontalHeader()->setSectionsClickable(false);
    ListView1->horizontalHeader()->setHighlightSections(false);
    ListView1->horizontalHeader()->setStretchLastSection(false);
    if (!FList)
        return;
    const TListConfig& config = FList->Config();
    ListView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListView1->verticalHeader()->setDefaultSectionSize(config.rowHeight);
    FModel = new TPagedListModel(*FList, this);
    ListView1->setModel(FModel);
    ListView1->setItemDelegate(new TPagedListDelegate(*FList, ListView1));
    for (int i = 0; i < config.columns.size(); ++i) {
        ListView1->setColumnWidth(i, config.columns[i].width);
        FHasActions = FHasActions || config.columns[i].cell != TListCell::Text;
    }
    ListView1->viewport()->installEventFilter(this);
    FPendingClick = new QTimer(this);
    FPendingClick->setSingleShot(true);
    connect(FPendingClick, &QTimer::timeout, this, [this] {
        const std::function<void()> command = std::move(FPendingCommand);
        FPendingCommand = nullptr;
        if (command)
            command();
    });
    connect(ListView1, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid() && index.row() < FList->Rows().size())
            emit RowDoubleClicked(index.row());
    });
    FList->OnUpdateUI = [this] {
        UpdatePaginationUI();
    };
    FList->OnMissingFile = [this](const QString& path) {
        Messages().Info(MessageCaption(), QStringLiteral("数据库文件不存在: ") + path);
    };
}

QWidget* TPagedListWindow::buildBottomBar(const TListCommands& options) {
    GroupBox2 = new QWidget(this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setFixedHeight(kBottomBarHeight);
    // The commands keep their places; the page information keeps to the right edge.
    auto* commands = new QWidget(GroupBox2);
    commands->setObjectName(QStringLiteral("PageCommands"));
    commands->setFixedSize(options.refreshInBottomBar ? 680 : 620, kBottomBarHeight);
    btnFirstPage = FlatButton(commands, QStringLiteral("btnFirstPage"), QStringLiteral("首页"),
                              FlatTeal(), QRect(3, 7, 64, 25));
    btnPrevPage = FlatButton(commands, QStringLiteral("btnPrevPage"), QStringLiteral("上一页"),
                             FlatTeal(), QRect(93, 7, 64, 25));
    btnNextPage = FlatButton(commands, QStringLiteral("btnNextPage"), QStringLiteral("下一页"),
                             FlatTeal(), QRect(183, 7, 64, 25));
    btnLastPage = FlatButton(commands, QStringLiteral("btnLastPage"), QStringLiteral("尾页"),
                             FlatTeal(), QRect(273, 7, 64, 25));
    auto* keywordLabel = new QLabel(QStringLiteral("关键词"), commands);
    keywordLabel->setGeometry(339, 9, 46, 21);
    keywordLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edtKeyword = new QLineEdit(commands);
    edtKeyword->setObjectName(QStringLiteral("edtKeyword"));
    edtKeyword->setGeometry(389, 9, 145, 21);
    keywordLabel->setBuddy(edtKeyword);
    btnSearch = FlatButton(commands, QStringLiteral("btnSearch"), QStringLiteral("搜索"),
                           FlatGreen(), QRect(548, 7, 64, 25));
    if (options.refreshInBottomBar) {
        btnRefresh = FlatButton(commands, QStringLiteral("btnRefresh"), options.refresh,
                                FlatGreen(), QRect(618, 7, 58, 25));
        connect(btnRefresh, &QPushButton::clicked, this, &TPagedListWindow::btnRefreshClick);
    }
    lblPageInfo = new QLabel(QStringLiteral("0/0"), GroupBox2);
    lblPageInfo->setObjectName(QStringLiteral("lblPageInfo"));
    lblPageInfo->setTextFormat(Qt::PlainText);
    lblPageInfo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblPageInfo->setFixedSize(156, 17);
    if (options.refreshInBottomBar) {
        // The wider command row leaves the page information less room on a small screen.
        lblPageInfo->setMinimumWidth(100);
        lblPageInfo->setMaximumWidth(156);
    }

    auto* bar = new QHBoxLayout(GroupBox2);
    bar->setContentsMargins(0, 0, 8, 0);
    bar->setSpacing(0);
    bar->addWidget(commands);
    bar->addStretch(1);
    bar->addWidget(lblPageInfo, 0, Qt::AlignVCenter);

    if (FList) {
        connect(btnFirstPage, &QPushButton::clicked, this, [this] { run(&TPagedList::FirstPage); });
        connect(btnPrevPage, &QPushButton::clicked, this, [this] { run(&TPagedList::PrevPage); });
        connect(btnNextPage, &QPushButton::clicked, this, [this] { run(&TPagedList::NextPage); });
        connect(btnLastPage, &QPushButton::clicked, this, [this] { run(&TPagedList::LastPage); });
        connect(btnSearch, &QPushButton::clicked, this, &TPagedListWindow::btnSearchClick);
        connect(edtKeyword, &QLineEdit::returnPressed, this, &TPagedListWindow::btnSearchClick);
    }
    return GroupBox2;
}

QSize TPagedListWindow::sizeHint() const {
    return QSize(kListWidth, kTopRowHeight + kListHeight + kBottomBarHeight);
}

void TPagedListWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous() || !FList)
        return;
    FitColumns();
    FList->InitializeORM();
    LoadData();
}

void TPagedListWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isVisible())
        FitColumns();
}

// The name column takes what the others leave, less the vertical scroll bar
// of a page taller than the list, so the icon cells stay in sight.
void TPagedListWindow::FitColumns() {
    AdjustListViewColumnWidth(ListView1, 1);
    const QScrollBar* bar = ListView1->verticalScrollBar();
    if (bar->isVisibleTo(ListView1))
        ListView1->setColumnWidth(1, std::max(0, ListView1->columnWidth(1) - bar->width()));
}

void TPagedListWindow::run(void (TPagedList::*step)()) {
    if (!FList)
        return;
    try {
        (FList.get()->*step)();
    } catch (const std::exception& e) {
        laymsg(QStringLiteral("加载失败: ") + QString::fromUtf8(e.what()), 0, this);
    }
}

void TPagedListWindow::LoadData() {
    run(&TPagedList::LoadData);
}

void TPagedListWindow::btnRefreshClick() {
    LoadData();
}

void TPagedListWindow::btnSearchClick() {
    if (!FList)
        return;
    try {
        FList->Search(edtKeyword->text());
    } catch (const std::exception& e) {
        laymsg(QStringLiteral("加载失败: ") + QString::fromUtf8(e.what()), 0, this);
    }
}

void TPagedListWindow::UpdatePaginationUI() {
    lblPageInfo->setText(FList->PageInfo());
    UpdateButtonStates();
    // BindListViewData: the view takes the row count of the new page.
    FModel->Reset();
}

void TPagedListWindow::UpdateButtonStates() {
    const bool prev = FList && FList->CanPrevPage();
    const bool next = FList && FList->CanNextPage();
    btnFirstPage->setEnabled(prev);
    btnPrevPage->setEnabled(prev);
    btnNextPage->setEnabled(next);
    btnLastPage->setEnabled(next);
}

bool TPagedListWindow::eventFilter(QObject* watched, QEvent* event) {
    // The scroll bar comes and goes with the page's rows and resizes the viewport.
    if (watched == ListView1->viewport() && event->type() == QEvent::Resize && isVisible())
        FitColumns();
    if (watched == ListView1->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        FInDoubleClick = true;
        FPendingClick->stop();
        FPendingCommand = nullptr;
    }
    if (watched == ListView1->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            if (FInDoubleClick)
                FInDoubleClick = false;
            else
                HandleListViewClick(mouse->position().toPoint());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TPagedListWindow::HandleListViewClick(const QPoint& pos) {
    if (!FList || !FHasActions)
        return;
    // The row under the pointer, also right of the last column; none below the last row.
    const int row = ListView1->rowAt(pos.y());
    if (row < 0 || row >= FList->Rows().size())
        return;
    const QString id = FList->Rows()[row].id;
    QList<int> widths;
    for (int i = 0; i < FModel->columnCount(); ++i)
        widths << ListView1->columnWidth(i);
    const int x = pos.x() + ListView1->horizontalScrollBar()->value();
    const TListCell cell = HitListCell(FList->Config().columns, widths, x);
    if (cell == TListCell::Text)
        return;
    if (!FDoubleClickOpens) {
        RunCellCommand(cell, row, id);
        return;
    }
    FPendingCommand = [this, cell, row, id] {
        // The page may have changed meanwhile; act only on the same record.
        if (row < FList->Rows().size() && FList->Rows()[row].id == id)
            RunCellCommand(cell, row, id);
    };
    FPendingClick->start(QApplication::doubleClickInterval());
}

void TPagedListWindow::RunCellCommand(TListCell cell, int row, const QString& id) {
    switch (cell) {
    case TListCell::EditIcon:
        emit EditRequested(id.toInt());
        break;
    case TListCell::DetailIcon:
        emit DetailRequested(row);
        break;
    case TListCell::PrintIcon:
        emit PrintRequested(row);
        break;
    case TListCell::DeleteIcon:
        AskAndDelete(id);
        break;
    case TListCell::Text:
        break;
    }
}

void TPagedListWindow::AskAndDelete(const QString& id) {
    QString question;
    try {
        const QString refusal = FList->DeleteRefusal(id);
        if (!refusal.isEmpty()) {
            Messages().Info(MessageCaption(), refusal);
            return;
        }
        question = FList->DeleteQuestion(id);
    } catch (const std::exception& e) {
        laymsg(QStringLiteral("删除失败: ") + QString::fromUtf8(e.what()), 0, this);
        return;
    }
    if (Messages().OkCancel(MessageCaption(), question))
        DeleteItem(id);
    else
        laymsg(QStringLiteral("您取消了操作"), 0, this);
}

void TPagedListWindow::DeleteItem(const QString& id) {
    try {
        if (!FList->DeleteItem(id))
            return;
    } catch (const EMasterDataError& e) {
        laymsg(e.Message(), 0, this);
        return;
    }
    LoadData();
    emit Changed();
}
