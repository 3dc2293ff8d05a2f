// "换桌" and "并台" through the table window: the picker, the move of lines,
// basket and guests, both tables recounted and repainted, and moves that must
// change nothing.

#include "billing/printing/myprint.h"
#include "billing/table/deskmove.h"
#include "billing/table/deskpicker.h"

#include "deskwindowfixture.h"

#include <QLabel>

#include <ostream>

namespace {

// Table 1's party: open lines of several states (one already sent to the
// kitchen), a deleted and a settled line that stay, and a basket; table 3
// has a party of its own.
class DeskMoveTest : public DeskWindowFixture {
protected:
    void SetUp() override {
        DeskWindowFixture::SetUp();
        addLine(QStringLiteral("宫保鸡丁"), 30, 1, 0);
        addLine(QStringLiteral("鱼香肉丝"), 20, 2, 3);
        addLine(QStringLiteral("红烧肉"), 10, 1, 5);
        addLine(QStringLiteral("米饭"), 2, 1, 7);
        addLine(QStringLiteral("酸汤"), 8, 1, 8);
        addLine(QStringLiteral("旧单"), 50, 1, 3, 1, 1);
        addLine(QStringLiteral("凉菜"), 12, 1, 0, 3);
        db->ExecSQL(QStringLiteral("UPDATE zel_orders_detail SET iscal=1 WHERE title='鱼香肉丝'"));
        addCart(5, 2);
        addCart(6, 0);
        addCart(7, 1);
        addCart(5, 0, 2);
        addCart(5, 1, 3);
        // Leftovers of an earlier party in the basket of free table 2.
        addCart(7, 4, 2);
        addCart(9, 1, 2);
    }

    // Every row a move may touch, in one text.
    QString snapshot() {
        return scalar(QStringLiteral(
                   "SELECT group_concat(id||':'||deskid||':'||stat||':'||iscal||':'||issettle) "
                   "FROM zel_orders_detail")) +
               QLatin1Char('/') +
               scalar(QStringLiteral("SELECT group_concat(deskid||':'||caipinid||':'||quantity) "
                                     "FROM zel_cart")) +
               QLatin1Char('/') +
               scalar(QStringLiteral("SELECT group_concat(id||':'||stat||':'||price||':'||nums||"
                                     "':'||fwy||':'||ydtruename||':'||ydtel||':'||yj) "
                                     "FROM zel_desk"));
    }
    QString deskRow(int id) {
        return scalar(QStringLiteral("SELECT stat||'|'||price||'|'||nums||'|'||fwy||'|'||"
                                     "ydtruename||'|'||ydtel||'|'||yj FROM zel_desk WHERE id=%1")
                          .arg(id));
    }
    QPushButton* command(TDeskMove move) const {
        return move == TDeskMove::Transfer ? form->btn_hz : form->btn_bt;
    }
    // Opens table 1 and picks `to` in the picker of `move`.
    void pick(TDeskMove move, int to, const QString& meanwhile = QString()) {
        form->OpenForDesk(1, nullptr);
        click(command(move));
        TForm_desk_picker* picker = form->Form_desk_picker;
        ASSERT_TRUE(picker->isVisible());
        if (!meanwhile.isEmpty()) {
            TSQLiteDatabase other(dbPath());
            other.ExecSQL(meanwhile);
        }
        click(picker->DeskButton(to));
        EXPECT_FALSE(picker->isVisible());
    }
};

struct TMoveCase {
    const char* name;
    TDeskMove move;
    int to;
    const char* question;
    const char* target; // stored target row afterwards
    const char* tile;   // its repaint
    const char* cart;
    const char* shown; // lines the window lists afterwards
};

const TMoveCase kMoves[] = {
    {"Transfer", TDeskMove::Transfer, 2, "确定将A01号,桌位01换到B02号,桌位02吗",
     "1|80.0|4|小王|张三|138|50.0", "2|桌位02|B02|4|1|80",
     // The free table's leftovers are emptied, not added to; its emptied rows
     // take the party's quantities.
     "1:5:0.0,2:6:0.0,1:7:0.0,2:5:2.0,3:5:1.0,2:7:1.0,2:9:0.0", "宫保鸡丁,鱼香肉丝,红烧肉,米饭"},
    {"Merge", TDeskMove::Merge, 3, "确定将A01号,桌位01并入C03号,桌位03吗",
     // Guests added up; the chosen table's name and phone kept as one
     // party's, never pieced together from both; both deposits (20 + 50) kept.
     "1|92.0|6|小王|李四||70.0", "3|桌位03|C03|6|1|92",
     "1:5:0.0,3:6:0.0,3:7:1.0,2:5:0.0,3:5:3.0,2:7:4.0,2:9:1.0",
     "宫保鸡丁,鱼香肉丝,红烧肉,米饭,凉菜"},
};

// Test listings name a case instead of dumping its bytes.
void PrintTo(const TMoveCase& c, std::ostream* os) {
    *os << c.name;
}

class DeskMoveCaseTest : public DeskMoveTest, public ::testing::WithParamInterface<TMoveCase> {};

} // namespace

TEST_P(DeskMoveCaseTest, CarriesThePartyAndFreesTheOldTable) {
    const TMoveCase& c = GetParam();
    pick(c.move, c.to);

    EXPECT_EQ(boxes(TMessageKind::OkCancel), QStringList{QString::fromUtf8(c.question)});
    EXPECT_TRUE(boxes(TMessageKind::Info).isEmpty())
        << boxes(TMessageKind::Info).join(' ').toStdString();
    EXPECT_EQ(notes.last(), DeskMoveWord(c.move) + QStringLiteral("成功"));
    // Every open line moved with its state and kitchen mark; deleted and
    // settled lines stay where they were.
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(title||':'||deskid||':'||stat||':'||"
                                    "iscal) FROM zel_orders_detail WHERE deskid=1")),
              QStringLiteral("酸汤:1:8:0,旧单:1:3:0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(title||':'||stat||':'||iscal) FROM "
                                    "zel_orders_detail WHERE deskid=%1 AND issettle=0")
                         .arg(c.to)),
              c.move == TDeskMove::Transfer
                  ? QStringLiteral("宫保鸡丁:0:0,鱼香肉丝:3:1,红烧肉:5:0,米饭:7:0")
                  : QStringLiteral("宫保鸡丁:0:0,鱼香肉丝:3:1,红烧肉:5:0,米饭:7:0,凉菜:0:0"));
    EXPECT_EQ(deskRow(1), QStringLiteral("0|0.0|0||||0.0"));
    EXPECT_EQ(deskRow(c.to), QString::fromUtf8(c.target));
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(deskid||':'||caipinid||':'||quantity) "
                                    "FROM zel_cart")),
              QString::fromUtf8(c.cart));
    // Both tiles show what is stored.
    EXPECT_EQ(tileOf(1), QStringLiteral("1|桌位01|A01|0|0|0"));
    EXPECT_EQ(tileOf(c.to), QString::fromUtf8(c.tile));
    // The window follows the party.
    EXPECT_EQ(form->DeskID, c.to);
    EXPECT_EQ(listed().join(QLatin1Char(',')), QString::fromUtf8(c.shown));
    EXPECT_EQ(form->DeskStatus, QStringLiteral("1"));
}

INSTANTIATE_TEST_SUITE_P(Moves, DeskMoveCaseTest, ::testing::ValuesIn(kMoves),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeskMoveTest, PickerOffersOnlyTablesThatTakeTheMoveByArea) {
    form->OpenForDesk(1, nullptr);
    TForm_desk_picker* picker = form->Form_desk_picker;

    click(form->btn_hz);
    ASSERT_TRUE(picker->isVisible());
    EXPECT_EQ(picker->windowTitle(), QStringLiteral("换桌：请选择空闲桌位"));
    // Free and not deleted; never the table itself, never an occupied one.
    EXPECT_EQ(picker->ShownDesks(), QList<int32_t>({2, 4}));
    EXPECT_EQ(picker->DeskButton(2)->text(), QStringLiteral("B02\n桌位02"));
    click(picker->AreaButton(2));
    EXPECT_EQ(picker->ShownDesks(), QList<int32_t>({4}));
    click(picker->AreaButton(1));
    EXPECT_EQ(picker->ShownDesks(), QList<int32_t>({2}));
    click(picker->findChild<QPushButton*>(QStringLiteral("btnCancel")));
    EXPECT_FALSE(picker->isVisible());

    click(form->btn_bt);
    EXPECT_EQ(picker->windowTitle(), QStringLiteral("并台：请选择要并入的桌位"));
    click(picker->AreaButton(0));
    EXPECT_EQ(picker->ShownDesks(), QList<int32_t>({3}));
    EXPECT_EQ(picker->DeskButton(3)->text(), QStringLiteral("C03\n桌位03\n2人 ￥12.00"));
    click(picker->AreaButton(2));
    EXPECT_TRUE(picker->ShownDesks().isEmpty());
    EXPECT_TRUE(picker->lab_empty->isVisible());
    picker->reject();

    // Nothing was asked or written by looking.
    EXPECT_TRUE(messenger.Calls.isEmpty());
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM zel_orders_detail WHERE deskid=1")),
              QStringLiteral("6"));

    // A table without lines has nothing to move.
    form->SetDeskID(2);
    click(form->btn_hz);
    EXPECT_FALSE(picker->isVisible());
    EXPECT_EQ(notes.last(), QStringLiteral("本桌没有已点的菜品，无需换桌"));
}

namespace {

// A chosen table without a reservation of its own takes the moved party's
// name and phone; with any part of one, its own stay. Both deposits (the
// moved party paid 50) stay on the table.
struct TReservationCase {
    const char* name;
    const char* target; // the chosen table's name, phone and deposit
    const char* kept;
};

const TReservationCase kReservations[] = {
    {"TargetHasNone", "'', '', 0", "张三|138|50.0"},
    {"TargetHasPhone", "'', '139', 0", "|139|50.0"},
    {"TargetHasDeposit", "'', '', 30.1", "||80.1"},
    {"TargetHasName", "'李四', '', 20", "李四||70.0"},
};

void PrintTo(const TReservationCase& c, std::ostream* os) {
    *os << c.name;
}

class DeskMergeReservationTest : public DeskMoveTest,
                                 public ::testing::WithParamInterface<TReservationCase> {};

} // namespace

TEST_P(DeskMergeReservationTest, KeepsOnePartysReservationWhole) {
    const TReservationCase& c = GetParam();
    db->ExecSQL(QStringLiteral("UPDATE zel_desk SET (ydtruename, ydtel, yj) = (%1) WHERE id=3")
                    .arg(QString::fromUtf8(c.target)));
    pick(TDeskMove::Merge, 3);
    EXPECT_EQ(
        scalar(QStringLiteral("SELECT ydtruename||'|'||ydtel||'|'||yj FROM zel_desk WHERE id=3")),
        QString::fromUtf8(c.kept));
    EXPECT_EQ(scalar(QStringLiteral("SELECT nums FROM zel_desk WHERE id=3")), QStringLiteral("6"));
}

INSTANTIATE_TEST_SUITE_P(Merge, DeskMergeReservationTest, ::testing::ValuesIn(kReservations),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeskMoveTest, CancelledQuestionMovesNothing) {
    const QString before = snapshot();
    messenger.Answers = {false};
    pick(TDeskMove::Transfer, 2);
    EXPECT_EQ(notes.last(), QStringLiteral("您取消了操作"));
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(form->DeskID, 1);
}

// A statement failing in the middle of a move leaves every row as it was.
TEST_F(DeskMoveTest, FailureInTheMiddleRollsEverythingBack) {
    const QString before = snapshot();
    const struct {
        TDeskMove move;
        int to;
        const char* trigger;
        const char* error;
    } cases[] = {
        {TDeskMove::Transfer, 2,
         "CREATE TRIGGER boom BEFORE UPDATE ON zel_desk WHEN NEW.id=2 BEGIN "
         "SELECT RAISE(ABORT, 'second table locked'); END",
         "换桌失败: "},
        {TDeskMove::Merge, 3,
         "CREATE TRIGGER boom BEFORE UPDATE ON zel_desk WHEN NEW.id=3 BEGIN "
         "SELECT RAISE(ABORT, 'second table locked'); END",
         "并台失败: "},
        {TDeskMove::Transfer, 2,
         "CREATE TRIGGER boom BEFORE UPDATE ON zel_cart BEGIN "
         "SELECT RAISE(ABORT, 'basket locked'); END",
         "换桌失败: "},
        {TDeskMove::Merge, 3,
         "CREATE TRIGGER boom BEFORE UPDATE OF price ON zel_desk WHEN NEW.id=3 BEGIN "
         "SELECT RAISE(ABORT, 'recount refused'); END",
         "并台失败: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.trigger);
        db->ExecSQL(QString::fromUtf8(c.trigger));
        messenger.Calls.clear();
        tiles.clear();
        notes.clear();

        pick(c.move, c.to);
        const QStringList errors = boxes(TMessageKind::Info);
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors.first().startsWith(QString::fromUtf8(c.error)))
            << errors.first().toStdString();
        EXPECT_FALSE(notes.contains(DeskMoveWord(c.move) + QStringLiteral("成功")));
        EXPECT_EQ(snapshot(), before);
        EXPECT_EQ(form->DeskID, 1);
        EXPECT_EQ(listed().size(), 4);
        // Repainted as stored: nothing moved.
        EXPECT_EQ(tileOf(1), QStringLiteral("1|桌位01|A01|4|1|30"));
        db->ExecSQL(QStringLiteral("DROP TRIGGER boom"));
    }
}

namespace {

struct TStaleCase {
    const char* name;
    TDeskMove move;
    int to;
    const char* meanwhile; // another program, after the picker was opened
    const char* refusal;
    const char* tile; // the target's tile as stored
};

const TStaleCase kStale[] = {
    {"TargetOpened", TDeskMove::Transfer, 2, "UPDATE zel_desk SET stat=1, nums=3 WHERE id=2",
     "所选桌位已被占用，请重新选择", "2|桌位02|B02|3|1|0"},
    {"TargetOrderedWithoutRecount", TDeskMove::Transfer, 2,
     "INSERT INTO zel_orders_detail (title, deskid, price, stat) VALUES ('馒头', 2, 3, 0)",
     "所选桌位已被占用，请重新选择", "2|桌位02|B02|0|0|0"},
    {"TargetSettled", TDeskMove::Merge, 3, "UPDATE zel_desk SET stat=0, nums=0, price=0 WHERE id=3",
     "所选桌位已空闲，无法并台，请重新选择", "3|桌位03|C03|0|0|0"},
    {"TargetDeleted", TDeskMove::Merge, 3, "UPDATE zel_desk SET deleted=1 WHERE id=3",
     "所选桌位已不存在，请重新选择", "3|桌位03|C03|2|1|12"},
    {"SourceOrderedMore", TDeskMove::Transfer, 2,
     "INSERT INTO zel_orders_detail (title, deskid, price, stat) VALUES ('馒头', 1, 3, 0)",
     "本桌订单已被修改或已结算，请核对后重新换桌", "2|桌位02|B02|0|0|0"},
    {"SourceSettled", TDeskMove::Merge, 3, "UPDATE zel_orders_detail SET issettle=1 WHERE deskid=1",
     "本桌订单已被修改或已结算，请核对后重新并台", "3|桌位03|C03|2|1|12"},
};

void PrintTo(const TStaleCase& c, std::ostream* os) {
    *os << c.name;
}

class DeskMoveStaleTest : public DeskMoveTest, public ::testing::WithParamInterface<TStaleCase> {};

} // namespace

TEST_P(DeskMoveStaleTest, IsRefusedAndChangesNothing) {
    const TStaleCase& c = GetParam();
    QString afterMeanwhile;
    form->OpenForDesk(1, nullptr);
    click(command(c.move));
    ASSERT_TRUE(form->Form_desk_picker->isVisible());
    {
        TSQLiteDatabase other(dbPath());
        other.ExecSQL(QString::fromUtf8(c.meanwhile));
    }
    afterMeanwhile = snapshot();
    click(form->Form_desk_picker->DeskButton(c.to));

    EXPECT_EQ(boxes(TMessageKind::Info), QStringList{QString::fromUtf8(c.refusal)});
    EXPECT_EQ(snapshot(), afterMeanwhile);
    EXPECT_EQ(form->DeskID, 1);
    EXPECT_EQ(tileOf(c.to), QString::fromUtf8(c.tile));
    // The window was reloaded: it lists what is stored now.
    EXPECT_EQ(QString::number(listed().size()),
              scalar(QStringLiteral("SELECT COUNT(*) FROM zel_orders_detail WHERE deskid=1 AND "
                                    "issettle=0 AND stat<8")));
}

INSTANTIATE_TEST_SUITE_P(Meanwhile, DeskMoveStaleTest, ::testing::ValuesIn(kStale),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

// What the kitchen hears of a move: the dishes it was sent under the old
// table's code and still has to make, with both codes.
struct TNoticeCase {
    const char* name;
    TDeskMove move;
    int to;
    const char* sent; // titles marked sent before the move
    QStringList printed;
};

const TNoticeCase kNotices[] = {
    {"Transfer",
     TDeskMove::Transfer,
     2,
     "'宫保鸡丁','红烧肉','米饭'",
     // The returned and the served line are nothing to make.
     {"换桌：A01 → B02", "日期：2026-03-14 12:05", "桌位号：B02", "菜品名称和做法", "数量",
      "宫保鸡丁", "1", "红烧肉", "1"}},
    {"Merge",
     TDeskMove::Merge,
     3,
     "'宫保鸡丁'",
     {"并台：A01 → C03", "日期：2026-03-14 12:05", "桌位号：C03", "菜品名称和做法", "数量",
      "宫保鸡丁", "1"}},
    // Nothing was sent but the served line: the next ticket carries the new code anyway.
    {"NothingSent", TDeskMove::Transfer, 2, "''", {}},
};

void PrintTo(const TNoticeCase& c, std::ostream* os) {
    *os << c.name;
}

class DeskMoveNoticeTest : public DeskMoveTest,
                           public ::testing::WithParamInterface<TNoticeCase> {};

} // namespace

TEST_P(DeskMoveNoticeTest, TellsTheKitchenWhereItsDishesGo) {
    const TNoticeCase& c = GetParam();
    cd_printname = QStringLiteral("厨房");
    db->ExecSQL(QStringLiteral("UPDATE zel_orders_detail SET iscal=1 WHERE title IN (%1)")
                    .arg(QString::fromUtf8(c.sent)));
    pick(c.move, c.to);
    EXPECT_EQ(notes.last(), DeskMoveWord(c.move) + QStringLiteral("成功"));
    QStringList printed;
    for (const auto& t : device.Texts)
        if (!t.text.startsWith(QLatin1Char('-')))
            printed << t.text;
    EXPECT_EQ(printed, c.printed);
    EXPECT_EQ(device.JobsEnded, c.printed.isEmpty() ? 0 : 1);
    if (!c.printed.isEmpty()) {
        EXPECT_EQ(device.Selected, QStringLiteral("厨房"));
        ASSERT_FALSE(device.Texts.isEmpty());
        EXPECT_EQ(device.Texts.first().style, TFontStyle::Bold);
    }
    EXPECT_TRUE(boxes(TMessageKind::Info).isEmpty());
    // The notice marks nothing: the lines keep what the kitchen was told.
    EXPECT_EQ(
        scalar(
            QStringLiteral("SELECT SUM(iscal) FROM zel_orders_detail WHERE deskid=%1").arg(c.to)),
        scalar(QStringLiteral("SELECT COUNT(*) FROM zel_orders_detail WHERE deskid=%1 AND "
                              "(title IN (%2) OR title='鱼香肉丝')")
                   .arg(c.to)
                   .arg(QString::fromUtf8(c.sent))));
}

INSTANTIATE_TEST_SUITE_P(Kitchen, DeskMoveNoticeTest, ::testing::ValuesIn(kNotices),
                         [](const auto& info) { return std::string(info.param.name); });

// A notice that cannot be printed leaves the move done and says what to tell the kitchen.
TEST_F(DeskMoveTest, AnUnprintedNoticeIsSaidInABox) {
    cd_printname.clear();
    db->ExecSQL(QStringLiteral("UPDATE zel_orders_detail SET iscal=1 WHERE title='宫保鸡丁'"));
    pick(TDeskMove::Transfer, 2);
    EXPECT_EQ(form->DeskID, 2);
    EXPECT_EQ(device.JobsEnded, 0);
    EXPECT_EQ(boxes(TMessageKind::Info),
              QStringList{QStringLiteral("换桌通知未送到厨房：") + printresult::NoPrinter() +
                          QStringLiteral("\n请告诉厨房：A01 的菜品改送 B02。")});
}
