#include "billing/table/bill/settlement.h"

#include "common/clock.h"

#include "deskfixture.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class SettlementTest : public DeskFixture {
protected:
    void SetUp() override {
        DeskFixture::SetUp();
        zclock::SetTestClock([] { return QDateTime(QDate(2026, 12, 9), QTime(18, 30, 5)); });
        served = addLine(QStringLiteral("宫保鸡丁"), 30, 1, 3);
        returned = addLine(QStringLiteral("鱼香肉丝"), 12, 1, 7);
        addCart(7, 2);
        input.DeskID = 1;
        input.Deskbh = QStringLiteral("A01");
        input.Desktitle = QStringLiteral("桌位01");
        input.Lines = {{served, QStringLiteral("30.00"), 3},
                       {returned, QStringLiteral("12.00"), 7}};
        input.PayType = 7;
        input.Shishou = QStringLiteral("200");
        input.Zhaoling = QStringLiteral("170.00");
        input.Nums = QStringLiteral(" 3 ");
        input.Yj = QStringLiteral("50.5");
        input.Fwy = QStringLiteral(" 小王 ");
    }
    void TearDown() override { zclock::SetTestClock({}); }

    // Order rows, open lines of table 1 and the stored table state in one text.
    QString snapshot() {
        return scalar(QStringLiteral("SELECT (SELECT COUNT(*) FROM zel_orders) || '|' || "
                                     "(SELECT group_concat(issettle || ':' || rootid) FROM "
                                     "zel_orders_detail) || '|' || (SELECT nums || stat FROM "
                                     "zel_desk WHERE id=1)"));
    }

    // Settling input must be refused as a changed table, writing nothing.
    void expectDeskChanged() {
        const QString before = snapshot();
        try {
            Settle(dbPath(), input, PlanSettlement(input));
            ADD_FAILURE() << "booked";
        } catch (const ESettleError& e) {
            EXPECT_TRUE(e.DeskChanged());
            EXPECT_EQ(e.Message(), DeskChangedMessage());
        }
        EXPECT_EQ(snapshot(), before);
    }

    int served = 0;
    int returned = 0;
    TSettleInput input;
};

} // namespace

TEST_F(SettlementTest, SettlesTheListedLinesIntoOneOrder) {
    const TSettlePlan plan = PlanSettlement(input);
    ASSERT_TRUE(plan.Refusal.isEmpty());
    EXPECT_DOUBLE_EQ(plan.Total, 30.0); // the returned line is not paid for
    EXPECT_EQ(plan.IdList, QStringLiteral("%1,%2").arg(served).arg(returned));

    const TSettleResult r = Settle(dbPath(), input, plan);
    EXPECT_EQ(r.OrderID, 1);
    EXPECT_EQ(r.AddTime, QStringLiteral("2026-12-09 18:30:05"));
    EXPECT_EQ(r.OrdID.size(), 17);
    EXPECT_TRUE(r.OrdID.startsWith(QStringLiteral("20261209183005")));

    auto order = db->GetTable(QStringLiteral("SELECT * FROM zel_orders"));
    ASSERT_EQ(order->RowCount(), 1u);
    const auto field = [&](const char* name) {
        return order->FieldAsString(order->FieldIndex(QString::fromLatin1(name)));
    };
    EXPECT_EQ(field("ordid"), r.OrdID);
    EXPECT_EQ(field("title"), QStringLiteral("2026-12-09 18:30:05结算订单"));
    EXPECT_EQ(field("price"), QStringLiteral("30"));
    EXPECT_EQ(field("allprice"), QStringLiteral("30"));
    EXPECT_EQ(field("paytype"), QStringLiteral("7"));
    EXPECT_EQ(field("shishou"), QStringLiteral("200"));
    EXPECT_EQ(field("zhaoling"), QStringLiteral("170"));
    EXPECT_EQ(field("nums"), QStringLiteral("3"));
    EXPECT_EQ(field("yj"), QStringLiteral("50.5"));
    EXPECT_EQ(field("fwy"), QStringLiteral("小王"));
    EXPECT_EQ(field("bh"), QStringLiteral("A01"));
    EXPECT_EQ(field("stat"), QStringLiteral("1"));
    EXPECT_EQ(field("deleted"), QStringLiteral("0"));
    EXPECT_EQ(field("addtime"), QStringLiteral("2026-12-09 18:30:05"));

    EXPECT_EQ(snapshot(), QStringLiteral("1|1:1,1:1|00"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT fwy || ydtruename || ydtel || yj || price FROM "
                                    "zel_desk WHERE id=1")),
              QStringLiteral("0.00.0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT quantity FROM zel_cart")), QStringLiteral("0"));
}

TEST_F(SettlementTest, RefusalsComeBeforeAnyQuestion) {
    const std::pair<QList<TSettleLine>, QString> cases[] = {
        {{}, QStringLiteral("没有订单明细可结算")},
        {{{returned, QStringLiteral("12.00"), 7}}, QStringLiteral("订单金额为0，无需结算")},
        {{{served, QStringLiteral("0.00"), 0}}, QStringLiteral("订单金额为0，无需结算")},
        {{{0, QStringLiteral("5.00"), 0}}, QStringLiteral("没有找到有效的订单明细ID")},
    };
    for (const auto& [lines, refusal] : cases) {
        input.Lines = lines;
        EXPECT_EQ(PlanSettlement(input).Refusal, refusal);
    }
    input.Lines = {{served, QStringLiteral("10.10"), 0}, {returned, QStringLiteral("20.20"), 0}};
    EXPECT_EQ(PlanSettlement(input).Total, 30.3); // whole cents, no binary residue
}

TEST(SettleNumbersTest, TypedAmountsAreStoredAsNumbersOrZero) {
    const std::pair<const char*, const char*> cases[] = {
        {" 100 ", "100"}, {"11.50", "11.50"}, {"abc", "0"}, {"-8.50", "-8.50"},
        {"'1'", "0"},     {"", "0"},          {"1,5", "0"}, {"1e2", "1e2"},
    };
    for (const auto& [typed, stored] : cases)
        EXPECT_EQ(NormaliseSettleNumber(QString::fromUtf8(typed)), QString::fromUtf8(stored))
            << typed;
    EXPECT_EQ(NormaliseSettleNumber(QString(10000, QLatin1Char('9'))), QStringLiteral("0"));
}

TEST_F(SettlementTest, AFailedWriteLeavesNothing) {
    const QString before = snapshot();
    db->ExecSQL(QStringLiteral("CREATE TRIGGER boom BEFORE UPDATE ON zel_orders_detail BEGIN "
                               "SELECT RAISE(ABORT, 'lines locked'); END"));
    try {
        Settle(dbPath(), input, PlanSettlement(input));
        FAIL() << "no error raised";
    } catch (const ESettleError& e) {
        EXPECT_FALSE(e.InsertFailed());
        EXPECT_TRUE(e.Message().contains(QStringLiteral("lines locked"))) << e.what();
    }
    EXPECT_EQ(snapshot(), before);

    db->ExecSQL(QStringLiteral("DROP TRIGGER boom"));
    db->ExecSQL(QStringLiteral("CREATE TRIGGER boom BEFORE INSERT ON zel_orders BEGIN "
                               "SELECT RAISE(ABORT, 'no orders'); END"));
    try {
        Settle(dbPath(), input, PlanSettlement(input));
        FAIL() << "no error raised";
    } catch (const ESettleError& e) {
        EXPECT_TRUE(e.InsertFailed());
        EXPECT_EQ(e.Message(), QStringLiteral("插入主订单数据失败"));
    }
    EXPECT_EQ(snapshot(), before);
}

// A settlement killed between two writes leaves a sound file holding none of it.
TEST_F(SettlementTest, KilledBetweenWritesLeavesAWholeFile) {
    const QString before = snapshot();
    db.reset();
    for (TSettleStep stop : {TSettleStep::OrderInserted, TSettleStep::LinesSettled}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            Settle(dbPath(), input, PlanSettlement(input), [stop](TSettleStep s) {
                if (s == stop)
                    raise(SIGKILL);
            });
            _exit(0); // not reached: the settlement was stopped above
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        db = std::make_unique<TSQLiteDatabase>(dbPath());
        EXPECT_EQ(scalar(QStringLiteral("PRAGMA integrity_check")), QStringLiteral("ok"));
        EXPECT_EQ(snapshot(), before);
        db.reset();
    }
    db = std::make_unique<TSQLiteDatabase>(dbPath());
    Settle(dbPath(), input, PlanSettlement(input));
    EXPECT_EQ(snapshot(), QStringLiteral("1|1:1,1:1|00"));
}

// What another connection did between the window's load and the settlement:
// each makes the listed lines no longer the table's bill, so nothing is booked.
TEST_F(SettlementTest, AChangedTableIsNeverBooked) {
    const char* changes[] = {
        "UPDATE zel_orders_detail SET stat=7 WHERE title='宫保鸡丁'",
        "UPDATE zel_orders_detail SET quantity=2 WHERE title='宫保鸡丁'",
        "UPDATE zel_orders_detail SET issettle=1, rootid=99 WHERE title='宫保鸡丁'",
        "UPDATE zel_orders_detail SET deskid=2 WHERE title='鱼香肉丝'",
        "INSERT INTO zel_orders_detail (title, deskid, oneprice, quantity, price, stat) "
        "VALUES ('米饭', 1, 2, 1, 2, 0)",
    };
    for (const char* change : changes) {
        SCOPED_TRACE(change);
        db->ExecSQL(QString::fromUtf8(change));
        expectDeskChanged();
        db->ExecSQL(QStringLiteral("DELETE FROM zel_orders_detail"));
        input.Lines[0].DetailID = addLine(QStringLiteral("宫保鸡丁"), 30, 1, 3);
        input.Lines[1].DetailID = addLine(QStringLiteral("鱼香肉丝"), 12, 1, 7);
    }
}

// A listed line the update skips (here a trigger ignores it) counts as a
// change of the table: every listed line is settled, or none.
TEST_F(SettlementTest, EveryListedLineIsSettledOrNone) {
    db->ExecSQL(QStringLiteral("CREATE TRIGGER skip BEFORE UPDATE ON zel_orders_detail WHEN "
                               "old.title='鱼香肉丝' BEGIN SELECT RAISE(IGNORE); END"));
    expectDeskChanged();
}
