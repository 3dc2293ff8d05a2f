#include "common/appvalues.h"
#include "floor/view/deskgrid.h"
#include "floor/view/deskreader.h"
#include "floor/view/deskstate.h"
#include "store/sqlitedb.h"

#include "floorfixture.h"

#include <gtest/gtest.h>

namespace {

struct GridCase {
    int width;
    int columns;
    int spacing;
    QList<QPoint> firstTiles; // tiles 0, 1, ... as far as listed
};

TEST(DeskGridTest, ColumnsSpacingAndPositions) {
    const GridCase cases[] = {
        // 980 free pixels hold 7 columns with 17 pixels around each.
        {1000,
         7,
         17,
         {{17, 10}, {154, 10}, {291, 10}, {428, 10}, {565, 10}, {702, 10}, {839, 10}, {17, 147}}},
        // Narrower than 280: one centred column, 10 pixels between rows.
        {200, 1, 10, {{40, 10}, {40, 140}, {40, 270}}},
        {279, 1, 10, {{79, 10}, {79, 140}}},
        {280, 2, 6, {{6, 10}, {132, 10}, {6, 136}}},
        {1293, 9, 19, {{19, 10}, {158, 10}}},
        // A box with no width yet still gets one column.
        {0, 1, 10, {{-60, 10}, {-60, 140}}},
    };
    for (const GridCase& c : cases) {
        SCOPED_TRACE(c.width);
        const TDeskGrid grid = DeskGrid(c.width);
        EXPECT_EQ(grid.Columns, c.columns);
        EXPECT_EQ(grid.Spacing, c.spacing);
        for (int i = 0; i < c.firstTiles.size(); ++i)
            EXPECT_EQ(grid.TilePos(i), c.firstTiles[i]) << "tile " << i;
    }
}

TEST(DeskGridTest, ContentHeightEndsTenBelowTheLastTile) {
    const TDeskGrid grid = DeskGrid(1000);
    EXPECT_EQ(grid.ContentHeight(7), 10 + 120 + 10);
    EXPECT_EQ(grid.ContentHeight(8), 147 + 120 + 10);
    EXPECT_EQ(grid.ContentHeight(0), 0);
}

TEST(DeskStateTest, TextAndColourByStateText) {
    const struct {
        const char* stat;
        const char* text;
        QColor color;
    } cases[] = {{"0", "空闲", QColor(0xE1, 0xFF, 0xE1)},
                 {"1", "占用", QColor(0xE1, 0xE1, 0xFF)},
                 {"2", "其他", QColor(0xFF, 0xE1, 0xE1)},
                 {"", "其他", QColor(0xFF, 0xE1, 0xE1)},
                 {"01", "其他", QColor(0xFF, 0xE1, 0xE1)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stat);
        EXPECT_EQ(DeskStateText(QString::fromUtf8(c.stat)), QString::fromUtf8(c.text));
        EXPECT_EQ(DeskStateColor(QString::fromUtf8(c.stat)), c.color);
    }
}

TEST(DeskStateTest, AmountIsCutToTwoDecimals) {
    EXPECT_EQ(DeskPriceText(12.345), QStringLiteral("￥12.34"));
    EXPECT_EQ(DeskPriceText(5), QStringLiteral("￥5.00"));
    EXPECT_EQ(DeskGuestsText(QStringLiteral("4")), QStringLiteral("4人"));
}

using DeskReaderTest = FloorTest;

TEST_F(DeskReaderTest, ReadsLiveTablesOfAnAreaInSortOrder) {
    const int a = addArea(QStringLiteral("大厅"), 1);
    addDesk({QStringLiteral("B"), QStringLiteral("02"), a, 2, QStringLiteral("1"), 12.5, 3});
    addDesk({QStringLiteral("A"), QStringLiteral("01"), a, 1});
    addDesk({QStringLiteral("gone"), QStringLiteral("03"), a, 0, QStringLiteral("0"), 0, 0, 1});
    addDesk({QStringLiteral("orphan"), QStringLiteral("04"), 99, 3});

    const QList<TDeskRow> area = ReadDesks(sqlitename, a);
    ASSERT_EQ(area.size(), 2);
    EXPECT_EQ(area[0].title, QStringLiteral("A"));
    EXPECT_EQ(area[1].title, QStringLiteral("B"));
    EXPECT_EQ(area[1].bh, QStringLiteral("02"));
    EXPECT_EQ(area[1].stat, QStringLiteral("1"));
    EXPECT_EQ(area[1].nums, QStringLiteral("3"));
    EXPECT_DOUBLE_EQ(area[1].price, 12.5);

    QStringList all;
    for (const TDeskRow& row : ReadDesks(sqlitename, 0))
        all << row.title;
    EXPECT_EQ(all,
              QStringList({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("orphan")}));
}

TEST_F(DeskReaderTest, OneTableIsReadEvenWhenDeleted) {
    const int id = addDesk(
        {QStringLiteral("gone"), QStringLiteral("9"), 0, 0, QStringLiteral("1"), 7.5, 2, 1});
    const auto row = ReadDesk(sqlitename, id);
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->title, QStringLiteral("gone"));
    EXPECT_FALSE(ReadDesk(sqlitename, id + 1).has_value());
}

TEST_F(DeskReaderTest, DatabaseErrorsAreRaisedNotHidden) {
    exec(QStringLiteral("DROP TABLE zel_desk"));
    EXPECT_THROW(ReadDesks(sqlitename, 0), ESQLiteException);
    EXPECT_THROW(ReadDesks(folder() + QStringLiteral("no/such/folder/x.db"), 0), ESQLiteException);
}

} // namespace
