#include "common/appvalues.h"
#include "floor/view/desktile.h"

#include "floorfixture.h"

#include <QElapsedTimer>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>

namespace {

using FloorViewTest = FloorTest;

QColor pixel(QWidget* widget, const QPoint& at) {
    return widget->grab().toImage().pixelColor(at);
}

TEST_F(FloorViewTest, TilesFollowTheGridOfTheTileArea) {
    for (int i = 1; i <= 8; ++i)
        addDesk({QStringLiteral("T%1").arg(i), QString::number(i), 0, i});
    Tform_main& w = makeWindow(1000, 600);
    w.CreateCategoryPanel();
    w.LoadDesksByCategory(0);

    ASSERT_EQ(w.TileArea()->width(), 1000);
    const QList<TDeskTile*> all = tiles();
    ASSERT_EQ(all.size(), 8);
    EXPECT_EQ(w.FindDeskGroupBox(1)->geometry(), QRect(17, 10, 120, 120));
    EXPECT_EQ(w.FindDeskGroupBox(2)->geometry(), QRect(154, 10, 120, 120));
    EXPECT_EQ(w.FindDeskGroupBox(7)->geometry(), QRect(839, 10, 120, 120));
    EXPECT_EQ(w.FindDeskGroupBox(8)->geometry(), QRect(17, 147, 120, 120));
    EXPECT_EQ(w.TileArea()->widget()->height(), 147 + 120 + 10);

    // Narrower than 280 pixels: one centred column.
    w.resize(200, w.height());
    w.LoadDesksByCategory(0);
    ASSERT_EQ(w.TileArea()->width(), 200);
    EXPECT_EQ(w.FindDeskGroupBox(1)->pos(), QPoint(40, 10));
    EXPECT_EQ(w.FindDeskGroupBox(2)->pos(), QPoint(40, 140));
    EXPECT_EQ(w.FindDeskGroupBox(3)->pos(), QPoint(40, 270));
}

TEST_F(FloorViewTest, TileShowsStateColourAndFiveLabels) {
    const struct {
        const char* stat;
        double price;
        int nums;
        const char* stateText;
        const char* priceText;
        QColor fill;
    } cases[] = {{"0", 0, 0, "空闲", "￥0.00", QColor(0xE1, 0xFF, 0xE1)},
                 {"1", 12.345, 4, "占用", "￥12.34", QColor(0xE1, 0xE1, 0xFF)},
                 {"2", 5, 2, "其他", "￥5.00", QColor(0xFF, 0xE1, 0xE1)}};
    int sort = 0;
    for (const auto& c : cases)
        addDesk({QStringLiteral("桌位%1").arg(++sort), QStringLiteral("A%1").arg(sort), 0, sort,
                 QString::fromUtf8(c.stat), c.price, c.nums});
    Tform_main& w = makeWindow();
    w.CreateCategoryPanel();
    w.LoadDesksByCategory(0);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    int id = 0;
    for (const auto& c : cases) {
        ++id;
        SCOPED_TRACE(c.stat);
        TDeskTile* tile = w.FindDeskGroupBox(id);
        ASSERT_NE(tile, nullptr);
        EXPECT_EQ(tile->Hint(), QStringLiteral("桌位%1").arg(id));
        EXPECT_TRUE(tile->title().isEmpty());
        EXPECT_EQ(tile->FillColor(), c.fill);
        // Between the centre label and the bottom labels nothing covers the fill.
        EXPECT_EQ(pixel(tile, QPoint(60, 85)), c.fill);

        const struct {
            QRect geometry;
            Qt::Alignment align;
            QString text;
        } labels[] = {
            {QRect(5, 5, 50, 20), Qt::AlignLeft | Qt::AlignTop, QString::fromUtf8(c.stateText)},
            {QRect(60, 5, 50, 20), Qt::AlignRight | Qt::AlignTop, QStringLiteral("A%1").arg(id)},
            {QRect(5, 95, 50, 20), Qt::AlignLeft | Qt::AlignBottom, QString::fromUtf8(c.priceText)},
            {QRect(60, 95, 50, 20), Qt::AlignRight | Qt::AlignBottom,
             QStringLiteral("%1人").arg(c.nums)},
            {QRect(0, 45, 120, 30), Qt::AlignCenter, QStringLiteral("桌位%1").arg(id)},
        };
        for (const auto& l : labels) {
            QLabel* label = labelAt(tile, l.geometry);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->alignment(), l.align);
            EXPECT_EQ(label->text(), l.text);
            EXPECT_FALSE(label->autoFillBackground());
        }
        const QFont centre = labelAt(tile, QRect(0, 45, 120, 30))->font();
        EXPECT_TRUE(centre.bold());
        EXPECT_EQ(centre.pointSize(), 10);
        EXPECT_EQ(labelAt(tile, QRect(5, 5, 50, 20))->font().pointSize(), 8);
    }
}

// A name of 60 characters is drawn cut with "…" inside its tile, as a plain
// label shows the cut text; the label still holds the whole name.
TEST_F(FloorViewTest, ALongNameIsCutWithAnEllipsisInsideItsTile) {
    const QString name = QStringLiteral("靠窗的大圆桌").repeated(10);
    addDesk({name, QStringLiteral("A1"), 0, 1});
    Tform_main& w = makeWindow();
    w.CreateCategoryPanel();
    w.LoadDesksByCategory(0);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QLabel* title = labelAt(w.FindDeskGroupBox(1), QRect(0, 45, 120, 30));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), name);

    const QString cut = title->fontMetrics().elidedText(name, Qt::ElideRight, title->width());
    ASSERT_TRUE(cut.endsWith(QStringLiteral("…")));
    QLabel expected(cut);
    expected.setFont(title->font());
    expected.setPalette(title->palette());
    expected.setAlignment(title->alignment());
    expected.setGeometry(title->geometry());
    expected.setAttribute(Qt::WA_TranslucentBackground);
    QLabel& shown = *title;
    shown.setAttribute(Qt::WA_TranslucentBackground);
    EXPECT_EQ(shown.grab().toImage(), expected.grab().toImage());
}

TEST_F(FloorViewTest, AreaWithoutLiveTablesSaysSo) {
    const int empty = addArea(QStringLiteral("包间"), 1);
    const int deletedOnly = addArea(QStringLiteral("露台"), 2);
    addDesk({QStringLiteral("gone"), QStringLiteral("1"), deletedOnly, 1, QStringLiteral("0"), 0, 0,
             1});
    Tform_main& w = makeWindow();
    w.CreateCategoryPanel();
    for (int area : {empty, deletedOnly}) {
        w.LoadDesksByCategory(area);
        auto* label = qobject_cast<QLabel*>(w.TileArea()->widget());
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), QStringLiteral("该分类下没有桌位"));
        EXPECT_EQ(label->font().pointSize(), 16);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0x80, 0x80, 0x80));
        EXPECT_EQ(label->alignment(), Qt::AlignCenter);
        EXPECT_TRUE(tiles().isEmpty());
    }
}

TEST_F(FloorViewTest, AllAreasShowsEveryLiveTableEvenOfAMissingArea) {
    const int hall = addArea(QStringLiteral("大厅"), 1);
    addDesk({QStringLiteral("hall"), QStringLiteral("1"), hall, 1});
    addDesk({QStringLiteral("orphan"), QStringLiteral("2"), 77, 2});
    addDesk({QStringLiteral("gone"), QStringLiteral("3"), hall, 3, QStringLiteral("0"), 0, 0, 1});
    Tform_main& w = makeWindow();
    w.CreateCategoryPanel();
    w.LoadDesksByCategory(0);
    QStringList titles;
    for (TDeskTile* tile : tiles())
        titles << tile->Hint();
    titles.sort();
    EXPECT_EQ(titles, QStringList({QStringLiteral("hall"), QStringLiteral("orphan")}));
}

TEST_F(FloorViewTest, AreaStripSwitchesAreasAndHighlightsTheChoice) {
    const int hall = addArea(QStringLiteral("大厅"), 2);
    const int rooms = addArea(QStringLiteral("包间"), 1);
    addDesk({QStringLiteral("h1"), QStringLiteral("1"), hall, 1});
    addDesk({QStringLiteral("r1"), QStringLiteral("2"), rooms, 2});
    Tform_main& w = makeWindow();
    w.CreateCategoryPanel();
    w.LoadDesksByCategory(0);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    EXPECT_EQ(w.CategoryScrollBox()->height(), 30);
    EXPECT_EQ(w.CategoryScrollBox()->y(), 0);
    EXPECT_GE(w.CategoryPanel()->minimumWidth(), 100 + 90 * 2 + 10);
    const QList<QLabel*> labels = w.CategoryPanel()->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 3);
    const struct {
        const char* title;
        int tag;
        int left;
    } expected[] = {{"所有分类", 0, 10}, {"包间", rooms, 100}, {"大厅", hall, 190}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(labels[i]->text(), QString::fromUtf8(expected[i].title));
        EXPECT_EQ(labels[i]->property("tag").toInt(), expected[i].tag);
        EXPECT_EQ(labels[i]->geometry(), QRect(expected[i].left, 2, 80, 25));
        EXPECT_EQ(labels[i]->font().pointSize(), 9);
        EXPECT_EQ(labels[i]->font().bold(), i == 0);
    }
    EXPECT_EQ(labels[0]->palette().color(QPalette::WindowText), QColor(0xFF, 0, 0));

    QTest::mouseClick(labels[2], Qt::LeftButton);
    EXPECT_EQ(w.CurrentCategoryID(), hall);
    EXPECT_TRUE(labels[2]->font().bold());
    EXPECT_EQ(labels[2]->palette().color(QPalette::WindowText), QColor(0xFF, 0, 0));
    EXPECT_FALSE(labels[0]->font().bold());
    EXPECT_EQ(labels[0]->palette().color(QPalette::WindowText), QColor(Qt::black));
    ASSERT_EQ(tiles().size(), 1);
    EXPECT_EQ(tiles().first()->Hint(), QStringLiteral("h1"));

    // An area created later gets no label before the next start.
    addArea(QStringLiteral("露台"), 3);
    w.RefreshAllDesks();
    EXPECT_EQ(w.CategoryPanel()->findChildren<QLabel*>().size(), 3);
    EXPECT_EQ(w.CurrentCategoryID(), hall);
}

TEST_F(FloorViewTest, ClickOnFrameOrAnyLabelOpensTheSameTable) {
    addDesk({QStringLiteral("first"), QStringLiteral("1"), 0, 1});
    const int id = addDesk({QStringLiteral("second"), QStringLiteral("2"), 0, 2});
    Tform_main& w = makeWindow();
    w.CreateCategoryPanel();
    w.LoadDesksByCategory(0);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QSignalSpy opened(&w, &Tform_main::DeskClicked);

    TDeskTile* tile = w.FindDeskGroupBox(id);
    QTest::mouseClick(labelAt(tile, QRect(0, 45, 120, 30)), Qt::LeftButton);
    QTest::mouseClick(labelAt(tile, QRect(60, 95, 50, 20)), Qt::LeftButton);
    QTest::mouseClick(tile, Qt::LeftButton, {}, QPoint(60, 85));
    ASSERT_EQ(opened.size(), 3);
    for (const QList<QVariant>& call : opened)
        EXPECT_EQ(call.at(0).toInt(), id);

    // Anything that is neither a tile nor one of its labels is ignored.
    w.GroupBoxClick(w.CategoryPanel());
    EXPECT_EQ(opened.size(), 3);
}

TEST_F(FloorViewTest, ResizeBurstRebuildsOnceAfterTheLastEvent) {
    const int hall = addArea(QStringLiteral("大厅"), 1);
    addDesk({QStringLiteral("h1"), QStringLiteral("1"), hall, 1});
    addDesk({QStringLiteral("other"), QStringLiteral("2"), 0, 2});
    Tform_main& w = makeWindow(900, 600);
    w.CreateCategoryPanel();
    w.LoadDesksByCategory(0);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(w.CategoryPanel()->findChildren<QLabel*>().at(1), Qt::LeftButton);
    // Let the resize of the first show settle.
    QTest::qWait(250);

    QSignalSpy rebuilt(&w, &Tform_main::FloorRebuilt);
    for (int i = 1; i <= 10; ++i)
        w.resize(900 + 10 * i, w.height());
    QElapsedTimer sinceLast;
    sinceLast.start();
    QTest::qWait(40);
    if (sinceLast.elapsed() < 90) { // a stalled machine proves nothing here
        EXPECT_EQ(rebuilt.size(), 0);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return rebuilt.size() == 1; }, 2000));
    QTest::qWait(300);
    EXPECT_EQ(rebuilt.size(), 1);
    EXPECT_EQ(w.CurrentCategoryID(), hall);
    ASSERT_EQ(tiles().size(), 1);
    EXPECT_EQ(w.TileArea()->width(), 1000);
    // 980 free pixels: the single tile sits at the first of seven columns.
    EXPECT_EQ(tiles().first()->pos(), QPoint(17, 10));
}

} // namespace
