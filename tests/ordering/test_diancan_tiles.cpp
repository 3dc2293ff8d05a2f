// The left side of the ordering screen: grid arithmetic, category bar, dish
// tiles with their steppers, and the specification dialog.

#include "common/appvalues.h"
#include "common/myfun.h"
#include "ordering/TOrderManager.h"
#include "ordering/ordertext.h"
#include "ordering/panels.h"
#include "ordering/specselectiondialog.h"
#include "ordering/tiles/dishgrid.h"

#include "diancanfixture.h"

#include <QCheckBox>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>

namespace {

struct TGridCase {
    int32_t width, dishes;
    int32_t columns, rows, height;
};

TEST(DishGridTest, ColumnsRowsAndContainerFollowTheAreaWidth) {
    const TGridCase cases[] = {
        {1084, 11, 5, 3, 290}, // (1084 - 20) / 210 = 5 columns
        {1084, 10, 5, 2, 195}, {1084, 1, 5, 1, 100},
        {650, 4, 3, 2, 195},   {230, 2, 1, 2, 195}, // exactly one pitch wide
        {100, 3, 1, 3, 290},                        // narrower than a tile: still one column
    };
    for (const TGridCase& c : cases) {
        const TDishGrid grid = DishGrid(c.width, c.dishes);
        EXPECT_EQ(grid.AvailableWidth, c.width - 20) << c.width;
        EXPECT_EQ(grid.ColCount, c.columns) << c.width;
        EXPECT_EQ(grid.RowCount, c.rows) << c.width << " " << c.dishes;
        EXPECT_EQ(grid.ContainerHeight, c.height) << c.width << " " << c.dishes;
    }
    const TDishGrid five = DishGrid(1084, 11);
    EXPECT_EQ(five.TilePos(0), QPoint(5, 5));
    EXPECT_EQ(five.TilePos(4), QPoint(845, 5));
    EXPECT_EQ(five.TilePos(5), QPoint(5, 100));
    EXPECT_EQ(five.TilePos(10), QPoint(5, 195));
}

// The colour a widget's text is drawn in.
QColor textColour(const QWidget* w) {
    return w->palette().color(w->foregroundRole());
}

TEST(OrderTextTest, PricesRoundHalfAwayOnTheirDecimalText) {
    const std::pair<double, const char*> cases[] = {
        {5, "5.00"},       {5.5, "5.50"},   {6.175, "6.18"},   {2.675, "2.68"},  {12.994, "12.99"},
        {12.999, "13.00"}, {0.005, "0.01"}, {-1.005, "-1.01"}, {-0.001, "0.00"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatFloat00(value), QString::fromLatin1(text)) << value;
    EXPECT_EQ(CountFromText(QStringLiteral("3")), 3);
    EXPECT_EQ(CountFromText(QStringLiteral("x")), 0);
}

QPushButton* specButton(const TForm_diancan& s, int32_t dish) {
    return s.DishControlManager()->SelectSpecButton(dish);
}

TEST_F(DiancanTest, WindowLayoutCaptionsAndTheGridOfAll1084Pixels) {
    for (int i = 0; i < 7; ++i)
        addDish(QStringLiteral("加菜%1").arg(i), 1, hot, 10 + i);
    makeScreen(0);
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("餐厅点餐系统"));
    EXPECT_EQ(screen->size(), QSize(1384, 691));
    EXPECT_EQ(screen->pnlRight->width(), 300);
    EXPECT_EQ(screen->pnlCategory->height(), 30);
    EXPECT_EQ(screen->ScrollBox1->width(), 1084);
    EXPECT_EQ(screen->FPageControl->tabText(0), QStringLiteral("菜品篮"));
    EXPECT_EQ(screen->FPageControl->tabText(1), QStringLiteral("已点单"));
    EXPECT_EQ(screen->FConfirmButton->text(), QStringLiteral("确定点单"));
    EXPECT_EQ(screen->FConfirmButton->height(), 40);
    EXPECT_TRUE(screen->FConfirmButton->font().bold());
    EXPECT_EQ(text(QStringLiteral("FTotalLabel")), QStringLiteral("总计: ￥0.00"));
    EXPECT_EQ(textColour(screen->FTotalLabel), QColor(0xFF, 0, 0));
    EXPECT_EQ(text(QStringLiteral("lblCartStats")), QStringLiteral("菜品数量: 0"));
    EXPECT_EQ(text(QStringLiteral("lblConfirmedStats")),
              QStringLiteral("菜品数量: 0 | 合计: ￥0.00"));
    EXPECT_EQ(textColour(screen->findChild<QLabel*>(QStringLiteral("lblConfirmedStats"))),
              QColor(0, 0, 0xFF));
    EXPECT_EQ(screen->FBatchPanel->height(), 80);
    EXPECT_EQ(screen->FSelectAllCheckBox->text(), QStringLiteral("全选"));
    EXPECT_EQ(screen->FSelectAllCheckBox->geometry(), QRect(10, 25, 50, 25));
    EXPECT_EQ(screen->FBatchServedButton->geometry(), QRect(70, 25, 60, 25));
    EXPECT_EQ(screen->FBatchReturnButton->geometry(), QRect(140, 25, 60, 25));
    EXPECT_EQ(screen->FBatchDeleteButton->geometry(), QRect(210, 25, 60, 25));
    EXPECT_EQ(screen->FBatchDeleteButton->text(), QStringLiteral("删除"));

    // Eleven dishes in the 1084-pixel area: five columns, three rows.
    const TDishControlManager& tiles = *screen->DishControlManager();
    ASSERT_EQ(screen->Dishes().size(), 11u);
    EXPECT_EQ(tiles.GridPanel()->size(), QSize(1064, 290));
    EXPECT_EQ(tiles.DishPanel(shuizhu)->geometry(), QRect(425, 5, 200, 85));
    EXPECT_EQ(tiles.DishPanel(screen->Dishes()[5]->caipinid)->pos(), QPoint(5, 100));

    // A plain tile: title, price, "-", count, "+"; a dish in specifications: its button.
    const QWidget* tile = tiles.DishPanel(gongbao);
    EXPECT_EQ(tile->findChild<QLabel*>(QStringLiteral("lblTitle"))->text(),
              QStringLiteral("宫保鸡丁"));
    const QLabel* price = tile->findChild<QLabel*>(QStringLiteral("lblPrice"));
    EXPECT_EQ(price->text(), QStringLiteral("￥5.50"));
    EXPECT_EQ(textColour(price), QColor(0xF4, 0x0F, 0x40));
    EXPECT_EQ(tiles.QuantityLabel(gongbao)->text(), QStringLiteral("0"));
    EXPECT_EQ(tiles.DecreaseButton(gongbao)->text(), QStringLiteral("-"));
    EXPECT_EQ(tiles.IncreaseButton(gongbao)->objectName(),
              QStringLiteral("IncreaseButton%1").arg(gongbao));
    EXPECT_EQ(specButton(*screen, shuizhu)->text(), QStringLiteral("选择规格"));
    EXPECT_EQ(tiles.QuantityLabel(shuizhu), nullptr);

    screen->SetDeskID(desk);
    screen->LoadDataToForm();
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("点餐系统 - 桌位号: A01"));
}

TEST_F(DiancanTest, CategoryBarSelectsAndFiltersTheDishes) {
    makeScreen(desk);
    const QList<TLabelButton*>& bar = screen->CategoryLabels();
    ASSERT_EQ(bar.size(), 4);
    QStringList titles;
    for (const TLabelButton* label : bar)
        titles << label->text();
    EXPECT_EQ(titles, QStringList({QStringLiteral("所有分类"), QStringLiteral("热菜"),
                                   QStringLiteral("凉菜"), QStringLiteral("汤类")}));
    EXPECT_EQ(bar[0]->property("tag").toInt(), 0);
    EXPECT_EQ(bar[1]->property("tag").toInt(), hot);
    EXPECT_EQ(bar[0]->pos(), QPoint(10, 3));
    EXPECT_EQ(bar[1]->x(), bar[0]->width() + 20);
    EXPECT_EQ(bar[2]->x(), bar[1]->x() + bar[1]->width() + 10);

    const auto colours = [&](int i) {
        const QPalette pal = bar[i]->palette();
        return std::make_tuple(pal.color(QPalette::Window), pal.color(QPalette::WindowText),
                               bar[i]->font().bold());
    };
    EXPECT_EQ(colours(0), std::make_tuple(QColor(0xD0, 0xF0, 0xD0), QColor(Qt::black), true));
    EXPECT_EQ(colours(1),
              std::make_tuple(QColor(0xF0, 0xF0, 0xF0), QColor(0x80, 0x80, 0x80), false));

    // A plain dish with 3 in the basket shows 3 after switching category; "+" makes 4.
    for (int i = 0; i < 3; ++i)
        click(screen->DishControlManager()->IncreaseButton(yuxiang));
    click(bar[2]);
    EXPECT_EQ(screen->SelectedCategoryIndex(), 2);
    EXPECT_EQ(colours(2), std::make_tuple(QColor(0xD0, 0xF0, 0xD0), QColor(Qt::black), true));
    EXPECT_FALSE(colours(0) == colours(2));
    ASSERT_EQ(screen->Dishes().size(), 1u);
    EXPECT_EQ(screen->Dishes()[0]->caipinid, huanggua);
    EXPECT_EQ(screen->DishControlManager()->DishPanel(yuxiang), nullptr);
    click(bar[1]);
    EXPECT_EQ(screen->DishControlManager()->QuantityLabel(yuxiang)->text(), QStringLiteral("3"));
    click(screen->DishControlManager()->IncreaseButton(yuxiang));
    EXPECT_EQ(screen->DishControlManager()->QuantityLabel(yuxiang)->text(), QStringLiteral("4"));
    EXPECT_EQ(cartTexts(), QStringList({QStringLiteral("鱼香肉丝 x 4 ￥40.00")}));

    // A category without dishes: empty grid, the label stays highlighted.
    notes.clear();
    click(bar[3]);
    EXPECT_EQ(notes, QStringList({QStringLiteral("该分类下没有菜品")}));
    EXPECT_EQ(screen->ScrollBox1->widget(), nullptr);
    EXPECT_TRUE(screen->Dishes().empty());
    EXPECT_TRUE(bar[3]->font().bold());
}

TEST_F(DiancanTest, PlusTwiceOnAPlainDishWritesTheBasketAndShowsTwo) {
    makeScreen(desk);
    TDishControlManager& tiles = *screen->DishControlManager();
    click(tiles.IncreaseButton(yuxiang));
    click(tiles.IncreaseButton(yuxiang));

    EXPECT_EQ(tiles.QuantityLabel(yuxiang)->text(), QStringLiteral("2"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) || ':' || quantity FROM zel_cart "
                                    "WHERE deskid=%1 AND caipinid=%2 AND skuid=0")
                         .arg(desk)
                         .arg(yuxiang)),
              QStringLiteral("1:2.0"));
    EXPECT_EQ(cartTexts(), QStringList({QStringLiteral("鱼香肉丝 x 2 ￥20.00")}));
    EXPECT_EQ(text(QStringLiteral("FTotalLabel")), QStringLiteral("总计: ￥20.00"));
    EXPECT_EQ(text(QStringLiteral("lblCartStats")), QStringLiteral("菜品数量: 2"));

    click(tiles.IncreaseButton(gongbao));
    click(tiles.DecreaseButton(yuxiang));
    EXPECT_EQ(tiles.QuantityLabel(yuxiang)->text(), QStringLiteral("1"));
    EXPECT_EQ(cartTexts(), QStringList({QStringLiteral("鱼香肉丝 x 1 ￥10.00"),
                                        QStringLiteral("宫保鸡丁 x 1 ￥5.50")}));
    EXPECT_EQ(text(QStringLiteral("FTotalLabel")), QStringLiteral("总计: ￥15.50"));
}

TEST_F(DiancanTest, MinusAtZeroKeepsZeroAndLeavesNoBasketLine) {
    makeScreen(desk);
    click(screen->DishControlManager()->DecreaseButton(gongbao));
    EXPECT_EQ(screen->DishControlManager()->QuantityLabel(gongbao)->text(), QStringLiteral("0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM zel_cart")), QStringLiteral("0"));
    EXPECT_TRUE(cartRows().isEmpty());
    EXPECT_EQ(screen->OrderManager()->OrderCount(), 0);

    // Back to 0 from 1: the row stays with quantity 0 and the list is empty.
    click(screen->DishControlManager()->IncreaseButton(gongbao));
    click(screen->DishControlManager()->DecreaseButton(gongbao));
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(quantity) FROM zel_cart")),
              QStringLiteral("0.0"));
    EXPECT_TRUE(cartRows().isEmpty());
    EXPECT_EQ(text(QStringLiteral("lblCartStats")), QStringLiteral("菜品数量: 0"));
}

// Presses "+" or "-" count times on row index of an open specification dialog.
void press(QDialog& dialog, const QString& button, int index, int count) {
    for (int i = 0; i < count; ++i)
        DiancanTest::clickIn(dialog, button + QString::number(index));
}

QString countOf(QDialog& dialog, int index) {
    return dialog.findChild<QLabel*>(QStringLiteral("QuantityLabel%1").arg(index))->text();
}

TEST_F(DiancanTest, SpecificationPickedInTheDialogAndCountersStartAtTheBasket) {
    makeScreen(desk);
    onNextDialog([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("水煮鱼 - 选择规格"));
        EXPECT_EQ(dialog.size(), QSize(400, 2 * 50 + 150));
        const QList<QWidget*> rows = dialog.findChildren<QWidget*>(QStringLiteral("SpecPanel"));
        ASSERT_EQ(rows.size(), 2);
        EXPECT_EQ(rows[1]->geometry(), QRect(0, 45, 400, 45));
        EXPECT_EQ(rows[1]->findChild<QLabel*>(QStringLiteral("lblSpecTitle"))->text(),
                  QStringLiteral("大份"));
        const QLabel* price = rows[1]->findChild<QLabel*>(QStringLiteral("lblPrice"));
        EXPECT_EQ(price->text(), QStringLiteral("￥58.00"));
        EXPECT_EQ(textColour(price), QColor(0xFF, 0, 0));
        EXPECT_EQ(countOf(dialog, 1), QStringLiteral("0"));
        press(dialog, QStringLiteral("btnIncrease"), 1, 2);
        EXPECT_EQ(countOf(dialog, 1), QStringLiteral("2"));
        // Applied at once, while the dialog is open.
        EXPECT_EQ(specButton(*screen, shuizhu)->text(), QStringLiteral("选择规格(2)"));
        clickIn(dialog, QStringLiteral("btnCancel"));
    });
    click(specButton(*screen, shuizhu));
    EXPECT_EQ(cartTexts(), QStringList({QStringLiteral("水煮鱼 (大份) x 2 ￥116.00")}));
    EXPECT_EQ(scalar(QStringLiteral("SELECT quantity FROM zel_cart WHERE skuid=%1").arg(large)),
              QStringLiteral("2"));

    // Reopened: each counter starts at what its specification holds, so "+" adds.
    onNextDialog([&](QDialog& dialog) {
        EXPECT_EQ(countOf(dialog, 0), QStringLiteral("0"));
        EXPECT_EQ(countOf(dialog, 1), QStringLiteral("2"));
        press(dialog, QStringLiteral("btnIncrease"), 1, 1);
        press(dialog, QStringLiteral("btnIncrease"), 0, 1);
        EXPECT_EQ(countOf(dialog, 1), QStringLiteral("3"));
        clickIn(dialog, QStringLiteral("btnOK"));
    });
    click(specButton(*screen, shuizhu));
    EXPECT_EQ(cartTexts(), QStringList({QStringLiteral("水煮鱼 (大份) x 3 ￥174.00"),
                                        QStringLiteral("水煮鱼 (小份) x 1 ￥38.00")}));
    EXPECT_EQ(specButton(*screen, shuizhu)->text(), QStringLiteral("选择规格(4)"));

    // "-" down to 0 removes that specification's line only.
    onNextDialog([&](QDialog& dialog) {
        press(dialog, QStringLiteral("btnDecrease"), 0, 2);
        EXPECT_EQ(countOf(dialog, 0), QStringLiteral("0"));
        clickIn(dialog, QStringLiteral("btnCancel"));
    });
    click(specButton(*screen, shuizhu));
    EXPECT_EQ(cartTexts(), QStringList({QStringLiteral("水煮鱼 (大份) x 3 ￥174.00")}));
    EXPECT_EQ(specButton(*screen, shuizhu)->text(), QStringLiteral("选择规格(3)"));
    EXPECT_EQ(text(QStringLiteral("lblCartStats")), QStringLiteral("菜品数量: 3"));
}

TEST_F(DiancanTest, DialogHeightFollowsTheLiveSpecifications) {
    exec(QStringLiteral("UPDATE zel_caipin_sku SET deleted=1"));
    const int32_t three = addDish(QStringLiteral("三规格"), 1, hot, 9, true);
    for (const char* title : {"一", "二", "三"})
        addSpec(three, QString::fromUtf8(title), 1);
    makeScreen(desk);
    for (const auto& [dish, rows] : {std::pair{shuizhu, 0}, std::pair{three, 3}}) {
        onNextDialog([&, rows = rows](QDialog& dialog) {
            EXPECT_EQ(dialog.height(), rows * 50 + 150);
            EXPECT_EQ(dialog.findChildren<QWidget*>(QStringLiteral("SpecPanel")).size(), rows);
            clickIn(dialog, QStringLiteral("btnOK"));
        });
        click(specButton(*screen, dish));
    }
}

// More specifications than the screen is high: the dialog fits the screen, its
// rows scroll and "确定" stays in sight.
TEST_F(DiancanTest, ManySpecificationsScrollAboveTheButtonsOnALowScreen) {
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const int count = available.height() / 45 + 2;
    const int32_t many = addDish(QStringLiteral("多规格"), 1, hot, 9, true);
    for (int i = 0; i < count; ++i)
        addSpec(many, QStringLiteral("规格%1").arg(i), 1);
    makeScreen(desk);
    onNextDialog([&](QDialog& dialog) {
        EXPECT_TRUE(available.contains(dialog.frameGeometry()));
        EXPECT_LT(dialog.height(), TSpecSelectionDialog::DialogHeight(count));
        auto* area = dialog.findChild<QScrollArea*>(QStringLiteral("SpecArea"));
        ASSERT_TRUE(area);
        EXPECT_TRUE(area->verticalScrollBar()->isVisible());
        auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("btnOK"));
        EXPECT_TRUE(dialog.rect().contains(QRect(ok->mapTo(&dialog, QPoint()), ok->size())));
        // The last row is reached by scrolling.
        auto* plus = dialog.findChild<QPushButton*>(QStringLiteral("btnIncrease%1").arg(count - 1));
        area->ensureWidgetVisible(plus);
        EXPECT_TRUE(area->viewport()->rect().contains(
            QRect(plus->mapTo(area->viewport(), QPoint()), plus->size())));
        press(dialog, QStringLiteral("btnIncrease"), count - 1, 1);
        clickIn(dialog, QStringLiteral("btnOK"));
    });
    click(specButton(*screen, many));
    EXPECT_EQ(cartTexts(),
              QStringList({QStringLiteral("多规格 (规格%1) x 1 ￥1.00").arg(count - 1)}));
}

// Narrowed, the screen lays the tiles out for the new width, keeping what
// they show; a narrowing that keeps the columns keeps the tiles.
TEST_F(DiancanTest, ANarrowerWindowLaysTheDishTilesOutForItsWidth) {
    for (int i = 0; i < 7; ++i)
        addDish(QStringLiteral("加菜%1").arg(i), 1, hot, 10 + i);
    makeScreen(desk);
    click(screen->DishControlManager()->IncreaseButton(gongbao));
    screen->resize(800, 600);

    QScrollArea* box = screen->ScrollBox1;
    const auto count = int32_t(screen->Dishes().size());
    const TDishGrid grid = DishGrid(box->width() - 2 * box->frameWidth(), count);
    ASSERT_LT(grid.ColCount, DishGrid(1084, count).ColCount);
    EXPECT_LE(screen->DishControlManager()->GridPanel()->width(), box->viewport()->width());
    for (int32_t i = 0; i < count; ++i)
        EXPECT_EQ(
            screen->DishControlManager()->DishPanel(screen->Dishes()[size_t(i)]->caipinid)->pos(),
            grid.TilePos(i))
            << i;
    EXPECT_EQ(screen->DishControlManager()->QuantityLabel(gongbao)->text(), QStringLiteral("1"));

    const QWidget* tile = screen->DishControlManager()->DishPanel(gongbao);
    screen->resize(screen->width() - 4, 600);
    ASSERT_EQ(DishGrid(box->width() - 2 * box->frameWidth(), count).ColCount, grid.ColCount);
    EXPECT_EQ(screen->DishControlManager()->DishPanel(gongbao), tile);
    EXPECT_LE(screen->DishControlManager()->GridPanel()->width(), box->viewport()->width());
}

TEST_F(DiancanTest, RemovingTheSecondSpecificationRowLeavesTheFirst) {
    makeScreen(desk);
    onNextDialog([&](QDialog& dialog) {
        press(dialog, QStringLiteral("btnIncrease"), 0, 1);
        press(dialog, QStringLiteral("btnIncrease"), 1, 2);
        clickIn(dialog, QStringLiteral("btnOK"));
    });
    click(specButton(*screen, shuizhu));
    ASSERT_EQ(cartRows().size(), 2);
    EXPECT_EQ(specButton(*screen, shuizhu)->text(), QStringLiteral("选择规格(3)"));

    click(cartRows().at(1)->findChild<QPushButton*>(QStringLiteral("btnRemove")));
    EXPECT_EQ(cartTexts(), QStringList({QStringLiteral("水煮鱼 (小份) x 1 ￥38.00")}));
    EXPECT_EQ(specButton(*screen, shuizhu)->text(), QStringLiteral("选择规格(1)"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(line) FROM (SELECT skuid || '=' || "
                                    "quantity AS line FROM zel_cart ORDER BY skuid)")),
              QStringLiteral("%1=1.0,%2=0.0").arg(small).arg(large));
    EXPECT_EQ(text(QStringLiteral("FTotalLabel")), QStringLiteral("总计: ￥38.00"));

    // Removing the last one leaves the plain caption.
    click(cartRows().at(0)->findChild<QPushButton*>(QStringLiteral("btnRemove")));
    EXPECT_TRUE(cartRows().isEmpty());
    EXPECT_EQ(specButton(*screen, shuizhu)->text(), QStringLiteral("选择规格"));
}

TEST_F(DiancanTest, RefreshAllDataDropsADeletedDishAndReloadsTheBasket) {
    makeScreen(desk);
    click(screen->CategoryLabels().at(1));
    click(screen->DishControlManager()->IncreaseButton(gongbao));
    exec(QStringLiteral("UPDATE zel_caipin SET deleted=1 WHERE id=%1").arg(yuxiang));
    exec(QStringLiteral("UPDATE zel_cart SET quantity=5 WHERE caipinid=%1").arg(gongbao));
    notes.clear();
    screen->RefreshAllData();

    EXPECT_EQ(notes, QStringList({QStringLiteral("数据已刷新")}));
    EXPECT_EQ(screen->SelectedCategoryIndex(), 0);
    EXPECT_EQ(screen->Dishes().size(), 3u);
    EXPECT_EQ(screen->DishControlManager()->DishPanel(yuxiang), nullptr);
    EXPECT_EQ(screen->DishControlManager()->QuantityLabel(gongbao)->text(), QStringLiteral("5"));
    EXPECT_EQ(cartTexts(), QStringList({QStringLiteral("宫保鸡丁 x 5 ￥27.50")}));
}

TEST_F(DiancanTest, ReopeningShowsTheSameBasketWithPlainTitles) {
    makeScreen(0);
    QWidget owner;
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    owner.setGeometry(available.adjusted(40, 30, -40, -30));
    owner.show();
    int runs = 0;
    onNextDialog([&](QDialog& dialog) {
        ++runs;
        EXPECT_EQ(&dialog, screen.get());
        EXPECT_LE(
            (dialog.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength(),
            4);
        EXPECT_TRUE(available.contains(dialog.frameGeometry()));
        EXPECT_EQ(screen->Desktitle, QStringLiteral("一号桌"));
        EXPECT_EQ(screen->Deskbh, QStringLiteral("A01"));
        EXPECT_EQ(screen->Desknums, QStringLiteral("4"));
        onNextDialog([&](QDialog& spec) {
            press(spec, QStringLiteral("btnIncrease"), 0, 1);
            clickIn(spec, QStringLiteral("btnOK"));
        });
        click(specButton(*screen, shuizhu));
        click(screen->DishControlManager()->IncreaseButton(huanggua));
        dialog.reject();
    });
    screen->OpenForDesk(desk, &owner);
    ASSERT_EQ(runs, 1);
    EXPECT_EQ(cartTexts(), QStringList({QStringLiteral("水煮鱼 (小份) x 1 ￥38.00"),
                                        QStringLiteral("拍黄瓜 x 1 ￥8.00")}));

    onNextDialog([&](QDialog& dialog) { dialog.reject(); });
    screen->OpenForDesk(desk, &owner);
    EXPECT_EQ(cartTexts(), QStringList({QStringLiteral("水煮鱼 x 1 ￥38.00"),
                                        QStringLiteral("拍黄瓜 x 1 ￥8.00")}));
    EXPECT_EQ(specButton(*screen, shuizhu)->text(), QStringLiteral("选择规格(1)"));
    EXPECT_EQ(screen->DishControlManager()->QuantityLabel(huanggua)->text(), QStringLiteral("1"));
}

TEST_F(DiancanTest, CreationWithoutADatabaseSaysSo) {
    sqlitename = folder() + QStringLiteral("missing/zeltora.db");
    newScreen();
    screen->FormCreate();
    EXPECT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes.value(0).startsWith(QStringLiteral("初始化失败: ")))
        << notes.join('|').toStdString();
    EXPECT_THROW(screen->SetDeskID(desk), std::exception);
}

} // namespace
