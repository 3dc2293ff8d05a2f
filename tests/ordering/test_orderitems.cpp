#include "ordering/orderitems.h"

#include <gtest/gtest.h>

TEST(OrderItemTest, DisplayTextsRoundTheAmountAndShowTheShortestQuantity) {
    struct Case {
        QString title;
        double quantity;
        double price;
        int32_t stat;
        QString plain;
        QString withStatus;
    };
    const Case cases[] = {
        {QStringLiteral("宫保鸡丁"), 2, 12.5, 0, QStringLiteral("宫保鸡丁 x 2 ￥25.00"),
         QStringLiteral("宫保鸡丁 x 2 ￥25.00 (待制作)")},
        {QStringLiteral("米饭"), 1.5, 3, 3, QStringLiteral("米饭 x 1.5 ￥4.50"),
         QStringLiteral("米饭 x 1.5 ￥4.50 (已出菜)")},
        // Rounded, not cut as FormatPno would.
        {QStringLiteral("茶"), 1, 0.126, 7, QStringLiteral("茶 x 1 ￥0.13"),
         QStringLiteral("茶 x 1 ￥0.13 (已退菜)")},
        {QStringLiteral("100% 果汁"), 3, 0, 1, QStringLiteral("100% 果汁 x 3 ￥0.00"),
         QStringLiteral("100% 果汁 x 3 ￥0.00 (未知状态)")},
    };
    for (const Case& c : cases) {
        TOrderItem item;
        item.title = c.title;
        item.Quantity = c.quantity;
        item.Price = c.price;
        item.Stat = c.stat;
        EXPECT_EQ(item.DisplayText(), c.plain);
        EXPECT_EQ(item.DisplayTextWithStatus(), c.withStatus);
    }

    const TSpecItem spec{7, QStringLiteral("大份"), 18.5};
    EXPECT_EQ(spec.DisplayText(), QStringLiteral("大份 (￥18.50)"));
}

TEST(OrderItemTest, ClearResetsEveryField) {
    TOrderItem item{5, 6, QStringLiteral("鱼"), 2, 3.5, true, QStringLiteral("大"), 7, 3, true, 9};
    item.Clear();
    EXPECT_EQ(item, TOrderItem());
}

TEST(DishItemTest, SpecificationPriceAndDefaultFallBackToTheDish) {
    TDishItem dish;
    dish.Price = 10;
    dish.Specs = {{7, QStringLiteral("大份"), 15.5}, {8, QStringLiteral("小份"), 12.34567}};

    dish.HasMultipleSpecs = true;
    EXPECT_EQ(dish.GetSpecPrice(7), TCurrency{155000});
    EXPECT_EQ(dish.GetSpecPrice(8), TCurrency{123457});
    EXPECT_EQ(dish.GetSpecPrice(9), TCurrency{100000});
    EXPECT_EQ(dish.GetDefaultSpec(), dish.Specs.first());

    dish.HasMultipleSpecs = false;
    EXPECT_EQ(dish.GetSpecPrice(7), TCurrency{100000});
    EXPECT_EQ(dish.GetDefaultSpec(), (TSpecItem{0, QString(), 10}));

    dish.HasMultipleSpecs = true;
    dish.Specs.clear();
    EXPECT_EQ(dish.GetDefaultSpec(), (TSpecItem{0, QString(), 10}));
}
