#include "billing/table/deskpicker.h"

#include "common/appvalues.h"
#include "common/messages.h"
#include "common/myfun.h"
#include "common/ui/showcentred.h"
#include "floor/view/deskreader.h"
#include "floor/view/deskstate.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

constexpr int kColumns = 5;

// Button texts take "&" as a shortcut marker; names show as typed.
QString plain(const QString& text) {
    QString out = text;
    return out.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

constexpr int kDeskButtonWidth = 116;
constexpr int kDeskButtonHeight = 72;

// Each line cut with "…" to the button's width: a long name must not push
// the code or the amount out of sight.
QString deskCaption(const TDeskRow& desk, const QFontMetrics& metrics) {
    const int width = kDeskButtonWidth - 12;
    const auto fit = [&](const QString& text) {
        return plain(metrics.elidedText(text, Qt::ElideRight, width));
    };
    QString text = fit(desk.bh) + QLatin1Char('\n') + fit(desk.title);
    if (desk.stat == QLatin1String("1"))
        text += QLatin1Char('\n') +
                fit(desk.nums + QStringLiteral("人 ￥") + FormatFloat00(desk.price));
    return text;
}

} // namespace

TForm_desk_picker::TForm_desk_picker(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form_desk_picker"));
    // The whole program waits for the pick: a tile click meanwhile would
    // switch the table window under the move.
    setWindowModality(Qt::ApplicationModal);

    // Many areas scroll sideways instead of widening the picker off the screen.
    auto* strip = new QWidget;
    strip->setObjectName(QStringLiteral("AreaButtons"));
    FAreaRow = new QHBoxLayout(strip);
    FAreaRow->setContentsMargins(0, 0, 0, 0);
    FAreaScroll = new QScrollArea(this);
    FAreaScroll->setObjectName(QStringLiteral("AreaStrip"));
    FAreaScroll->setFrameShape(QFrame::NoFrame);
    FAreaScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FAreaScroll->setWidgetResizable(true);
    FAreaScroll->setWidget(strip);
    FAreas = new QButtonGroup(this);
    FAreas->setExclusive(true);
    connect(FAreas, &QButtonGroup::idClicked, this, [this](int id) { ShowArea(id); });

    FGrid = new QWidget;
    FGrid->setObjectName(QStringLiteral("DeskGrid"));
    FGridLayout = new QGridLayout(FGrid);
    FGridLayout->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FScroll = new QScrollArea(this);
    FScroll->setObjectName(QStringLiteral("DeskArea"));
    FScroll->setWidgetResizable(true);
    FScroll->setWidget(FGrid);

    lab_empty = new QLabel(QStringLiteral("没有可选的桌位"), this);
    lab_empty->setObjectName(QStringLiteral("lab_empty"));
    lab_empty->setAlignment(Qt::AlignCenter);
    lab_empty->hide();

    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setMinimumHeight(32);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);

    auto* main = new QVBoxLayout(this);
    main->addWidget(FAreaScroll);
    main->addWidget(FScroll, 1);
    main->addWidget(lab_empty);
    main->addLayout(buttons);
    resize(660, 440);
}

void TForm_desk_picker::Open(TDeskMove move, int32_t FromID) {
    FMove = move;
    FFromID = FromID;
    setWindowTitle(move == TDeskMove::Transfer ? QStringLiteral("换桌：请选择空闲桌位")
                                               : QStringLiteral("并台：请选择要并入的桌位"));
    fillAreas();
    ShowArea(FArea);
    FitOnScreen(this, parentWidget());
    show();
    raise();
    activateWindow();
}

void TForm_desk_picker::fillAreas() {
    for (QAbstractButton* b : FAreas->buttons()) {
        FAreas->removeButton(b);
        delete b;
    }
    while (QLayoutItem* item = FAreaRow->takeAt(0))
        delete item;
    QList<TDeskClassRow> areas;
    try {
        areas = ReadDeskClasses(sqlitename);
    } catch (const std::exception& e) {
        Messages().Info(MessageCaption(), QString::fromUtf8(e.what()));
    }
    areas.prepend({0, QStringLiteral("全部")});
    bool known = false;
    for (const TDeskClassRow& area : areas) {
        auto* button = new QPushButton(plain(area.title), this);
        button->setObjectName(QStringLiteral("area_%1").arg(area.id));
        button->setCheckable(true);
        button->setMinimumHeight(30);
        FAreas->addButton(button, area.id);
        FAreaRow->addWidget(button);
        known = known || area.id == FArea;
    }
    FAreaRow->addStretch();
    FAreaScroll->setFixedHeight(FAreaRow->sizeHint().height() +
                                FAreaScroll->horizontalScrollBar()->sizeHint().height());
    if (!known) // the area shown last was removed meanwhile
        FArea = 0;
}

void TForm_desk_picker::ShowArea(int32_t CategoryID) {
    FArea = CategoryID;
    if (QAbstractButton* b = FAreas->button(CategoryID))
        b->setChecked(true);
    while (QLayoutItem* item = FGridLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    QList<TDeskRow> desks;
    try {
        desks = ReadDesks(sqlitename, CategoryID);
    } catch (const std::exception& e) {
        Messages().Info(MessageCaption(), QString::fromUtf8(e.what()));
    }
    int index = 0;
    for (const TDeskRow& desk : desks) {
        if (desk.id == FFromID || !DeskTakesMove(FMove, desk.stat))
            continue;
        auto* button = new QPushButton(FGrid);
        button->setText(deskCaption(desk, button->fontMetrics()));
        button->setToolTip(desk.title);
        button->setObjectName(QStringLiteral("desk_%1").arg(desk.id));
        button->setProperty("deskid", desk.id);
        button->setFixedSize(kDeskButtonWidth, kDeskButtonHeight);
        // The colours of the floor's tiles, so a table looks the same in both.
        button->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid #A0A0A0")
                                  .arg(DeskStateColor(desk.stat).name()));
        const int32_t id = desk.id;
        connect(button, &QPushButton::clicked, this, [this, id] {
            accept();
            emit DeskPicked(FMove, id);
        });
        FGridLayout->addWidget(button, index / kColumns, index % kColumns);
        ++index;
    }
    FScroll->setVisible(index > 0);
    lab_empty->setVisible(index == 0);
}

QList<int32_t> TForm_desk_picker::ShownDesks() const {
    QList<int32_t> ids;
    for (int i = 0; i < FGridLayout->count(); ++i)
        if (QWidget* w = FGridLayout->itemAt(i)->widget())
            ids << w->property("deskid").toInt();
    return ids;
}

QPushButton* TForm_desk_picker::DeskButton(int32_t DeskID) const {
    return FGrid->findChild<QPushButton*>(QStringLiteral("desk_%1").arg(DeskID));
}

QPushButton* TForm_desk_picker::AreaButton(int32_t CategoryID) const {
    return qobject_cast<QPushButton*>(FAreas->button(CategoryID));
}
