#include "report/form_report.h"

#include "billing/table/bill/paytypes.h"
#include "common/appvalues.h"
#include "common/clock.h"
#include "common/ui/closeonescape.h"
#include "common/ui/fitscrollarea.h"
#include "common/ui/laymsg.h"
#include "report/dayreport.h"
#include "report/export/reportexport.h"
#include "report/reportcharts.h"
#include "report/reportconfig.h"

#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kUnrecorded = -1;

QString payName(int code, const char* suffix = "") {
    return (code == kUnrecorded ? QStringLiteral("pay_none") : QStringLiteral("pay_%1").arg(code)) +
           QString::fromLatin1(suffix);
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    // The style asks 80 pixels of any button; on a small screen the bar
    // narrows them down to their text instead of leaving the screen.
    b->setMinimumWidth(b->fontMetrics().horizontalAdvance(caption) + 16);
    return b;
}

QDateEdit* dateEdit(QWidget* parent, const char* name) {
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    return edit;
}

QLabel* plainLabel(QWidget* parent, const QString& text = QString()) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QTreeWidget* topList(QWidget* parent, const char* name) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setRootIsDecorated(false);
    list->setColumnCount(3);
    list->setHeaderLabels({QStringLiteral("菜品"), QStringLiteral("数量"), QStringLiteral("金额")});
    list->header()->setSectionsClickable(false);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list->setColumnWidth(1, 52);
    list->setColumnWidth(2, 84);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    list->setMinimumSize(250, 120);
    return list;
}

void fillTop(QTreeWidget* list, const QList<TDishFigure>& dishes) {
    list->clear();
    QList<QTreeWidgetItem*> items;
    for (const TDishFigure& dish : dishes) {
        auto* item = new QTreeWidgetItem(
            QStringList{dish.Title, QuantityText(dish.Quantity), YuanText(dish.Cents)});
        item->setToolTip(0, dish.Title);
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        items << item;
    }
    list->addTopLevelItems(items);
}

QGroupBox* group(QWidget* parent, const QString& title) {
    auto* box = new QGroupBox(title, parent);
    QFont bold = box->font();
    bold.setBold(true);
    box->setFont(bold);
    return box;
}

// Children of a bold group box inherit its font; figures read in the normal weight.
void unbold(QWidget* w) {
    QFont font = w->font();
    font.setBold(false);
    w->setFont(font);
}

} // namespace

std::function<QString(QWidget*, const QString&, const QStringList&, QString&)>
    TForm_report::ChooseFile = [](QWidget* parent, const QString& suggestedPath,
                                  const QStringList& filters, QString& filter) {
        return QFileDialog::getSaveFileName(parent, QStringLiteral("导出表格"), suggestedPath,
                                            filters.join(QStringLiteral(";;")), &filter);
    };

TForm_report::TForm_report() : QWidget(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("Form_report"));
    setWindowTitle(QStringLiteral("营业统计"));

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(10, 8, 10, 8);
    main->setSpacing(6);
    main->addWidget(buildPeriodBar());

    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("ReportContent"));
    auto* columns = new QHBoxLayout(content);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(8);
    columns->addWidget(buildFigures());
    columns->addWidget(buildTopLists());
    auto* charts = new QVBoxLayout;
    charts->setSpacing(6);
    chart_hours = new THoursChart(content);
    chart_days = new TDaysChart(content);
    chart_days->hide();
    charts->addWidget(chart_hours, 1);
    charts->addWidget(chart_days, 1);
    columns->addLayout(charts, 1);

    auto* scroll = new TFitScrollArea(this);
    scroll->setObjectName(QStringLiteral("ReportScroll"));
    scroll->setWidget(content);
    main->addWidget(scroll, 1);

    clearFigures();
    CloseOnEscape(this);
}

QWidget* TForm_report::buildPeriodBar() {
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("ReportPeriodBar"));
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    date_first = dateEdit(bar, "date_first");
    date_last = dateEdit(bar, "date_last");
    auto* from = plainLabel(bar, QStringLiteral("日期："));
    from->setBuddy(date_first);
    row->addWidget(from);
    row->addWidget(date_first);
    row->addWidget(plainLabel(bar, QStringLiteral("至")));
    row->addWidget(date_last);
    row->addSpacing(6);

    const struct {
        QPushButton** target;
        const char* name;
        const char* caption;
        TQuickPeriod choice;
    } quick[] = {{&btn_today, "btn_today", "今天", TQuickPeriod::Today},
                 {&btn_yesterday, "btn_yesterday", "昨天", TQuickPeriod::Yesterday},
                 {&btn_week, "btn_week", "本周", TQuickPeriod::ThisWeek},
                 {&btn_month, "btn_month", "本月", TQuickPeriod::ThisMonth},
                 {&btn_lastmonth, "btn_lastmonth", "上月", TQuickPeriod::LastMonth}};
    for (const auto& q : quick) {
        QPushButton* b = button(bar, q.name, QString::fromUtf8(q.caption));
        const TQuickPeriod choice = q.choice;
        connect(b, &QPushButton::clicked, this, [this, choice] { ChooseQuick(choice); });
        row->addWidget(b);
        *q.target = b;
    }
    row->addStretch(1);
    btn_print = button(bar, "btn_print", QStringLiteral("打印日报"));
    btn_export = button(bar, "btn_export", QStringLiteral("导出表格"));
    row->addWidget(btn_print);
    row->addWidget(btn_export);

    connect(date_first, &QDateEdit::dateChanged, this, [this] { dateChanged(true); });
    connect(date_last, &QDateEdit::dateChanged, this, [this] { dateChanged(false); });
    connect(btn_print, &QPushButton::clicked, this, &TForm_report::PrintReport);
    connect(btn_export, &QPushButton::clicked, this, &TForm_report::ExportReport);
    return bar;
}

QLabel* TForm_report::addFigure(QGridLayout* grid, const QString& caption, const char* name) {
    const int row = grid->rowCount();
    QWidget* parent = grid->parentWidget();
    auto* label = plainLabel(parent, caption);
    auto* value = plainLabel(parent);
    value->setObjectName(QString::fromLatin1(name));
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    unbold(label);
    unbold(value);
    grid->addWidget(label, row, 0);
    grid->addWidget(value, row, 1, 1, 2);
    return value;
}

void TForm_report::addPayRow(QGridLayout* grid, int code, const QString& caption) {
    const int row = grid->rowCount();
    QWidget* parent = grid->parentWidget();
    auto* label = plainLabel(parent, caption);
    auto* count = plainLabel(parent);
    count->setObjectName(payName(code, "_n"));
    count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* amount = plainLabel(parent);
    amount->setObjectName(payName(code));
    amount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLabel* l : {label, count, amount})
        unbold(l);
    grid->addWidget(label, row, 0);
    grid->addWidget(count, row, 1);
    grid->addWidget(amount, row, 2);
    FPayCaptions[code] = label;
    FPayCounts[code] = count;
    FPayAmounts[code] = amount;
}

QWidget* TForm_report::buildFigures() {
    auto* column = new QWidget;
    column->setObjectName(QStringLiteral("ReportFigures"));
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    QGroupBox* overview = group(column, QStringLiteral("营业概况"));
    auto* grid = new QGridLayout(overview);
    grid->setVerticalSpacing(4);
    grid->setColumnStretch(1, 1);
    lab_takings = addFigure(grid, QStringLiteral("营业额"), "lab_takings");
    QFont large = lab_takings->font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.4);
    lab_takings->setFont(large);
    lab_orders = addFigure(grid, QStringLiteral("订单数"), "lab_orders");
    lab_guests = addFigure(grid, GuestsCaption(), "lab_guests");
    lab_perorder = addFigure(grid, QStringLiteral("单均消费"), "lab_perorder");
    lab_perguest = addFigure(grid, QStringLiteral("人均消费"), "lab_perguest");
    lab_daystart = plainLabel(overview);
    lab_daystart->setObjectName(QStringLiteral("lab_daystart"));
    unbold(lab_daystart);
    lab_daystart->setStyleSheet(QStringLiteral("color: #777777;"));
    grid->addWidget(lab_daystart, grid->rowCount(), 0, 1, 3);
    layout->addWidget(overview);

    QGroupBox* pays = group(column, QStringLiteral("支付方式"));
    auto* payGrid = new QGridLayout(pays);
    payGrid->setVerticalSpacing(3);
    payGrid->setColumnStretch(2, 1);
    for (const TPayType& type : PayTypes())
        addPayRow(payGrid, type.Code, type.Caption);
    addPayRow(payGrid, kUnrecorded, PayTypeCaption(kUnrecorded));
    layout->addWidget(pays);

    QGroupBox* apart = group(column, QStringLiteral("不计入营业额"));
    apart->setObjectName(QStringLiteral("ReportApart"));
    auto* apartGrid = new QGridLayout(apart);
    apartGrid->setVerticalSpacing(4);
    apartGrid->setColumnStretch(1, 1);
    lab_returned = addFigure(apartGrid, QStringLiteral("退菜"), "lab_returned");
    lab_deleted = addFigure(apartGrid, QStringLiteral("删除订单"), "lab_deleted");
    layout->addWidget(apart);
    layout->addStretch(1);
    column->setMinimumWidth(230);
    return column;
}

QWidget* TForm_report::buildTopLists() {
    auto* column = new QWidget;
    column->setObjectName(QStringLiteral("ReportTopLists"));
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    const struct {
        QTreeWidget** target;
        const char* name;
        const char* title;
    } lists[] = {{&list_topquantity, "list_topquantity", "销量前十"},
                 {&list_topamount, "list_topamount", "销售额前十"}};
    for (const auto& l : lists) {
        QGroupBox* box = group(column, QString::fromUtf8(l.title));
        auto* inner = new QVBoxLayout(box);
        *l.target = topList(box, l.name);
        unbold(*l.target);
        inner->addWidget(*l.target);
        layout->addWidget(box, 1);
    }
    return column;
}

QLabel* TForm_report::PayLabel(int code) const {
    return FPayAmounts.value(code);
}

QLabel* TForm_report::PayCountLabel(int code) const {
    return FPayCounts.value(code);
}

QSize TForm_report::sizeHint() const {
    // One size whatever the period shows, so the window does not jump.
    return QSize(1240, 690);
}

void TForm_report::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    FDayStart = LoadReportDayStart();
    lab_daystart->setText(FDayStart ? QStringLiteral("营业日从%1:00起算").arg(FDayStart)
                                    : QString());
    lab_daystart->setVisible(FDayStart != 0);
    ChooseQuick(TQuickPeriod::Today);
}

void TForm_report::ChooseQuick(TQuickPeriod choice) {
    const TReportPeriod period = QuickPeriod(choice, zclock::Now(), FDayStart);
    {
        const QSignalBlocker first(date_first);
        const QSignalBlocker last(date_last);
        date_first->setDate(period.First);
        date_last->setDate(period.Last);
    }
    Refresh();
}

void TForm_report::dateChanged(bool firstChanged) {
    // The other date follows, so the period is never empty.
    if (date_first->date() > date_last->date()) {
        QDateEdit* other = firstChanged ? date_last : date_first;
        const QSignalBlocker blocker(other);
        other->setDate(firstChanged ? date_first->date() : date_last->date());
    }
    Refresh();
}

void TForm_report::Refresh() {
    const TReportPeriod period{date_first->date(), date_last->date(), FDayStart};
    try {
        showFigures(ReadBusinessReport(sqlitename, period));
    } catch (const std::exception& e) {
        clearFigures();
        laymsg(QStringLiteral("读取失败: ") + QString::fromUtf8(e.what()), 0, this);
    }
    emit Refreshed();
}

void TForm_report::showFigures(const TBusinessReport& report) {
    FReport = report;
    FHasReport = true;
    lab_orders->setText(QString::number(report.Orders));
    lab_guests->setText(QString::number(report.Guests));
    lab_takings->setText(YuanText(report.Cents));
    lab_perorder->setText(YuanText(report.PerOrderCents()));
    // No guests recorded: a per-guest 0 would read as free meals.
    lab_perguest->setText(report.Guests > 0 ? YuanText(report.PerGuestCents())
                                            : QStringLiteral("—"));
    bool unrecorded = false;
    for (const TPayTypeFigure& pay : report.PayTypes) {
        const int code = FPayAmounts.contains(pay.Code) ? pay.Code : kUnrecorded;
        unrecorded = unrecorded || code == kUnrecorded;
        FPayCounts[code]->setText(QStringLiteral("%1单").arg(pay.Orders));
        FPayAmounts[code]->setText(YuanText(pay.Cents));
    }
    for (QMap<int, QLabel*>* row : {&FPayCaptions, &FPayCounts, &FPayAmounts})
        row->value(kUnrecorded)->setVisible(unrecorded);
    lab_returned->setText(
        QStringLiteral("%1份  %2")
            .arg(QuantityText(report.ReturnedQuantity), YuanText(report.ReturnedCents)));
    lab_deleted->setText(
        QStringLiteral("%1单  %2").arg(report.DeletedOrders).arg(YuanText(report.DeletedCents)));
    fillTop(list_topquantity, report.TopByQuantity);
    fillTop(list_topamount, report.TopByAmount);
    chart_hours->SetData(report.HourCents, report.Period.DayStart);
    chart_days->SetData(report.Period.First, report.DayCents);
    chart_days->setVisible(report.Period.Days() > 1);
    btn_print->setEnabled(true);
    btn_export->setEnabled(true);
}

void TForm_report::clearFigures() {
    FHasReport = false;
    FReport = TBusinessReport();
    const QString none = QStringLiteral("—");
    for (QLabel* label : {lab_orders, lab_guests, lab_takings, lab_perorder, lab_perguest,
                          lab_returned, lab_deleted})
        label->setText(none);
    for (QLabel* label : FPayAmounts)
        label->setText(none);
    for (QLabel* label : FPayCounts)
        label->clear();
    for (QMap<int, QLabel*>* row : {&FPayCaptions, &FPayCounts, &FPayAmounts})
        row->value(kUnrecorded)->setVisible(false);
    list_topquantity->clear();
    list_topamount->clear();
    chart_hours->SetData({}, FDayStart);
    chart_days->SetData(QDate(), {});
    chart_days->hide();
    btn_print->setEnabled(false);
    btn_export->setEnabled(false);
}

void TForm_report::PrintReport() {
    // The window may have stood open since before the last settlements.
    Refresh();
    if (!FHasReport)
        return;
    QString result;
    try {
        result = PrintDayReport(FReport);
    } catch (const std::exception& e) {
        result = QStringLiteral("打印失败: ") + QString::fromUtf8(e.what());
    }
    // The operator asked for it, so even "打印完成" is worth a word.
    laymsg(result, 0, this);
}

void TForm_report::ExportReport() {
    if (!FHasReport)
        return;
    QStringList filters;
    for (const TReportFormat& format : ReportFormats())
        filters << format.Filter;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested =
        QDir(documents.isEmpty() ? QDir::homePath() : documents)
            .filePath(ReportFileName(FReport.Period, ReportFormats().front().Extension));
    QString filter = filters.front();
    const QString chosen = ChooseFile(this, suggested, filters, filter);
    if (chosen.isEmpty())
        return;
    const QString path = ReportExportPath(chosen, filter);
    try {
        // What the file holds is read anew; the window shows the same.
        showFigures(WriteReport(sqlitename, FReport.Period, path));
    } catch (const EReportExportError& e) {
        laymsg(QStringLiteral("导出失败：") + e.Message(), 0, this);
        return;
    }
    laymsg(QStringLiteral("导出成功：") + path, 0, this);
}
