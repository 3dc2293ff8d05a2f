#include "billing/table/deskview.h"
#include "common/myfun.h"

#include <gtest/gtest.h>

TEST(DeskViewTest, AmountsRoundHalfAwayFromZeroOnTheirDecimalText) {
    const std::pair<double, const char*> cases[] = {
        {0, "0.00"},
        {5, "5.00"},
        {88.5, "88.50"},
        {6.175, "6.18"},
        {2.675, "2.68"},
        {99.995, "100.00"},
        {-8.5, "-8.50"},
        {-6.175, "-6.18"},
        {-0.001, "0.00"},
        {0.1 + 0.2, "0.30"},
        {1e15, "1000000000000000.00"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FormatFloat00(value), QString::fromLatin1(text)) << value;
    EXPECT_EQ(ShortestNumber(0.5), QStringLiteral("0.5"));
    EXPECT_EQ(ShortestNumber(2), QStringLiteral("2"));
    EXPECT_EQ(ShortestNumber(1e6), QStringLiteral("1000000"));
}

TEST(DeskViewTest, SubtotalsComeFromTheShownTextsAndReturnedLinesCountInNoTotal) {
    // A unit price of 12.345 shows 12.34; the subtotal multiplies what is shown.
    const TDeskLine cut = MakeDeskLine(1, QStringLiteral("a"), 3, 12.345, 0);
    EXPECT_EQ(cut.OnePrice, QStringLiteral("12.34"));
    EXPECT_EQ(cut.Subtotal, QStringLiteral("37.02"));
    const TDeskLine half = MakeDeskLine(2, QStringLiteral("b"), 0.5, 12.35, 3);
    EXPECT_EQ(half.Subtotal, QStringLiteral("6.18"));
    EXPECT_EQ(half.StatText, QStringLiteral("已出菜"));
    const TDeskLine returned = MakeDeskLine(3, QStringLiteral("c"), 2, 50, 7);

    const TDeskLines sums = SumDeskLines({cut, half, returned});
    EXPECT_DOUBLE_EQ(sums.TotalAmount, 43.2); // the subtotals as shown: 37.02 + 6.18
    EXPECT_DOUBLE_EQ(sums.TotalDishes, 3.5);
    EXPECT_DOUBLE_EQ(SumDeskLines({returned}).TotalAmount, 0);
}

TEST(DeskViewTest, ChangeIsReceivedMinusTotalOrNothing) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"100", "￥88.50", "11.50"},     {"80", "￥88.50", "-8.50"}, {" 100 ", "￥88.51", "11.49"},
        {"100.005", "￥0.00", "100.01"}, {"1e2", "￥0.50", "99.50"}, {"0", "0.00", "0.00"},
    };
    for (const auto& [received, total, change] : cases)
        EXPECT_EQ(ComputeChange(QString::fromUtf8(received), QString::fromUtf8(total)),
                  QString::fromUtf8(change))
            << received;
    for (const char* notANumber : {"abc", "", "1,5", "12元", "1'0"})
        EXPECT_FALSE(ComputeChange(QString::fromUtf8(notANumber), QStringLiteral("￥8.00")))
            << notANumber;
    EXPECT_FALSE(ComputeChange(QString(10000, QLatin1Char('9')), QStringLiteral("￥8.00")));
}
