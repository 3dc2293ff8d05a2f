// The floor view of the main window: area strip, tile area and tile updates.

#include "floor/view/form_main.h"

#include "common/appvalues.h"
#include "common/ui/elidedlabel.h"
#include "floor/view/deskgrid.h"
#include "floor/view/deskreader.h"
#include "floor/view/deskstate.h"
#include "floor/view/desktile.h"
#include "platform/platform.h"

#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QVBoxLayout>

#include <memory>

namespace {

const char* const kTagProperty = "tag";

// The five labels of a tile, told apart by alignment and position alone, so a
// repaint needs no reference to them.
enum class TTileLabel { State, Code, Price, Guests, Title, Other };

TTileLabel classify(const QLabel* label) {
    const Qt::Alignment h = label->alignment() & Qt::AlignHorizontal_Mask;
    const Qt::Alignment v = label->alignment() & Qt::AlignVertical_Mask;
    const int left = label->x();
    const int top = label->y();
    if (h == Qt::AlignLeft && v == Qt::AlignTop && left == 5 && top == 5)
        return TTileLabel::State;
    if (h == Qt::AlignRight && v == Qt::AlignTop && top == 5)
        return TTileLabel::Code;
    if (h == Qt::AlignLeft && v == Qt::AlignBottom && left == 5)
        return TTileLabel::Price;
    if (h == Qt::AlignRight && v == Qt::AlignBottom)
        return TTileLabel::Guests;
    if (h == Qt::AlignHCenter && v == Qt::AlignVCenter && left == 0)
        return TTileLabel::Title;
    return TTileLabel::Other;
}

void setLabelStyle(QLabel* label, const QColor& color, bool bold) {
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, color);
    label->setPalette(pal);
    QFont font = label->font();
    font.setBold(bold);
    label->setFont(font);
}

QLabel* createCategoryLabel(QWidget* parent, const QString& title, int32_t tag, int left) {
    auto* label = new QLabel(title, parent);
    label->setTextFormat(Qt::PlainText);
    label->setProperty(kTagProperty, tag);
    label->setGeometry(left, 2, 80, 25);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPointSize(9);
    label->setFont(font);
    return label;
}

} // namespace

void Tform_main::CreateCategoryPanel() {
    auto* box = new QScrollArea(FClient);
    box->setObjectName(QStringLiteral("FCategoryScrollBox"));
    box->setFixedHeight(30);
    box->setFrameShape(QFrame::NoFrame);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setWidgetResizable(true);
    QPalette white = box->palette();
    white.setColor(QPalette::Window, Qt::white);
    box->setPalette(white);
    box->viewport()->setAutoFillBackground(true);

    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("FCategoryPanel"));
    panel->setFixedHeight(30);
    QPalette face = panel->palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    panel->setPalette(face);

    QLabel* all = createCategoryLabel(panel, QStringLiteral("所有分类"), 0, 10);
    setLabelStyle(all, QColor(0xFF, 0, 0), true);
    all->installEventFilter(this);
    FCurrentCategoryID = 0;

    const QList<TDeskClassRow> areas = ReadDeskClasses(sqlitename);
    for (int i = 0; i < areas.size(); ++i) {
        QLabel* label = createCategoryLabel(panel, areas[i].title, areas[i].id, 100 + 90 * i);
        setLabelStyle(label, Qt::black, false);
        label->installEventFilter(this);
    }
    // Wider than the window, the strip scrolls sideways.
    panel->setMinimumWidth(100 + 90 * int(areas.size()) + 10);

    box->setWidget(panel);
    FClientLayout->insertWidget(0, box);
    box->show();
    FCategoryScrollBox = box;
    FCategoryPanel = panel;
}

void Tform_main::CategoryButtonClick(QLabel* Sender) {
    if (!Sender || !FCategoryPanel)
        return;
    for (QLabel* label : FCategoryPanel->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        setLabelStyle(label, Qt::black, false);
    setLabelStyle(Sender, QColor(0xFF, 0, 0), true);
    const int32_t id = Sender->property(kTagProperty).toInt();
    LoadDesksByCategory(id);
    FCurrentCategoryID = id;
}

int32_t Tform_main::tileAreaWidth() {
    // Lay the window out now: before the first show nothing has a size yet.
    if (layout())
        layout()->activate();
    FClientLayout->activate();
    // No frame and no scroll bar yet: the whole box is client area.
    const int32_t width = FScrollBox->width();
    return width > 0 ? width : FClient->width();
}

void Tform_main::showNoDesks(QScrollArea* box) {
    auto* label = new QLabel(QStringLiteral("该分类下没有桌位"));
    label->setObjectName(QStringLiteral("lab_nodesk"));
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setPointSize(16);
    label->setFont(font);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    label->setPalette(pal);
    box->setWidgetResizable(true);
    box->setWidget(label);
}

void Tform_main::LoadDesksByCategory(int32_t CategoryID) {
    delete FScrollBox;
    auto* box = new QScrollArea(FClient);
    box->setObjectName(QStringLiteral("FScrollBox"));
    box->setFrameShape(QFrame::NoFrame);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    FClientLayout->addWidget(box, 1);
    box->show();
    FScrollBox = box;
    const int32_t width = tileAreaWidth();

    const QList<TDeskRow> rows = ReadDesks(sqlitename, CategoryID);
    if (rows.isEmpty()) {
        showNoDesks(box);
        emit FloorRebuilt();
        return;
    }
    const TDeskGrid grid = DeskGrid(width);
    // Tiles go into a content widget that is not shown yet, then in one step into the box.
    auto content = std::make_unique<QWidget>();
    content->setObjectName(QStringLiteral("FDeskArea"));
    content->resize(width, grid.ContentHeight(int32_t(rows.size())));
    for (int i = 0; i < rows.size(); ++i) {
        const TDeskRow& row = rows[i];
        const QPoint pos = grid.TilePos(i);
        CreateDeskGroupBox(content.get(), row.id, row.title, row.bh, row.nums, row.stat, row.price,
                           pos.x(), pos.y());
    }
    box->setWidget(content.release());
    emit FloorRebuilt();
}

TDeskTile* Tform_main::CreateDeskGroupBox(QWidget* Parent, int32_t DeskID, const QString& DeskTitle,
                                          const QString& DeskBH, const QString& DeskNums,
                                          const QString& DeskStatus, double DeskPrice,
                                          int32_t LeftPos, int32_t TopPos) {
    auto* tile = new TDeskTile(Parent, DeskID, DeskTitle);
    tile->setGeometry(LeftPos, TopPos, kDeskTileSize, kDeskTileSize);
    tile->SetFillColor(DeskStateColor(DeskStatus));
    tile->installEventFilter(this);

    const int cw = tile->width();
    const int ch = tile->height();
    const int half = cw / 2 - 10;
    const auto add = [&](const QString& text, Qt::Alignment align, const QRect& geometry) {
        // A long name or code is cut with "…" rather than spilling over its neighbours.
        auto* label = new TElidedLabel(text, tile);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(align);
        label->setGeometry(geometry);
        label->installEventFilter(this);
        return label;
    };
    add(DeskStateText(DeskStatus), Qt::AlignLeft | Qt::AlignTop, QRect(5, 5, half, 20));
    add(DeskBH, Qt::AlignRight | Qt::AlignTop, QRect(cw - half - 10, 5, half, 20));
    add(DeskPriceText(DeskPrice), Qt::AlignLeft | Qt::AlignBottom, QRect(5, ch - 25, half, 20));
    add(DeskGuestsText(DeskNums), Qt::AlignRight | Qt::AlignBottom,
        QRect(cw - half - 10, ch - 25, half, 20));
    QLabel* title = add(DeskTitle, Qt::AlignCenter, QRect(0, (ch - 30) / 2, cw, 30));
    QFont bold = title->font();
    bold.setPointSize(10);
    bold.setBold(true);
    title->setFont(bold);
    return tile;
}

TDeskTile* Tform_main::FindDeskGroupBox(int32_t DeskID) const {
    if (!FScrollBox || !FScrollBox->widget())
        return nullptr;
    for (QObject* child : FScrollBox->widget()->children())
        if (auto* tile = qobject_cast<TDeskTile*>(child); tile && tile->Tag() == DeskID)
            return tile;
    return nullptr;
}

void Tform_main::UpdateDeskInfo(int32_t DeskID, const QString& DeskTitle, const QString& DeskBH,
                                const QString& DeskNums, const QString& DeskStatus,
                                double DeskPrice) {
    if (FDestroying)
        return;
    TDeskTile* tile = FindDeskGroupBox(DeskID);
    if (!tile)
        return;
    try {
        tile->SetHint(DeskTitle);
        tile->SetFillColor(DeskStateColor(DeskStatus));
        const QObjectList children = tile->children();
        for (QObject* child : children) {
            auto* label = qobject_cast<QLabel*>(child);
            if (!label)
                continue;
            try {
                switch (classify(label)) {
                case TTileLabel::State:
                    label->setText(DeskStateText(DeskStatus));
                    break;
                case TTileLabel::Code:
                    label->setText(DeskBH);
                    break;
                case TTileLabel::Price:
                    label->setText(DeskPriceText(DeskPrice));
                    break;
                case TTileLabel::Guests:
                    label->setText(DeskGuestsText(DeskNums));
                    break;
                case TTileLabel::Title:
                    label->setText(DeskTitle);
                    break;
                case TTileLabel::Other:
                    break;
                }
            } catch (const std::exception& e) {
                platform::DebugOutput(QStringLiteral("UpdateDeskInfo error: ") +
                                      QString::fromUtf8(e.what()));
            }
        }
    } catch (const std::exception& e) {
        platform::DebugOutput(QStringLiteral("UpdateDeskInfo critical error: ") +
                              QString::fromUtf8(e.what()));
    }
}

void Tform_main::UpdateDeskPrice(int32_t DeskID, double NewPrice) {
    TDeskTile* tile = FindDeskGroupBox(DeskID);
    if (!tile)
        return;
    for (QObject* child : tile->children()) {
        auto* label = qobject_cast<QLabel*>(child);
        if (label && classify(label) == TTileLabel::Price) {
            label->setText(DeskPriceText(NewPrice));
            return;
        }
    }
}

void Tform_main::RefreshDeskByID(int32_t DeskID) {
    if (const auto row = ReadDesk(sqlitename, DeskID))
        UpdateDeskInfo(DeskID, row->title, row->bh, row->nums, row->stat, row->price);
}

void Tform_main::RefreshAllDesks() {
    if (FScrollBox && FCurrentCategoryID >= 0)
        LoadDesksByCategory(FCurrentCategoryID);
}

void Tform_main::RefreshCurrentCategory() {
    LoadDesksByCategory(FCurrentCategoryID);
}

void Tform_main::UpdateLayout() {
    if (FScrollBox && FCurrentCategoryID >= 0)
        LoadDesksByCategory(FCurrentCategoryID);
}

void Tform_main::GroupBoxClick(QObject* Sender) {
    int32_t id = 0;
    if (auto* tile = qobject_cast<TDeskTile*>(Sender))
        id = tile->Tag();
    else if (auto* label = qobject_cast<QLabel*>(Sender);
             label && qobject_cast<TDeskTile*>(label->parentWidget()))
        id = static_cast<TDeskTile*>(label->parentWidget())->Tag();
    else
        return;
    emit DeskClicked(id);
}

bool Tform_main::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease)
        return QMainWindow::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || mouse->button() != Qt::LeftButton ||
        !widget->rect().contains(mouse->position().toPoint()))
        return QMainWindow::eventFilter(watched, event);
    // A click on a tile or one of its labels; the label's release goes no further.
    if (qobject_cast<TDeskTile*>(watched) || qobject_cast<TDeskTile*>(widget->parentWidget())) {
        GroupBoxClick(watched);
        return true;
    }
    if (FCategoryPanel && widget->parentWidget() == FCategoryPanel) {
        CategoryButtonClick(qobject_cast<QLabel*>(widget));
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tform_main::RebuildCategoryPanel() {
    // Start-up that ended early built no floor; there is nothing to follow.
    if (!FCategoryScrollBox)
        return;
    const int32_t current = FCurrentCategoryID;
    delete FCategoryScrollBox;
    CreateCategoryPanel();
    for (QLabel* label : FCategoryPanel->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (label->property(kTagProperty).toInt() == current) {
            CategoryButtonClick(label);
            return;
        }
    LoadDesksByCategory(0);
}
