#include "common/appvalues.h"
#include "floor/view/desktile.h"

#include "floorfixture.h"

#include <QScrollArea>
#include <QSignalSpy>

namespace {

class FloorUpdateTest : public FloorTest {
protected:
    void SetUp() override {
        FloorTest::SetUp();
        hall = addArea(QStringLiteral("大厅"), 1);
        rooms = addArea(QStringLiteral("包间"), 2);
        first = addDesk({QStringLiteral("一号"), QStringLiteral("01"), hall, 1});
        second = addDesk({QStringLiteral("二号"), QStringLiteral("02"), hall, 2});
        room = addDesk({QStringLiteral("雅间"), QStringLiteral("09"), rooms, 3});
        Tform_main& w = makeWindow();
        w.CreateCategoryPanel();
        w.LoadDesksByCategory(0);
    }

    QStringList captions(int id) const {
        QStringList out;
        const TDeskTile* tile = window->FindDeskGroupBox(id);
        for (const QRect& r : {QRect(5, 5, 50, 20), QRect(60, 5, 50, 20), QRect(5, 95, 50, 20),
                               QRect(60, 95, 50, 20), QRect(0, 45, 120, 30)})
            out << labelAt(tile, r)->text();
        return out;
    }

    int hall = 0, rooms = 0, first = 0, second = 0, room = 0;
};

TEST_F(FloorUpdateTest, UpdateDeskInfoRepaintsOneTileWithoutReadingTheDatabase) {
    const QStringList untouched = captions(second);
    // A repaint that read the database would now fail.
    sqlitename = folder() + QStringLiteral("missing/zeltora.db");
    window->UpdateDeskInfo(first, QStringLiteral("贵宾"), QStringLiteral("V1"), QStringLiteral("6"),
                           QStringLiteral("1"), 88.889);

    TDeskTile* tile = window->FindDeskGroupBox(first);
    EXPECT_EQ(captions(first),
              QStringList({QStringLiteral("占用"), QStringLiteral("V1"), QStringLiteral("￥88.88"),
                           QStringLiteral("6人"), QStringLiteral("贵宾")}));
    EXPECT_EQ(tile->Hint(), QStringLiteral("贵宾"));
    EXPECT_EQ(tile->FillColor(), QColor(0xE1, 0xE1, 0xFF));
    EXPECT_EQ(captions(second), untouched);

    window->UpdateDeskInfo(first, QStringLiteral("贵宾"), QStringLiteral("V1"), QStringLiteral("0"),
                           QStringLiteral("0"), 0);
    EXPECT_EQ(captions(first).first(), QStringLiteral("空闲"));
    EXPECT_EQ(tile->FillColor(), QColor(0xE1, 0xFF, 0xE1));
}

TEST_F(FloorUpdateTest, TableOfAnotherAreaLeavesTheFloorAlone) {
    window->CategoryButtonClick(window->CategoryPanel()->findChildren<QLabel*>().at(1));
    ASSERT_EQ(window->FindDeskGroupBox(room), nullptr);
    const QStringList before = captions(first) + captions(second);
    window->UpdateDeskInfo(room, QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("1"),
                           QStringLiteral("1"), 1);
    window->UpdateDeskPrice(room, 1);
    window->UpdateDeskInfo(4242, QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("1"),
                           QStringLiteral("1"), 1);
    EXPECT_EQ(captions(first) + captions(second), before);
}

TEST_F(FloorUpdateTest, UpdateDeskPriceRewritesOnlyTheAmount) {
    const QStringList before = captions(first);
    window->UpdateDeskPrice(first, 2.675);
    QStringList expected = before;
    expected[2] = QStringLiteral("￥2.67");
    EXPECT_EQ(captions(first), expected);
}

TEST_F(FloorUpdateTest, RefreshDeskByIdRepaintsFromTheStoredRow) {
    exec(QStringLiteral("UPDATE zel_desk SET stat=1, price=30.5, nums=3, title='改名' WHERE id=%1")
             .arg(first));
    window->RefreshDeskByID(first);
    EXPECT_EQ(captions(first),
              QStringList({QStringLiteral("占用"), QStringLiteral("01"), QStringLiteral("￥30.50"),
                           QStringLiteral("3人"), QStringLiteral("改名")}));
    window->RefreshDeskByID(9999); // no row: nothing happens
}

TEST_F(FloorUpdateTest, RefreshAllDesksRebuildsTheCurrentArea) {
    window->CategoryButtonClick(window->CategoryPanel()->findChildren<QLabel*>().at(1));
    const int added = addDesk({QStringLiteral("三号"), QStringLiteral("03"), hall, 4});
    exec(QStringLiteral("UPDATE zel_desk SET deleted=1 WHERE id=%1").arg(second));
    ASSERT_EQ(window->FindDeskGroupBox(added), nullptr);

    QSignalSpy rebuilt(window.get(), &Tform_main::FloorRebuilt);
    window->RefreshAllDesks();
    EXPECT_EQ(rebuilt.size(), 1);
    EXPECT_EQ(window->CurrentCategoryID(), hall);
    EXPECT_NE(window->FindDeskGroupBox(added), nullptr);
    EXPECT_EQ(window->FindDeskGroupBox(second), nullptr);
    EXPECT_EQ(window->FindDeskGroupBox(room), nullptr);
    // Only the newest tile area is left in the window.
    EXPECT_EQ(
        window->centralWidget()->findChildren<QScrollArea*>(QStringLiteral("FScrollBox")).size(),
        1);

    window->RefreshCurrentCategory();
    EXPECT_EQ(rebuilt.size(), 2);
}

TEST_F(FloorUpdateTest, DatabaseErrorOfARebuildReachesTheCaller) {
    exec(QStringLiteral("DROP TABLE zel_desk"));
    EXPECT_ANY_THROW(window->RefreshAllDesks());
}

} // namespace
