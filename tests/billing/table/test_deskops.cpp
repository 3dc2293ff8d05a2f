#include "billing/table/deskops.h"

#include "deskfixture.h"

TEST_F(DeskFixture, RecountStoresStateAndAmountOfOpenLines) {
    addLine(QStringLiteral("a"), 10, 1, 0);
    addLine(QStringLiteral("b"), 5.5, 1, 3);
    addLine(QStringLiteral("returned"), 8, 1, 7);
    addLine(QStringLiteral("deleted"), 4, 1, 8);
    addLine(QStringLiteral("settled"), 99, 1, 0, 1, 1);
    addLine(QStringLiteral("other table"), 7, 1, 0, 2);

    TDeskTotals t = RecountDesk(*db, 1);
    EXPECT_EQ(t.Stat, QStringLiteral("1"));
    EXPECT_DOUBLE_EQ(t.Price, 15.5);
    EXPECT_EQ(t.LineCount, 3);
    EXPECT_EQ(scalar(QStringLiteral("SELECT stat || '/' || price FROM zel_desk WHERE id=1")),
              QStringLiteral("1/15.5"));

    // Only a returned line left: still occupied, nothing to pay.
    db->ExecSQL(QStringLiteral("UPDATE zel_orders_detail SET stat=8 WHERE title IN ('a','b')"));
    t = RecountDesk(*db, 1);
    EXPECT_EQ(t.Stat, QStringLiteral("1"));
    EXPECT_DOUBLE_EQ(t.Price, 0);

    // No open line: the row is stored free, not left as it was.
    db->ExecSQL(QStringLiteral("UPDATE zel_orders_detail SET stat=8 WHERE title='returned'"));
    t = RecountDesk(*db, 1);
    EXPECT_EQ(t.Stat, QStringLiteral("0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT stat || '/' || price FROM zel_desk WHERE id=1")),
              QStringLiteral("0/0.0"));
}

TEST_F(DeskFixture, ClearMarksLinesDeletedEmptiesBasketAndFreesTheTable) {
    addLine(QStringLiteral("a"), 10, 1, 0);
    addLine(QStringLiteral("r"), 8, 1, 7);
    const int settled = addLine(QStringLiteral("settled"), 9, 1, 3, 1, 1);
    addCart(5, 2);
    addCart(6, 1, 2);

    ClearDesk(*db, 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(stat) FROM zel_orders_detail WHERE "
                                    "issettle=0 AND deskid=1")),
              QStringLiteral("8,8"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT stat FROM zel_orders_detail WHERE id=%1").arg(settled)),
              QStringLiteral("3"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(quantity) FROM zel_cart ORDER BY id")),
              QStringLiteral("0.0,1.0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT nums||fwy||ydtruename||ydtel||yj||stat||price FROM "
                                    "zel_desk WHERE id=1")),
              QStringLiteral("00.000.0")); // yj and price are REAL columns
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM zel_orders_detail")),
              QStringLiteral("3")); // nothing removed
}

TEST_F(DeskFixture, ClearIsAllOrNothing) {
    addLine(QStringLiteral("a"), 10, 1, 0);
    addCart(5, 2);
    db->ExecSQL(QStringLiteral("CREATE TRIGGER boom BEFORE UPDATE ON zel_desk BEGIN "
                               "SELECT RAISE(ABORT, 'desk locked'); END"));
    try {
        ClearDesk(*db, 1);
        FAIL() << "no error raised";
    } catch (const EDeskError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("desk locked"))) << e.what();
    }
    EXPECT_FALSE(db->InTransaction());
    EXPECT_EQ(scalar(QStringLiteral("SELECT stat FROM zel_orders_detail")), QStringLiteral("0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT quantity FROM zel_cart")), QStringLiteral("2"));
}

TEST(DeskDetailsTest, TypedDetailsAreNormalised) {
    struct Case {
        const char* nums;
        const char* yj;
        const char* storedNums;
        const char* storedYj;
    };
    const Case cases[] = {
        {" 4 ", "50", "4", "50"},         {"3.5", "50.5", "0", "50.5"}, {"abc", "五十", "0", "0"},
        {"-2", "-10", "-2", "-10"},       {"'; --", "1e3", "0", "1e3"}, {"", "", "0", "0"},
        {"99999999999", "1,5", "0", "0"},
    };
    for (const Case& c : cases) {
        const TDeskDetails d =
            NormaliseDeskDetails({QString::fromUtf8(c.nums), QStringLiteral(" 小王 "), QString(),
                                  QString(), QString::fromUtf8(c.yj)});
        EXPECT_EQ(d.Nums, QString::fromUtf8(c.storedNums)) << c.nums;
        EXPECT_EQ(d.Yj, QString::fromUtf8(c.storedYj)) << c.yj;
        EXPECT_EQ(d.Fwy, QStringLiteral("小王"));
    }
}

TEST_F(DeskFixture, DetailsAndStatesAreStoredAsTyped) {
    const QString hostile = QStringLiteral("O'Brien \"x\" '); DROP TABLE zel_desk; --") +
                            QString(10000, QLatin1Char('9'));
    SaveDeskDetails(
        *db, 1, NormaliseDeskDetails({QStringLiteral("6"), hostile, hostile, hostile, hostile}));
    EXPECT_EQ(scalar(QStringLiteral("SELECT fwy FROM zel_desk WHERE id=1")), hostile);
    EXPECT_EQ(scalar(QStringLiteral("SELECT nums || '/' || yj FROM zel_desk WHERE id=1")),
              QStringLiteral("6/0.0"));

    SetDeskStat(*db, 1, QStringLiteral("0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT stat FROM zel_desk WHERE id=1")), QStringLiteral("0"));

    const int line = addLine(QStringLiteral("a"), 10, 1, 0);
    EXPECT_TRUE(UpdateOrderItemStatus(*db, line, 3));
    EXPECT_EQ(scalar(QStringLiteral("SELECT stat FROM zel_orders_detail")), QStringLiteral("3"));
    // A settled line keeps its state, whatever a stale window asks.
    const int settled = addLine(QStringLiteral("b"), 10, 1, 3, 1, 1);
    EXPECT_FALSE(UpdateOrderItemStatus(*db, settled, 7));
    EXPECT_EQ(scalar(QStringLiteral("SELECT stat FROM zel_orders_detail WHERE id=%1").arg(settled)),
              QStringLiteral("3"));

    db->ExecSQL(QStringLiteral("DROP TABLE zel_orders_detail"));
    EXPECT_THROW(UpdateOrderItemStatus(*db, line, 7), EDeskError);
}
