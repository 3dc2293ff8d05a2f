// The right side of the ordering screen: confirmation, batch commands and the
// table's row and tile kept in step.

#include "ordering/TOrderManager.h"
#include "ordering/panels.h"

#include "diancanfixture.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

namespace {

class DiancanOrderTest : public DiancanTest {
protected:
    void SetUp() override {
        DiancanTest::SetUp();
        makeScreen(desk);
    }

    void plus(int32_t dish) { click(screen->DishControlManager()->IncreaseButton(dish)); }

    // Three ordered lines worth 10.00, 5.50 and 8.00; what was seen is forgotten.
    void confirmThree() {
        plus(yuxiang);
        plus(gongbao);
        plus(huanggua);
        click(screen->FConfirmButton);
        ASSERT_EQ(confirmedRows().size(), 3);
        notes.clear();
        tiles.clear();
        messages.Calls.clear();
    }

    QString deskRow() {
        return scalar(
            QStringLiteral("SELECT stat || ' ' || price FROM zel_desk WHERE id=%1").arg(desk));
    }

    QString lineStats() {
        return scalar(QStringLiteral("SELECT group_concat(s) FROM (SELECT stat AS s FROM "
                                     "zel_orders_detail ORDER BY id)"));
    }

    void expectLastTile(const QString& stat, double price) {
        ASSERT_FALSE(tiles.isEmpty());
        const TTileCall& t = tiles.last();
        EXPECT_EQ(t.id, desk);
        EXPECT_EQ(t.title, QStringLiteral("一号桌"));
        EXPECT_EQ(t.bh, QStringLiteral("A01"));
        EXPECT_EQ(t.nums, QStringLiteral("4"));
        EXPECT_EQ(t.stat, stat);
        EXPECT_DOUBLE_EQ(t.price, price);
    }
};

TEST_F(DiancanOrderTest, ConfirmationMovesTheBasketAndUpdatesTableRowAndTile) {
    plus(yuxiang);
    plus(yuxiang);
    plus(gongbao);
    onNextDialog([](QDialog& dialog) {
        DiancanTest::clickIn(dialog, QStringLiteral("btnIncrease1"));
        DiancanTest::clickIn(dialog, QStringLiteral("btnOK"));
    });
    click(screen->DishControlManager()->SelectSpecButton(shuizhu));

    messages.Answers = {false};
    click(screen->FConfirmButton);
    EXPECT_EQ(notes, QStringList({QStringLiteral("您取消了操作")}));
    EXPECT_EQ(cartRows().size(), 3);
    EXPECT_EQ(confirmations, 0);

    click(screen->FConfirmButton);
    ASSERT_EQ(messages.Calls.size(), 2);
    EXPECT_EQ(messages.Calls[1].kind, TMessageKind::OkCancel);
    EXPECT_EQ(messages.Calls[1].caption, QStringLiteral("友情提示"));
    EXPECT_EQ(messages.Calls[1].text, QStringLiteral("确认下单吗"));
    EXPECT_EQ(notes.last(), QStringLiteral("点单成功！"));
    EXPECT_EQ(confirmations, 1);

    EXPECT_TRUE(cartRows().isEmpty());
    EXPECT_EQ(text(QStringLiteral("FTotalLabel")), QStringLiteral("总计: ￥0.00"));
    EXPECT_EQ(confirmedTexts(),
              QStringList({QStringLiteral("鱼香肉丝 x 2 ￥20.00 (待制作)"),
                           QStringLiteral("宫保鸡丁 x 1 ￥5.50 (待制作)"),
                           QStringLiteral("水煮鱼 (大份) x 1 ￥58.00 (待制作)")}));
    EXPECT_EQ(text(QStringLiteral("lblConfirmedStats")),
              QStringLiteral("菜品数量: 4 | 合计: ￥83.50"));
    EXPECT_EQ(screen->DishControlManager()->QuantityLabel(yuxiang)->text(), QStringLiteral("0"));
    EXPECT_EQ(screen->DishControlManager()->SelectSpecButton(shuizhu)->text(),
              QStringLiteral("选择规格"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT sum(quantity) FROM zel_cart")), QStringLiteral("0"));
    EXPECT_EQ(lineStats(), QStringLiteral("0,0,0"));
    EXPECT_EQ(deskRow(), QStringLiteral("1 83.5"));
    ASSERT_EQ(tiles.size(), 1);
    expectLastTile(QStringLiteral("1"), 83.5);
}

TEST_F(DiancanOrderTest, EmptyBasketConfirmationFailsWithoutWriting) {
    click(screen->FConfirmButton);
    EXPECT_EQ(notes, QStringList({QStringLiteral("点单失败: 购物车中没有菜品！")}));
    EXPECT_EQ(confirmations, 0);
    EXPECT_TRUE(tiles.isEmpty());
}

TEST_F(DiancanOrderTest, AFailedLineRollsTheWholeConfirmationBackAndSaysWhichLine) {
    plus(yuxiang);
    plus(gongbao);
    exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON zel_orders_detail "
                        "WHEN NEW.title = '宫保鸡丁' BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    click(screen->FConfirmButton);

    ASSERT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes[0].startsWith(QStringLiteral("点单失败: 确认订单失败: ")))
        << notes[0].toStdString();
    EXPECT_TRUE(notes[0].contains(QStringLiteral("宫保鸡丁"))) << notes[0].toStdString();
    EXPECT_TRUE(notes[0].contains(QStringLiteral("disk full"))) << notes[0].toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT count(*) FROM zel_orders_detail")),
              QStringLiteral("0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT sum(quantity) FROM zel_cart")), QStringLiteral("2"));
    EXPECT_EQ(cartRows().size(), 2);
    EXPECT_EQ(confirmations, 0);
    EXPECT_TRUE(tiles.isEmpty());
}

TEST_F(DiancanOrderTest, ATableWriteFailingAfterTheCommitDoesNotReadAsAFailedOrder) {
    plus(gongbao);
    exec(QStringLiteral("CREATE TRIGGER locked BEFORE UPDATE ON zel_desk "
                        "BEGIN SELECT RAISE(ABORT, 'desk locked'); END"));
    click(screen->FConfirmButton);

    ASSERT_FALSE(notes.isEmpty());
    EXPECT_TRUE(notes.last().startsWith(QStringLiteral("点单成功，但更新桌位失败: ")))
        << notes.last().toStdString();
    EXPECT_EQ(lineStats(), QStringLiteral("0"));
    EXPECT_TRUE(cartRows().isEmpty());
    EXPECT_EQ(confirmedRows().size(), 1);
    EXPECT_EQ(confirmations, 1);
    EXPECT_TRUE(tiles.isEmpty());
}

TEST_F(DiancanOrderTest, ServedOnOneLineReturnedOnAnother) {
    confirmThree();
    tick(1);
    click(screen->FBatchServedButton);
    EXPECT_EQ(notes, QStringList({QStringLiteral("批量出菜完成！")}));
    EXPECT_EQ(lineStats(), QStringLiteral("0,3,0"));
    expectLastTile(QStringLiteral("1"), 23.5);

    tick(2);
    click(screen->FBatchReturnButton);
    EXPECT_EQ(notes.last(), QStringLiteral("批量退菜完成！"));
    EXPECT_EQ(lineStats(), QStringLiteral("0,3,7"));
    EXPECT_EQ(confirmedTexts(), QStringList({QStringLiteral("鱼香肉丝 x 1 ￥10.00 (待制作)"),
                                             QStringLiteral("宫保鸡丁 x 1 ￥5.50 (已出菜)"),
                                             QStringLiteral("拍黄瓜 x 1 ￥8.00 (已退菜)")}));
    // Returned lines are listed, but count in neither pieces nor money.
    EXPECT_EQ(text(QStringLiteral("lblConfirmedStats")),
              QStringLiteral("菜品数量: 2 | 合计: ￥15.50"));
    EXPECT_EQ(deskRow(), QStringLiteral("1 15.5"));
    expectLastTile(QStringLiteral("1"), 15.5);
    EXPECT_TRUE(messages.Calls.isEmpty());

    // Nothing stays ticked after a batch command.
    EXPECT_FALSE(screen->FSelectAllCheckBox->isChecked());
    for (const TOrderItem& line : screen->OrderManager()->ConfirmedOrderList())
        EXPECT_FALSE(line.Selected);
    for (QWidget* row : confirmedRows())
        EXPECT_FALSE(row->findChild<QCheckBox*>()->isChecked());
}

TEST_F(DiancanOrderTest, AllLinesReturnedKeepTheTableOccupiedAtZero) {
    confirmThree();
    screen->FPageControl->setCurrentWidget(screen->FTabConfirmed);
    click(screen->FSelectAllCheckBox);
    for (QWidget* row : confirmedRows())
        EXPECT_TRUE(row->findChild<QCheckBox*>()->isChecked());
    click(screen->FBatchReturnButton);

    EXPECT_EQ(lineStats(), QStringLiteral("7,7,7"));
    EXPECT_EQ(deskRow(), QStringLiteral("1 0.0"));
    expectLastTile(QStringLiteral("1"), 0);
    EXPECT_EQ(confirmedRows().size(), 3);
    EXPECT_EQ(text(QStringLiteral("lblConfirmedStats")),
              QStringLiteral("菜品数量: 0 | 合计: ￥0.00"));
}

TEST_F(DiancanOrderTest, AllLinesDeletedFreeTheTableInTheRowAndOnTheTile) {
    confirmThree();
    screen->FPageControl->setCurrentWidget(screen->FTabConfirmed);
    click(screen->FSelectAllCheckBox);

    messages.Answers = {false};
    click(screen->FBatchDeleteButton);
    EXPECT_EQ(messages.Texts(), QStringList({QStringLiteral("确定删除选中的菜品吗")}));
    EXPECT_EQ(notes, QStringList({QStringLiteral("您取消了操作")}));
    EXPECT_EQ(lineStats(), QStringLiteral("0,0,0"));

    click(screen->FBatchDeleteButton);
    EXPECT_EQ(notes.last(), QStringLiteral("批量删除完成！"));
    EXPECT_EQ(lineStats(), QStringLiteral("8,8,8"));
    EXPECT_TRUE(confirmedRows().isEmpty());
    // The stored row and the tile say the same: free, nothing to pay.
    EXPECT_EQ(deskRow(), QStringLiteral("0 0.0"));
    expectLastTile(QStringLiteral("0"), 0);
}

TEST_F(DiancanOrderTest, BatchWithNothingTickedOnlyAsksForASelection) {
    confirmThree();
    const QString before = deskRow();
    screen->FPageControl->setCurrentWidget(screen->FTabConfirmed);
    for (QPushButton* button :
         {screen->FBatchServedButton, screen->FBatchReturnButton, screen->FBatchDeleteButton}) {
        messages.Calls.clear();
        click(button);
        ASSERT_EQ(messages.Calls.size(), 1) << button->text().toStdString();
        EXPECT_EQ(messages.Calls[0].kind, TMessageKind::Info);
        EXPECT_EQ(messages.Calls[0].text, QStringLiteral("请先选择要操作的菜品！"));
    }
    EXPECT_TRUE(notes.isEmpty());
    EXPECT_TRUE(tiles.isEmpty());
    EXPECT_EQ(lineStats(), QStringLiteral("0,0,0"));
    EXPECT_EQ(deskRow(), before);

    // A confirmation still works afterwards.
    plus(yuxiang);
    click(screen->FConfirmButton);
    EXPECT_EQ(notes.last(), QStringLiteral("点单成功！"));
    EXPECT_EQ(confirmedRows().size(), 4);
}

} // namespace

// A basket line whose specification was deleted since it was picked shows as
// the plain dish; "删除" must still empty its stored row for good.
TEST_F(DiancanOrderTest, ABasketLineWhoseSpecificationWentAwayCanBeRemoved) {
    exec(QStringLiteral("INSERT INTO zel_cart (deskid, caipinid, skuid, quantity, addtime) "
                        "VALUES (%1, %2, %3, 2, '100')")
             .arg(desk)
             .arg(shuizhu)
             .arg(small));
    exec(QStringLiteral("UPDATE zel_caipin_sku SET deleted=1 WHERE id=%1").arg(small));
    makeScreen(desk);
    ASSERT_EQ(cartRows().size(), 1);
    ASSERT_TRUE(cartTexts().first().startsWith(QStringLiteral("水煮鱼 x 2")))
        << cartTexts().join(QLatin1Char('|')).toStdString();

    click(cartRows().first()->findChild<QPushButton*>(QStringLiteral("btnRemove")));
    EXPECT_TRUE(cartRows().isEmpty());
    EXPECT_EQ(scalar(QStringLiteral("SELECT quantity FROM zel_cart")), QStringLiteral("0"));
    makeScreen(desk);
    EXPECT_TRUE(cartRows().isEmpty()) << cartTexts().join(QLatin1Char('|')).toStdString();
}

namespace {

// Both lists cut a long dish name, never what follows it, and the basket's
// text ends before its "删除".
TEST_F(DiancanTest, LongNamesAreCutSoQuantityAmountStatusAndRemoveStayVisible) {
    const QString name(60, QChar(0x9C9C)); // 60 × 鲜
    const int32_t dish = addDish(name, 12.5, hot, 9);
    makeScreen(desk);
    click(screen->DishControlManager()->IncreaseButton(dish));
    click(screen->DishControlManager()->IncreaseButton(dish));

    const QList<QWidget*> rows = cartRows();
    ASSERT_EQ(rows.size(), 1);
    auto* text = rows[0]->findChild<TElidedLabel*>(QStringLiteral("lblOrderText"));
    auto* remove = rows[0]->findChild<QPushButton*>(QStringLiteral("btnRemove"));
    ASSERT_TRUE(text);
    ASSERT_TRUE(remove);
    EXPECT_EQ(text->text(), name + QStringLiteral(" x 2 ￥25.00"));
    EXPECT_LT(text->geometry().right(), remove->geometry().left());
    EXPECT_TRUE(rows[0]->rect().contains(remove->geometry()));
    const QString cut = text->ShownText();
    EXPECT_TRUE(cut.endsWith(QStringLiteral(" x 2 ￥25.00"))) << cut.toStdString();
    EXPECT_TRUE(cut.contains(QChar(0x2026)));
    EXPECT_LE(text->fontMetrics().horizontalAdvance(cut), text->contentsRect().width());

    click(screen->FConfirmButton);
    const QList<QWidget*> ordered = confirmedRows();
    ASSERT_EQ(ordered.size(), 1);
    auto* line = ordered[0]->findChild<TElidedLabel*>(QStringLiteral("lblConfirmedText"));
    ASSERT_TRUE(line);
    const QString shown = line->ShownText();
    EXPECT_TRUE(shown.endsWith(QStringLiteral(" x 2 ￥25.00 (待制作)"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026)));
    EXPECT_LE(line->fontMetrics().horizontalAdvance(shown), line->contentsRect().width());
}

// A short name is shown whole; a row too narrow even for the tail cuts the end.
TEST(ElidedLabelTest, ShortTextsWholeAndNoRoomCutsTheEnd) {
    TElidedLabel label(QStringLiteral("拍黄瓜 x 1 ￥8.00"));
    label.SetTailLength(label.text().size() - 3);
    label.resize(label.fontMetrics().horizontalAdvance(label.text()) + 4, 20);
    EXPECT_EQ(label.ShownText(), label.text());
    label.resize(label.fontMetrics().horizontalAdvance(QStringLiteral(" x 1 ￥")), 20);
    EXPECT_TRUE(label.ShownText().startsWith(QStringLiteral("拍")));
    EXPECT_TRUE(label.ShownText().endsWith(QChar(0x2026)));
}

} // namespace
