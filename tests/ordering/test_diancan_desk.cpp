// The ordering screen and the table window on the same open lines: one table
// code, one 菜品数量 and one 合计 with two decimals.

#include "billing/table/form_desk_open.h"
#include "common/appvalues.h"

#include "diancanfixture.h"

#include <QLabel>

namespace {

class DiancanDeskTest : public DiancanTest {
protected:
    void SetUp() override {
        DiancanTest::SetUp();
        inipath = path(QStringLiteral("config.ini"));
        exec(QStringLiteral("UPDATE zel_desk SET bh='03' WHERE id=%1").arg(desk));
    }

    // Ordered lines of the table: title, unit price, quantity, status.
    void addLines(const QList<std::tuple<QString, double, double, int>>& lines) {
        for (const auto& [title, price, quantity, stat] : lines)
            exec(QStringLiteral("INSERT INTO zel_orders_detail (title, deskid, caipinid, "
                                "oneprice, quantity, price, stat, issettle, addtime) VALUES "
                                "('%1', %2, %3, %4, %5, %6, %7, 0, 1)")
                     .arg(title)
                     .arg(desk)
                     .arg(yuxiang)
                     .arg(price)
                     .arg(quantity)
                     .arg(price * quantity)
                     .arg(stat));
    }

    // Both windows opened on the table as the operator opens them.
    void openBoth() {
        makeScreen(desk);
        table = std::make_unique<TForm_desk_open>();
        table->SetDeskID(desk);
    }
    // "菜品数量: … | 合计: ￥…" from the table window's own labels.
    QString tableFigures() const {
        return QStringLiteral("菜品数量: ") + table->labTotalDishes->text() +
               QStringLiteral(" | 合计: ") + table->labTotalAmount->text();
    }

    std::unique_ptr<TForm_desk_open> table;
};

TEST_F(DiancanDeskTest, BothWindowsShowTheTableCodeAndTheSameFigures) {
    // Four pieces on three lines; the returned line counts in neither figure.
    addLines({{QStringLiteral("鱼香肉丝"), 10, 3, 0},
              {QStringLiteral("宫保鸡丁"), 5.5, 1, 3},
              {QStringLiteral("拍黄瓜"), 8, 1, 7}});
    openBoth();
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("点餐系统 - 桌位号: 03"));
    EXPECT_EQ(table->lab_deskinfo->text(), QStringLiteral("03号,一号桌"));
    EXPECT_EQ(tableFigures(), QStringLiteral("菜品数量: 4 | 合计: ￥35.50"));
    EXPECT_EQ(text(QStringLiteral("lblConfirmedStats")), tableFigures());
}

TEST_F(DiancanDeskTest, FractionsAndCentsAgreeBetweenTheWindows) {
    const QList<QList<std::tuple<QString, double, double, int>>> cases = {
        {{QStringLiteral("称重鱼"), 10.33, 1.5, 0}},
        {{QStringLiteral("小炒"), 12.35, 0.5, 0}, {QStringLiteral("小炒"), 12.35, 0.5, 3}},
        {{QStringLiteral("米饭"), 0.1, 1, 0},
         {QStringLiteral("米饭"), 0.2, 1, 0},
         {QStringLiteral("汤"), 3.3, 0.5, 7}},
        {},
    };
    for (const auto& lines : cases) {
        exec(QStringLiteral("DELETE FROM zel_orders_detail"));
        addLines(lines);
        openBoth();
        EXPECT_EQ(text(QStringLiteral("lblConfirmedStats")), tableFigures())
            << lines.size() << " lines";
        EXPECT_TRUE(table->labTotalAmount->text().contains(QLatin1Char('.')));
    }
}

} // namespace
