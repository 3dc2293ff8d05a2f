#include "common/clock.h"
#include "common/messages.h"
#include "ordering/TOrderManager.h"
#include "ordering/ordererror.h"
#include "store/adddata.h"
#include "store/sqlitedb.h"

#include "tempfolder.h"

#include <functional>
#include <memory>
#include <ostream>

// Readable failure output.
void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
void PrintTo(const TOrderItem& item, std::ostream* os) {
    *os << "{" << item.caipinid << " " << item.title.toStdString() << " x" << item.Quantity << " @"
        << item.Price << " sku " << item.skuid << ":" << item.sku.toStdString() << " stat "
        << item.Stat << (item.Selected ? " ticked" : "") << "}";
}

namespace {

const qint64 kNowMs = 1700000000000;

class OrderManagerTest : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        ASSERT_TRUE(AutoCreateTable(dbPath()));
        db = std::make_unique<TSQLiteDatabase>(dbPath());
        exec("INSERT INTO zel_caipin (id, title, price) VALUES "
             "(1, '宫保鸡丁', 10), (2, '米饭', 2), (3, '鱼', 30)");
        exec("INSERT INTO zel_caipin_sku (id, title, price, rootid) VALUES "
             "(7, '大份', 45, 3), (8, '小份', 25, 3)");
        zclock::SetTestClock([this] { return QDateTime::fromMSecsSinceEpoch(nowMs); });
        SetMessenger(&messenger);
        manager = std::make_unique<TOrderManager>(db.get());
        manager->SetDeskID(QStringLiteral("5"));
    }
    void TearDown() override {
        SetMessenger(nullptr);
        zclock::SetTestClock({});
    }

    void exec(const char* sql) { db->ExecSQL(QString::fromUtf8(sql)); }
    // Every row as its columns joined by "|".
    QStringList rows(const char* sql) {
        QStringList out;
        const auto table = db->GetTable(QString::fromUtf8(sql));
        for (; !table->Eof(); table->Next()) {
            QStringList cols;
            for (uint32_t c = 0; c < table->ColCount(); ++c)
                cols << table->FieldAsString(int(c));
            out << cols.join(QLatin1Char('|'));
        }
        return out;
    }
    static TOrderItem line(int32_t caipinid, const char* title, double quantity, double price,
                           int32_t skuid = 0, const char* sku = "") {
        TOrderItem item;
        item.caipinid = caipinid;
        item.title = QString::fromUtf8(title);
        item.Quantity = quantity;
        item.Price = price;
        item.skuid = skuid;
        item.sku = QString::fromUtf8(sku);
        item.SpecSelected = skuid > 0;
        return item;
    }
    void pick(const TOrderItem& item) { manager->AddOrUpdateOrderItem(item); }
    // The basket lines as the screen shows them, without their stored row.
    QList<TOrderItem> shown() const {
        QList<TOrderItem> lines = manager->OrderList();
        for (TOrderItem& item : lines)
            item.CartID = 0;
        return lines;
    }
    // The message of the EOrderError that work raises.
    static QString failure(const std::function<void()>& work) {
        try {
            work();
        } catch (const EOrderError& e) {
            return e.Message();
        }
        return QStringLiteral("<no failure>");
    }
    QStringList titles(const QList<TOrderItem>& list) {
        QStringList out;
        for (const TOrderItem& item : list)
            out << item.title;
        return out;
    }

    qint64 nowMs = kNowMs;
    TRecordingMessenger messenger;
    std::unique_ptr<TSQLiteDatabase> db;
    std::unique_ptr<TOrderManager> manager;
};

TEST_F(OrderManagerTest, RepickedDishReusesItsEmptiedBasketRow) {
    pick(line(1, "宫保鸡丁", 2, 10));
    manager->RemoveOrderItem(1, 0);
    EXPECT_EQ(manager->OrderCount(), 0);
    EXPECT_EQ(rows("SELECT caipinid, skuid, quantity FROM zel_cart"), QStringList{"1|0|0"});

    manager->SetDeskID(QStringLiteral("5"));
    EXPECT_EQ(manager->OrderCount(), 0) << "rows at quantity 0 are no basket lines";

    nowMs = kNowMs + 5000;
    pick(line(1, "宫保鸡丁", 1, 10));
    EXPECT_EQ(rows("SELECT caipinid, skuid, quantity, addtime FROM zel_cart"),
              QStringList{"1|0|1|1700000005000"});
    EXPECT_EQ(shown(), QList<TOrderItem>{line(1, "宫保鸡丁", 1, 10)});
}

TEST_F(OrderManagerTest, BasketLoadsInOrderOfLastChangeWithDeletedSpecificationsAsPlainLines) {
    exec("INSERT INTO zel_cart (id, deskid, caipinid, skuid, quantity, addtime) VALUES "
         "(1, 5, 3, 7, 1, 300), (2, 5, 3, 8, 2, 100), (3, 5, 1, 0, 1, 200), "
         "(4, 5, 2, 0, 0, 50), (5, 6, 2, 0, 1, 10)");
    exec("UPDATE zel_caipin_sku SET deleted = 1 WHERE id = 7");

    manager->SetDeskID(QStringLiteral("5"));

    const QList<TOrderItem> expected{line(3, "鱼", 2, 25, 8, "小份"), line(1, "宫保鸡丁", 1, 10),
                                     line(3, "鱼", 1, 30)};
    EXPECT_EQ(shown(), expected);

    // "删除" on the line whose specification went away empties its own row,
    // so it does not come back at the next opening.
    const TOrderItem stale = manager->OrderList().last();
    ASSERT_EQ(stale.CartID, 1);
    manager->RemoveOrderItem(stale.caipinid, stale.skuid, stale.CartID);
    EXPECT_EQ(rows("SELECT id, quantity FROM zel_cart WHERE caipinid = 3 ORDER BY id"),
              (QStringList{"1|0", "2|2"}));
    manager->SetDeskID(QStringLiteral("5"));
    EXPECT_EQ(shown(),
              (QList<TOrderItem>{line(3, "鱼", 2, 25, 8, "小份"), line(1, "宫保鸡丁", 1, 10)}));

    // So does a quantity change of such a line, and a removal by its key
    // when the row is not known to the caller.
    exec("UPDATE zel_cart SET quantity = 4 WHERE id = 1");
    manager->SetDeskID(QStringLiteral("5"));
    pick(line(3, "鱼", 6, 30));
    EXPECT_EQ(rows("SELECT id, skuid, quantity FROM zel_cart WHERE caipinid = 3 ORDER BY id"),
              (QStringList{"1|7|6", "2|8|2"}));
    manager->RemoveOrderItem(3, 0);
    EXPECT_EQ(rows("SELECT id, quantity FROM zel_cart WHERE caipinid = 3 ORDER BY id"),
              (QStringList{"1|0", "2|2"}));
}

TEST_F(OrderManagerTest, ConfirmationCopiesTheBasketWithSpacedStampsAndEmptiesIt) {
    exec("INSERT INTO zel_cart (deskid, caipinid, skuid, quantity) VALUES (6, 1, 0, 4)");
    pick(line(1, "宫保鸡丁", 2, 10));
    pick(line(3, "鱼 (大份)", 1, 45, 7, "大份"));
    pick(line(2, "米饭", 3, 2));

    manager->MoveCartToConfirmed();

    EXPECT_EQ(rows("SELECT deskid, caipinid, title, quantity, oneprice, price, sku, skuid, "
                   "addtime, stat, issettle FROM zel_orders_detail ORDER BY id"),
              (QStringList{"5|1|宫保鸡丁|2|10|20||0|1700000000000|0|0",
                           "5|3|鱼 (大份)|1|45|45|大份|7|1700000000010|0|0",
                           "5|2|米饭|3|2|6||0|1700000000020|0|0"}));
    EXPECT_EQ(rows("SELECT deskid, quantity FROM zel_cart ORDER BY id"),
              (QStringList{"6|4", "5|0", "5|0", "5|0"}));
    EXPECT_EQ(manager->OrderCount(), 0);
    EXPECT_EQ(titles(manager->ConfirmedOrderList()),
              (QStringList{"宫保鸡丁", "鱼 (大份)", "米饭"}));
}

TEST_F(OrderManagerTest, FailedConfirmationWritesNothingAndKeepsTheBasket) {
    pick(line(1, "宫保鸡丁", 2, 10));
    pick(line(2, "boom", 1, 2));
    pick(line(3, "鱼 (大份)", 1, 45, 7, "大份"));
    const QList<TOrderItem> basket = manager->OrderList();
    const QStringList cartRows = rows("SELECT * FROM zel_cart ORDER BY id");

    const struct {
        const char* trigger;
        QString whatFailed;
    } cases[] = {
        {"CREATE TRIGGER fail BEFORE INSERT ON zel_orders_detail WHEN NEW.title = 'boom' "
         "BEGIN SELECT RAISE(ABORT, 'boom'); END",
         QStringLiteral("第2行「boom」写入已点单失败: ")},
        {"CREATE TRIGGER fail BEFORE UPDATE ON zel_cart BEGIN SELECT RAISE(ABORT, 'boom'); END",
         QStringLiteral("清空购物车失败: ")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.trigger);
        exec(c.trigger);
        const QString message = failure([&] { manager->MoveCartToConfirmed(); });
        EXPECT_TRUE(message.startsWith(QStringLiteral("确认订单失败: ") + c.whatFailed))
            << message.toStdString();
        EXPECT_TRUE(message.endsWith(QStringLiteral("boom"))) << message.toStdString();
        EXPECT_EQ(rows("SELECT COUNT(*) FROM zel_orders_detail"), QStringList{"0"});
        EXPECT_EQ(rows("SELECT * FROM zel_cart ORDER BY id"), cartRows);
        EXPECT_EQ(manager->OrderList(), basket);
        EXPECT_EQ(manager->ConfirmedOrderCount(), 0);
        EXPECT_FALSE(db->InTransaction());
        exec("DROP TRIGGER fail");
    }

    manager->MoveCartToConfirmed();
    EXPECT_EQ(rows("SELECT COUNT(*) FROM zel_orders_detail"), QStringList{"3"});
}

TEST_F(OrderManagerTest, EmptyBasketIsRefusedWithoutPrefix) {
    EXPECT_EQ(failure([&] { manager->MoveCartToConfirmed(); }),
              QStringLiteral("购物车中没有菜品！"));
    EXPECT_EQ(rows("SELECT COUNT(*) FROM zel_orders_detail"), QStringList{"0"});
    EXPECT_FALSE(db->InTransaction());
}

TEST_F(OrderManagerTest, TotalsLeaveReturnedLinesOutOfAmountsAndPieces) {
    exec("INSERT INTO zel_orders_detail (deskid, title, quantity, oneprice, stat, issettle, "
         "addtime) VALUES "
         "(5, 'a', 1, 10, 0, 0, 1), (5, 'b', 2, 2.75, 3, 0, 2), (5, 'c', 1, 8, 7, 0, 3), "
         "(5, 'deleted', 1, 99, 8, 0, 4), (5, 'settled', 1, 50, 0, 1, 5), "
         "(6, 'other table', 1, 40, 0, 0, 6)");
    manager->SetDeskID(QStringLiteral("5"));
    pick(line(1, "宫保鸡丁", 2, 10));
    pick(line(2, "米饭", 1.5, 2));

    EXPECT_EQ(titles(manager->ConfirmedOrderList()), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(manager->GetConfirmedItemCount(), 3);
    EXPECT_DOUBLE_EQ(manager->CalculateConfirmedDisplayTotal(), 15.5);
    EXPECT_DOUBLE_EQ(manager->UpdateDeskTotalPrice(), 15.5);
    EXPECT_DOUBLE_EQ(manager->CalculateConfirmedTotal(), 23.5);
    EXPECT_DOUBLE_EQ(manager->GetConfirmedTotalQuantity(), 3);
    EXPECT_EQ(manager->GetCartItemCount(), 2);
    EXPECT_DOUBLE_EQ(manager->CalculateCartTotal(), 23);
    EXPECT_DOUBLE_EQ(manager->GetCartTotalQuantity(), 3.5);
}

TEST_F(OrderManagerTest, DisplayTotalRoundsHalfToEven) {
    const struct {
        double price;
        double quantity;
        double total;
    } cases[] = {{0.05, 2.5, 0.12}, {0.15, 2.5, 0.38}, {0.625, 1, 0.62}, {3.3333, 3, 10}};
    for (const auto& c : cases) {
        TOrderItem item;
        item.Price = c.price;
        item.Quantity = c.quantity;
        manager->ConfirmedOrderList() = {item};
        EXPECT_DOUBLE_EQ(manager->CalculateConfirmedDisplayTotal(), c.total) << c.price;
    }
}

TEST_F(OrderManagerTest, UnitPricesOfOrderedLinesAreCutToCents) {
    exec("INSERT INTO zel_orders_detail (deskid, oneprice, quantity, addtime) VALUES "
         "(5, 12.999, 1, 1), (5, 5.5, 1, 2), (5, 7, 1, 3)");
    manager->LoadConfirmedItems();
    ASSERT_EQ(manager->ConfirmedOrderCount(), 3);
    EXPECT_DOUBLE_EQ(manager->ConfirmedOrderList().at(0).Price, 12.99);
    EXPECT_DOUBLE_EQ(manager->ConfirmedOrderList().at(1).Price, 5.5);
    EXPECT_DOUBLE_EQ(manager->ConfirmedOrderList().at(2).Price, 7);
}

TEST_F(OrderManagerTest, BatchChangeWithNothingTickedOnlyAsks) {
    pick(line(1, "宫保鸡丁", 2, 10));
    manager->MoveCartToConfirmed();

    manager->BatchUpdateOrderStatus(3);

    ASSERT_EQ(messenger.Calls.size(), 1);
    EXPECT_EQ(messenger.Calls.at(0).kind, TMessageKind::Info);
    EXPECT_EQ(messenger.Calls.at(0).caption, MessageCaption());
    EXPECT_EQ(messenger.Calls.at(0).text, QStringLiteral("请先选择要操作的菜品！"));
    EXPECT_EQ(rows("SELECT stat FROM zel_orders_detail"), QStringList{"0"});
    EXPECT_FALSE(db->InTransaction());

    pick(line(2, "米饭", 1, 2));
    manager->MoveCartToConfirmed();
    EXPECT_EQ(manager->ConfirmedOrderCount(), 2);
}

TEST_F(OrderManagerTest, BatchChangeSetsTheTickedLinesAndClearsTheTicks) {
    pick(line(1, "a", 1, 10));
    pick(line(2, "b", 1, 2));
    pick(line(3, "c", 1, 30));
    manager->MoveCartToConfirmed();
    manager->ConfirmedOrderList()[0].Selected = true;
    manager->ConfirmedOrderList()[2].Selected = true;

    manager->BatchUpdateOrderStatus(3);

    EXPECT_EQ(rows("SELECT title, stat FROM zel_orders_detail ORDER BY id"),
              (QStringList{"a|3", "b|0", "c|3"}));
    QList<std::pair<int32_t, bool>> states;
    for (const TOrderItem& item : manager->ConfirmedOrderList())
        states.append({item.Stat, item.Selected});
    EXPECT_EQ(states, (QList<std::pair<int32_t, bool>>{{3, false}, {0, false}, {3, false}}));
    EXPECT_TRUE(messenger.Calls.isEmpty());

    // Lines settled elsewhere since the list was read keep their state.
    manager->ConfirmedOrderList()[1].Selected = true;
    exec("UPDATE zel_orders_detail SET issettle = 1");
    manager->BatchUpdateOrderStatus(7);
    manager->UpdateOrderStatus(
        rows("SELECT id FROM zel_orders_detail WHERE title = 'a'").at(0).toInt(), 7);
    EXPECT_EQ(rows("SELECT title, stat FROM zel_orders_detail ORDER BY id"),
              (QStringList{"a|3", "b|0", "c|3"}));
}

TEST_F(OrderManagerTest, SingleStatusChangeReloadsTheLines) {
    pick(line(1, "a", 1, 10));
    manager->MoveCartToConfirmed();
    manager->UpdateOrderStatus(manager->ConfirmedOrderList().at(0).DetailID, 7);
    EXPECT_EQ(rows("SELECT stat FROM zel_orders_detail"), QStringList{"7"});
    EXPECT_EQ(manager->ConfirmedOrderList().at(0).Stat, 7);
    EXPECT_DOUBLE_EQ(manager->UpdateDeskTotalPrice(), 0);
}

TEST_F(OrderManagerTest, FailedWritesRaiseWithTheirPrefixAndLeaveMemoryAsItWas) {
    pick(line(2, "米饭", 1, 2));
    manager->MoveCartToConfirmed();
    pick(line(1, "宫保鸡丁", 2, 10));
    manager->ConfirmedOrderList()[0].Selected = true;
    const int32_t detailID = manager->ConfirmedOrderList().at(0).DetailID;
    const QList<TOrderItem> basket = manager->OrderList();
    const QList<TOrderItem> confirmed = manager->ConfirmedOrderList();
    const QStringList stored =
        rows("SELECT * FROM zel_cart") + rows("SELECT * FROM zel_orders_detail");

    const struct {
        const char* table;
        const char* event;
        std::function<void()> action;
        QString prefix;
    } cases[] = {
        {"zel_cart", "UPDATE", [&] { pick(line(1, "宫保鸡丁", 5, 10)); },
         QStringLiteral("保存订单失败: ")},
        {"zel_cart", "INSERT", [&] { pick(line(3, "鱼", 1, 30)); },
         QStringLiteral("保存订单失败: ")},
        {"zel_cart", "UPDATE", [&] { manager->RemoveOrderItem(1, 0); },
         QStringLiteral("删除订单失败: ")},
        {"zel_orders_detail", "UPDATE", [&] { manager->UpdateOrderStatus(detailID, 3); },
         QStringLiteral("更新订单状态失败: ")},
        {"zel_orders_detail", "UPDATE", [&] { manager->BatchUpdateOrderStatus(3); },
         QStringLiteral("批量更新状态失败: ")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.prefix.toStdString() + c.event);
        db->ExecSQL(QStringLiteral("CREATE TRIGGER blocked BEFORE %1 ON %2 BEGIN "
                                   "SELECT RAISE(ABORT, 'blocked'); END")
                        .arg(QString::fromLatin1(c.event), QString::fromLatin1(c.table)));
        const QString message = failure(c.action);
        EXPECT_TRUE(message.startsWith(c.prefix)) << message.toStdString();
        EXPECT_TRUE(message.endsWith(QStringLiteral("blocked"))) << message.toStdString();
        EXPECT_EQ(manager->OrderList(), basket);
        EXPECT_EQ(manager->ConfirmedOrderList(), confirmed);
        EXPECT_EQ(rows("SELECT * FROM zel_cart") + rows("SELECT * FROM zel_orders_detail"), stored);
        EXPECT_FALSE(db->InTransaction());
        exec("DROP TRIGGER blocked");
    }
}

TEST_F(OrderManagerTest, FailedExistenceCheckNestsItsPrefix) {
    exec("DROP TABLE zel_cart");
    const QString message = failure([&] { pick(line(1, "宫保鸡丁", 1, 10)); });
    EXPECT_TRUE(message.startsWith(QStringLiteral("保存订单失败: 检查购物车项失败: ")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("no such table: zel_cart")))
        << message.toStdString();
    EXPECT_EQ(manager->OrderCount(), 0);
}

TEST_F(OrderManagerTest, QuantityChangeOfALineWhoseRowVanishedStaysInStep) {
    pick(line(1, "宫保鸡丁", 2, 10));
    exec("DELETE FROM zel_cart");
    pick(line(1, "宫保鸡丁", 3, 10));
    EXPECT_EQ(rows("SELECT caipinid, quantity FROM zel_cart"), QStringList{"1|3"});
    EXPECT_EQ(shown(), QList<TOrderItem>{line(1, "宫保鸡丁", 3, 10)});
}

TEST_F(OrderManagerTest, RemovingADishNotInMemoryStillEmptiesItsRow) {
    pick(line(1, "宫保鸡丁", 2, 10));
    exec("INSERT INTO zel_cart (deskid, caipinid, skuid, quantity) VALUES (5, 2, 0, 3)");

    manager->RemoveOrderItem(2, 0);

    EXPECT_EQ(rows("SELECT caipinid, quantity FROM zel_cart ORDER BY id"),
              (QStringList{"1|2", "2|0"}));
    EXPECT_EQ(shown(), QList<TOrderItem>{line(1, "宫保鸡丁", 2, 10)});
}

TEST_F(OrderManagerTest, DishQuantityAddsAllSpecificationsOfTheTable) {
    exec("INSERT INTO zel_cart (deskid, caipinid, skuid, quantity) VALUES "
         "(5, 3, 7, 2), (5, 3, 8, 1.5), (5, 3, 0, 1), (5, 1, 0, 4), (6, 3, 0, 9)");
    EXPECT_DOUBLE_EQ(manager->GetDishQuantity(3), 4.5);
    EXPECT_DOUBLE_EQ(manager->GetDishQuantity(2), 0);
}

TEST_F(OrderManagerTest, WithoutATableNothingIsReadOrWritten) {
    TOrderManager idle(db.get());
    EXPECT_FALSE(idle.CheckCartItemExists(1, 0));
    EXPECT_DOUBLE_EQ(idle.GetDishQuantity(1), 0);
    EXPECT_DOUBLE_EQ(idle.UpdateDeskTotalPrice(), 0);
    EXPECT_EQ(failure([&] { idle.AddOrUpdateOrderItem(line(1, "宫保鸡丁", 1, 10)); }),
              QStringLiteral("保存订单失败: 未选择桌位"));

    EXPECT_EQ(failure([&] { manager->SetDeskID(QStringLiteral("5 OR 1=1")); }),
              QStringLiteral("桌位编号无效: 5 OR 1=1"));
    EXPECT_TRUE(manager->DeskID().isEmpty());
    EXPECT_EQ(rows("SELECT COUNT(*) FROM zel_cart"), QStringList{"0"});
}

} // namespace
