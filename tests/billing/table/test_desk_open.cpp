#include "billing/printing/devices/recordingdevice.h"
#include "billing/printing/myprint.h"
#include "billing/printing/ticketsettings.h"
#include "billing/table/form_desk_open.h"
#include "common/appvalues.h"
#include "common/clock.h"
#include "common/messages.h"
#include "ordering/TOrderManager.h"

#include "deskwindowfixture.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTreeWidget>

namespace {

// One repaint of a tile as the floor view would receive it.
struct TTileCall {
    int32_t id;
    QString title, bh, nums, stat;
    double price;
};

TOrderItem dish(int32_t caipinid, const QString& title, double quantity, double price) {
    TOrderItem item;
    item.caipinid = caipinid;
    item.title = title;
    item.Quantity = quantity;
    item.Price = price;
    return item;
}

class DeskOpenTest : public DeskWindowEnvironment {
protected:
    void SetUp() override {
        DeskWindowEnvironment::SetUp();
        db->ExecSQL(QStringLiteral("INSERT INTO zel_desk (id, title, bh, nums, price, stat) "
                                   "VALUES (2, '桌位02', 'B02', 0, 0, 0)"));

        form = std::make_unique<TForm_desk_open>();
        QObject::connect(form.get(), &TForm_desk_open::DeskInfoChanged, form.get(),
                         [this](int32_t id, const QString& title, const QString& bh,
                                const QString& nums, const QString& stat, double price) {
                             tiles.append({id, title, bh, nums, stat, price});
                         });
        QObject::connect(form.get(), &TForm_desk_open::Notified, form.get(),
                         [this](const QString& text) { notes << text; });
    }
    void TearDown() override {
        form.reset();
        DeskWindowEnvironment::TearDown();
    }

    QTreeWidgetItem* row(const QString& title) const {
        const auto found = form->ListView1->findItems(title, Qt::MatchExactly, 0);
        return found.isEmpty() ? nullptr : found.first();
    }
    // Ticks a row the way the operator does: make it current, press space.
    void tick(const QString& title) {
        QTreeWidgetItem* item = row(title);
        ASSERT_NE(item, nullptr) << title.toStdString();
        form->ListView1->setCurrentItem(item);
        QTest::keyClick(form->ListView1, Qt::Key_Space);
        ASSERT_EQ(item->checkState(0), Qt::Checked) << title.toStdString();
    }
    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // Types over the field's text (long texts arrive as a paste).
    void type(QLineEdit* edit, const QString& text) {
        edit->setFocus();
        edit->selectAll();
        if (text.size() <= 20 && text.toLatin1() == text.toUtf8())
            QTest::keyClicks(edit, text);
        else
            edit->insert(text);
        ASSERT_EQ(edit->text(), text);
    }
    QStringList column(int c) const {
        QStringList texts;
        for (int i = 0; i < form->ListView1->topLevelItemCount(); ++i)
            texts << form->ListView1->topLevelItem(i)->text(c);
        return texts;
    }
    QStringList errors() const {
        QStringList texts;
        for (const auto& call : messenger.Calls)
            if (call.kind == TMessageKind::Info)
                texts << call.text;
        return texts;
    }
    QString tileText(const TTileCall& t) const {
        return QStringLiteral("%1|%2|%3|%4|%5|%6")
            .arg(t.id)
            .arg(t.title, t.bh, t.nums, t.stat)
            .arg(t.price);
    }
    QString lastTile() const {
        return tiles.isEmpty() ? QStringLiteral("<none>") : tileText(tiles.last());
    }

    std::unique_ptr<TForm_desk_open> form;
    QList<TTileCall> tiles;
    QStringList notes;
};

} // namespace

TEST_F(DeskOpenTest, TheRoadOfOneOrderThroughTheWindow) {
    // The tile click.
    form->OpenForDesk(2, nullptr);
    ASSERT_TRUE(form->isVisible());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("请选择操作"));
    EXPECT_EQ(form->lab_deskinfo->text(), QStringLiteral("B02号,桌位02"));
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 0);

    click(form->CnButton1);
    EXPECT_EQ(notes.last(), QStringLiteral("开台成功"));
    EXPECT_EQ(lastTile(), QStringLiteral("2|桌位02|B02|0|1|0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT stat FROM zel_desk WHERE id=2")), QStringLiteral("1"));

    type(form->lab_nums, QStringLiteral("3"));
    type(form->lab_fwy, QStringLiteral("小李"));
    click(form->CnButton2);
    EXPECT_EQ(notes.last(), QStringLiteral("保存成功"));
    EXPECT_EQ(lastTile(), QStringLiteral("2|桌位02|B02|3|1|0"));

    // The ordering screen's basket and confirmation, on its own connection.
    {
        TSQLiteDatabase orderDb(dbPath());
        TOrderManager orders(&orderDb);
        orders.SetDeskID(QStringLiteral("2"));
        orders.AddOrUpdateOrderItem(dish(1, QStringLiteral("宫保鸡丁"), 2, 28.5));
        orders.AddOrUpdateOrderItem(dish(2, QStringLiteral("鱼香肉丝"), 1, 32));
        orders.AddOrUpdateOrderItem(dish(3, QStringLiteral("米饭"), 0.5, 3));
        orders.MoveCartToConfirmed();
    }
    form->LoadOrderDetails();
    EXPECT_EQ(column(0), QStringList({"宫保鸡丁", "鱼香肉丝", "米饭"}));
    EXPECT_EQ(column(1), QStringList({"2", "1", "0.5"}));
    EXPECT_EQ(column(3), QStringList({"57.00", "32.00", "1.50"}));
    EXPECT_EQ(form->labTotalAmount->text(), QStringLiteral("￥90.50"));
    EXPECT_EQ(form->labTotalDishes->text(), QStringLiteral("3.5"));

    tick(QStringLiteral("鱼香肉丝"));
    click(form->btn_tc);
    EXPECT_EQ(notes.last(), QStringLiteral("退菜 1 个菜品"));
    EXPECT_EQ(column(4), QStringList({"待制作", "已退菜", "待制作"}));
    EXPECT_EQ(form->GetSelectedItemCount(), 0);
    EXPECT_EQ(form->labTotalAmount->text(), QStringLiteral("￥58.50"));
    EXPECT_EQ(form->labTotalDishes->text(), QStringLiteral("2.5"));
    EXPECT_EQ(lastTile(), QStringLiteral("2|桌位02|B02|3|1|58.5"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT stat || '/' || price FROM zel_desk WHERE id=2")),
              QStringLiteral("1/58.5"));

    const qsizetype notesBeforePrint = notes.size();
    click(form->btn_keda);
    EXPECT_EQ(device.Selected, QStringLiteral("前台"));
    const QList<TRecordingPageDevice::Text> receipt = device.Texts;
    click(form->btn_chuda);
    EXPECT_EQ(device.Selected, QStringLiteral("厨房"));
    EXPECT_EQ(device.JobsEnded, 2);
    // The receipt printed silently; the kitchen ticket says what it sent (the dish
    // returned before it was ever sent is no cancellation).
    EXPECT_EQ(notes.mid(notesBeforePrint), QStringList{QStringLiteral("已送厨房：2道菜")});
    const auto styleOf = [](const QList<TRecordingPageDevice::Text>& texts, const QString& text) {
        for (const auto& t : texts)
            if (t.text == text)
                return t.style;
        ADD_FAILURE() << "not printed: " << text.toStdString();
        return TFontStyle::Bold;
    };
    EXPECT_EQ(styleOf(receipt, QStringLiteral("鱼香肉丝")), TFontStyle::StrikeOut);
    EXPECT_EQ(styleOf(receipt, QStringLiteral("宫保鸡丁")), TFontStyle::Plain);
    EXPECT_TRUE(device.DrawnTexts().contains(QStringLiteral("合计：￥58.50")));
    const QList<TRecordingPageDevice::Text> kitchen = device.Texts.mid(receipt.size());
    // Returned before the kitchen heard of it: not on the kitchen's ticket at all.
    for (const auto& t : kitchen)
        EXPECT_NE(t.text, QStringLiteral("鱼香肉丝"));
    EXPECT_EQ(styleOf(kitchen, QStringLiteral("米饭")), TFontStyle::Plain);

    click(form->findChild<QRadioButton*>(QStringLiteral("paytype_7")));
    EXPECT_EQ(form->PayType(), 7);
    EXPECT_EQ(form->lab_shishou->text(), QStringLiteral("58.50"));
    type(form->lab_shishou, QStringLiteral("200"));
    EXPECT_EQ(form->lab_zhaoling->text(), QStringLiteral("141.50"));

    // The tile may only turn free once the settlement is committed: a second
    // connection must already see the order when the repaint arrives.
    QStringList ordersAtRepaint;
    QObject::connect(form.get(), &TForm_desk_open::DeskInfoChanged, form.get(), [&] {
        ordersAtRepaint << scalar(QStringLiteral("SELECT COUNT(*) FROM zel_orders"));
    });
    click(form->btnSettle);
    EXPECT_EQ(ordersAtRepaint, QStringList({"1"}));
    EXPECT_EQ(notes.mid(notes.size() - 2), QStringList({"保存成功", "订单结算成功！订单号：1"}));
    EXPECT_EQ(lastTile(), QStringLiteral("2|桌位02|B02|0|0|0"));
    EXPECT_EQ(messenger.Texts(),
              QStringList({"确定开台吗", "确定保存吗", "确定设置为退菜吗", "确定要结算订单吗？"}));
    EXPECT_EQ(messenger.Calls.last().caption, QStringLiteral("确认结算"));

    EXPECT_EQ(
        scalar(QStringLiteral(
            "SELECT price||'|'||allprice||'|'||paytype||'|'||shishou||'|'||zhaoling||'|'||"
            "nums||'|'||fwy||'|'||bh||'|'||deskid||'|'||length(ordid)||'|'||title FROM "
            "zel_orders")),
        QStringLiteral("58.5|58.5|7|200.0|141.5|3|小李|B02|2|17|2026-03-14 12:05:09结算订单"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM zel_orders")), QStringLiteral("1"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(issettle||':'||rootid) FROM "
                                    "zel_orders_detail WHERE deskid=2")),
              QStringLiteral("1:1,1:1,1:1"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT stat||'|'||price||'|'||nums||'|'||fwy||'|'||yj FROM "
                                    "zel_desk WHERE id=2")),
              QStringLiteral("0|0.0|0||0.0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT SUM(quantity) FROM zel_cart WHERE deskid=2")),
              QStringLiteral("0"));

    EXPECT_EQ(form->ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(form->labTotalAmount->text(), QStringLiteral("￥0.00"));
    EXPECT_EQ(form->lab_shishou->text(), QStringLiteral("0.00"));
    EXPECT_EQ(form->lab_zhaoling->text(), QStringLiteral("0.00"));
    EXPECT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char('\n')).toStdString();
}

TEST_F(DeskOpenTest, AFailedSettlementChangesNothingAndSaysWhy) {
    addLine(QStringLiteral("宫保鸡丁"), 30, 1, 3);
    addLine(QStringLiteral("米饭"), 2, 2, 0);
    addCart(5, 1);
    const QString snapshot = QStringLiteral(
        "SELECT (SELECT COUNT(*) FROM zel_orders) || '|' || (SELECT group_concat(issettle || "
        "rootid) FROM zel_orders_detail) || '|' || (SELECT stat||price||nums||fwy||yj FROM "
        "zel_desk WHERE id=1) || '|' || (SELECT quantity FROM zel_cart)");
    const QString before = scalar(snapshot);

    const std::pair<const char*, const char*> cases[] = {
        {"CREATE TRIGGER boom BEFORE UPDATE ON zel_orders_detail BEGIN "
         "SELECT RAISE(ABORT, 'lines locked'); END",
         "lines locked"},
        {"CREATE TRIGGER boom BEFORE INSERT ON zel_orders BEGIN "
         "SELECT RAISE(ABORT, 'no orders'); END",
         "插入主订单数据失败"},
    };
    for (const auto& [trigger, shown] : cases) {
        SCOPED_TRACE(shown);
        db->ExecSQL(QString::fromUtf8(trigger));
        form->OpenForDesk(1, nullptr);
        messenger.Calls.clear();
        notes.clear();
        tiles.clear();

        click(form->btnSettle);
        ASSERT_EQ(errors().size(), 1);
        EXPECT_TRUE(errors().first().contains(QString::fromUtf8(shown)))
            << errors().first().toStdString();
        EXPECT_FALSE(notes.contains(QStringLiteral("保存成功")));
        EXPECT_TRUE(tiles.isEmpty());
        EXPECT_EQ(scalar(snapshot), before);
        EXPECT_EQ(form->ListView1->topLevelItemCount(), 2);
        EXPECT_EQ(form->DeskStatus, QStringLiteral("1"));
        db->ExecSQL(QStringLiteral("DROP TRIGGER boom"));
    }
}

// Two windows on one table, each with its own connection as two programs
// would have: what one books, the other cannot book again or book stale.
TEST_F(DeskOpenTest, TwoWindowsOnOneTableBookTheBillOnce) {
    addLine(QStringLiteral("宫保鸡丁"), 30, 1, 3);
    const int rice = addLine(QStringLiteral("米饭"), 2, 2, 0);
    TForm_desk_open other;
    other.OpenForDesk(1, nullptr);
    form->OpenForDesk(1, nullptr);

    // A line returned in the other window: this one's 合计 is stale.
    other.ListView1->findItems(QStringLiteral("米饭"), Qt::MatchExactly, 0)
        .first()
        ->setCheckState(0, Qt::Checked);
    QTest::mouseClick(other.btn_tc, Qt::LeftButton);
    ASSERT_EQ(scalar(QStringLiteral("SELECT stat FROM zel_orders_detail WHERE id=%1").arg(rice)),
              QStringLiteral("7"));
    EXPECT_EQ(form->labTotalAmount->text(), QStringLiteral("￥34.00"));
    click(form->btnSettle);
    EXPECT_EQ(errors(), QStringList{DeskChangedMessage()});
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM zel_orders")), QStringLiteral("0"));
    EXPECT_EQ(form->labTotalAmount->text(), QStringLiteral("￥30.00")); // reloaded

    // Settled in the other window; this one still lists the lines.
    QTest::mouseClick(other.btnSettle, Qt::LeftButton);
    ASSERT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM zel_orders")), QStringLiteral("1"));
    ASSERT_EQ(form->ListView1->topLevelItemCount(), 2);
    messenger.Calls.clear();
    tiles.clear();
    click(form->btnSettle);
    EXPECT_EQ(errors(), QStringList{DeskChangedMessage()});
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM zel_orders")), QStringLiteral("1"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(issettle||':'||rootid) FROM "
                                    "zel_orders_detail")),
              QStringLiteral("1:1,1:1"));
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(lastTile(), QStringLiteral("1|桌位01|A01|0|0|0"));
    EXPECT_FALSE(notes.contains(QStringLiteral("保存成功")));
}

TEST_F(DeskOpenTest, OpenThenSaveKeepsTheTableOccupied) {
    form->OpenForDesk(2, nullptr);
    click(form->CnButton1);
    type(form->lab_nums, QStringLiteral("5"));
    click(form->CnButton2);
    EXPECT_EQ(lastTile(), QStringLiteral("2|桌位02|B02|5|1|0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT stat||'|'||nums FROM zel_desk WHERE id=2")),
              QStringLiteral("1|5"));

    // A later recount repaints with the saved guests, not the loaded ones.
    addLine(QStringLiteral("茶"), 5, 1, 0, 2);
    form->LoadOrderDetails();
    tick(QStringLiteral("茶"));
    click(form->btn_ycc);
    EXPECT_EQ(lastTile(), QStringLiteral("2|桌位02|B02|5|1|5"));
}

TEST_F(DeskOpenTest, ClearDeletesOpenLinesEmptiesBasketAndFreesTheTable) {
    addLine(QStringLiteral("宫保鸡丁"), 30, 1, 3);
    addLine(QStringLiteral("鱼香肉丝"), 12, 1, 7);
    addCart(5, 2);
    form->OpenForDesk(1, nullptr);
    EXPECT_EQ(form->lab_fwy->text(), QStringLiteral("小王"));

    messenger.Answers = {false};
    click(form->btnAdd);
    EXPECT_EQ(notes.last(), QStringLiteral("您取消了操作"));
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 2);

    click(form->btnAdd);
    EXPECT_EQ(messenger.Texts().last(), QStringLiteral("确定清台吗，清台后已下订单将删除"));
    EXPECT_EQ(notes.last(), QStringLiteral("清台成功"));
    EXPECT_EQ(lastTile(), QStringLiteral("1|桌位01|A01|0|0|0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(stat) FROM zel_orders_detail")),
              QStringLiteral("8,8"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT quantity FROM zel_cart")), QStringLiteral("0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT stat||'|'||price||'|'||nums||'|'||fwy FROM zel_desk "
                                    "WHERE id=1")),
              QStringLiteral("0|0.0|0|"));
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(form->lab_fwy->text(), QString());
    EXPECT_EQ(form->lab_nums->text(), QStringLiteral("0"));
}

TEST_F(DeskOpenTest, TypedDetailsAndAmountsAreStoredNormalisedNeverAsSQL) {
    const QString longDigits(10000, QLatin1Char('9'));
    const QString longText = QString(9998, QLatin1Char('x')) + QStringLiteral("'\"");
    const QString quoted = QStringLiteral("5'); DROP TABLE zel_desk; --");
    const QString saved = QStringLiteral("保存成功");
    struct Case {
        QLineEdit* TForm_desk_open::*field;
        QString typed;
        const char* column;
        QString stored; // what the column holds afterwards
        QString note;
    };
    // Negative numbers are refused and leave the stored value as it was.
    const Case details[] = {
        {&TForm_desk_open::lab_nums, QStringLiteral("abc"), "nums", QStringLiteral("0"), saved},
        {&TForm_desk_open::lab_nums, QStringLiteral("3.5"), "nums", QStringLiteral("0"), saved},
        {&TForm_desk_open::lab_nums, QStringLiteral("-2"), "nums", QStringLiteral("0"),
         QStringLiteral("用餐人数不能为负数")},
        {&TForm_desk_open::lab_nums, longDigits, "nums", QStringLiteral("0"), saved},
        {&TForm_desk_open::lab_nums, quoted, "nums", QStringLiteral("0"), saved},
        {&TForm_desk_open::lab_yj, QStringLiteral("50.5"), "yj", QStringLiteral("50.5"), saved},
        {&TForm_desk_open::lab_yj, QStringLiteral(" -20 "), "yj", QStringLiteral("50.5"),
         QStringLiteral("预订押金不能为负数")},
        {&TForm_desk_open::lab_yj, QStringLiteral("yuan"), "yj", QStringLiteral("0"), saved},
        {&TForm_desk_open::lab_yj, longDigits, "yj", QStringLiteral("0"), saved},
        {&TForm_desk_open::lab_yj, quoted, "yj", QStringLiteral("0"), saved},
        {&TForm_desk_open::lab_fwy, longText, "fwy", longText, saved},
        {&TForm_desk_open::lab_ydtel, quoted, "ydtel", quoted, saved},
    };
    form->OpenForDesk(1, nullptr);
    for (const Case& c : details) {
        SCOPED_TRACE(c.typed.left(30).toStdString());
        type(form.get()->*c.field, c.typed);
        click(form->CnButton2);
        EXPECT_EQ(notes.last(), c.note);
        EXPECT_EQ(scalar(QStringLiteral("SELECT %1 FROM zel_desk WHERE id=1")
                             .arg(QString::fromLatin1(c.column))),
                  c.stored);
        if (c.note != saved) {
            EXPECT_EQ(form->focusWidget(), form.get()->*c.field);
            type(form.get()->*c.field, QStringLiteral("0"));
        }
    }

    // The amount received as the settlement stores it, with the change the
    // field showed at that moment.
    const std::pair<QString, QString> amounts[] = {
        {QStringLiteral("abc"), QStringLiteral("0.0|0.0")},
        {longDigits, QStringLiteral("0.0|0.0")},
        {QStringLiteral("1'0"), QStringLiteral("0.0|-9.0")}, // the change shown after "1"
        {QStringLiteral("12.5"), QStringLiteral("12.5|2.5")},
    };
    for (const auto& [typed, stored] : amounts) {
        SCOPED_TRACE(typed.left(30).toStdString());
        addLine(QStringLiteral("茶"), 10, 1, 0);
        form->LoadOrderDetails();
        type(form->lab_shishou, typed);
        click(form->btnSettle);
        EXPECT_EQ(notes.last().left(10), QStringLiteral("订单结算成功！订单号"));
        EXPECT_EQ(scalar(QStringLiteral("SELECT shishou||'|'||zhaoling FROM zel_orders ORDER BY "
                                        "id DESC LIMIT 1")),
                  stored);
    }
    EXPECT_TRUE(errors().isEmpty()) << errors().join(QLatin1Char('\n')).toStdString();

    // A negative guest count, deposit or amount received stops the settlement
    // before its question, naming the field.
    addLine(QStringLiteral("茶"), 10, 1, 0);
    const QString orders = QStringLiteral("SELECT COUNT(*) FROM zel_orders");
    const QString before = scalar(orders);
    for (QLineEdit* edit : {form->lab_nums, form->lab_yj, form->lab_shishou}) {
        form->LoadOrderDetails();
        messenger.Calls.clear();
        type(edit, QStringLiteral("-5"));
        click(form->btnSettle);
        EXPECT_TRUE(notes.last().endsWith(QStringLiteral("不能为负数")))
            << notes.last().toStdString();
        EXPECT_EQ(form->focusWidget(), edit);
        EXPECT_TRUE(messenger.Calls.isEmpty());
        EXPECT_EQ(scalar(orders), before);
        type(edit, QStringLiteral("1"));
    }
    EXPECT_EQ(notes.mid(notes.size() - 3), (QStringList{QStringLiteral("用餐人数不能为负数"),
                                                        QStringLiteral("预订押金不能为负数"),
                                                        QStringLiteral("实收金额不能为负数")}));
}

TEST_F(DeskOpenTest, BatchCommandsAskAndReport) {
    form->OpenForDesk(1, nullptr);
    click(form->btn_ycc);
    EXPECT_EQ(notes.last(), QStringLiteral("没有订单明细可操作"));
    EXPECT_TRUE(messenger.Calls.isEmpty());

    addLine(QStringLiteral("a"), 10, 1, 3);
    addLine(QStringLiteral("b"), 20, 1, 3);
    const int c = addLine(QStringLiteral("c"), 5, 1, 7);
    form->LoadOrderDetails();

    tick(QStringLiteral("a"));
    tick(QStringLiteral("b"));
    tick(QStringLiteral("c"));
    messenger.Answers = {false};
    click(form->btn_ycc);
    EXPECT_EQ(messenger.Texts().last(),
              QStringLiteral("选中的项目中包含 1 个已退菜项目，确定要继续已出菜吗？"));
    EXPECT_EQ(messenger.Calls.last().caption, QStringLiteral("友情提示"));
    EXPECT_EQ(notes.last(), QStringLiteral("您取消了操作"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT stat FROM zel_orders_detail WHERE id=%1").arg(c)),
              QStringLiteral("7"));

    // Nothing ticked: the short prompt, and nothing changed.
    click(form->btnSelectAll); // all ticked -> none
    EXPECT_EQ(form->GetSelectedItemCount(), 0);
    click(form->btn_ycc);
    EXPECT_EQ(messenger.Texts().last(), QStringLiteral("确定已出菜吗"));
    EXPECT_EQ(notes.last(), QStringLiteral("已出菜 0 个菜品"));
    EXPECT_EQ(lastTile(), QStringLiteral("1|桌位01|A01|4|1|30"));

    tick(QStringLiteral("b"));
    click(form->btnSelectAll); // partly ticked -> all
    EXPECT_EQ(form->GetSelectedItemCount(), 3);
    click(form->btn_dzz);
    EXPECT_EQ(messenger.Texts().last(),
              QStringLiteral("选中的项目中包含 1 个已退菜项目，确定要继续待制作吗？"));
    EXPECT_EQ(notes.last(), QStringLiteral("待制作 3 个菜品"));
    EXPECT_EQ(lastTile(), QStringLiteral("1|桌位01|A01|4|1|35"));

    // A line that cannot be written stops the batch; the lines before it stay
    // changed and the failure is not hidden by the count.
    db->ExecSQL(QStringLiteral("CREATE TRIGGER boom BEFORE UPDATE ON zel_orders_detail WHEN "
                               "old.title='b' BEGIN SELECT RAISE(ABORT, 'b is locked'); END"));
    click(form->btnSelectAll);
    click(form->btn_tc);
    EXPECT_EQ(messenger.Texts().at(messenger.Texts().size() - 2),
              QStringLiteral("确定设置为退菜吗"));
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors().first().startsWith(QStringLiteral("更新失败: ")));
    EXPECT_TRUE(errors().first().contains(QStringLiteral("b is locked")));
    EXPECT_EQ(notes.last(), QStringLiteral("退菜 1 个菜品"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(stat) FROM (SELECT stat FROM "
                                    "zel_orders_detail ORDER BY id)")),
              QStringLiteral("7,0,0"));
    EXPECT_EQ(lastTile(), QStringLiteral("1|桌位01|A01|4|1|25"));
}

TEST_F(DeskOpenTest, ListTotalsAndChangeWhileTyping) {
    addLine(QStringLiteral("红烧肉"), 30, 2, 0);
    addLine(QStringLiteral("退掉的"), 12, 1, 7);
    addLine(QStringLiteral("半份鱼"), 57, 0.5, 3);
    addLine(QStringLiteral("删掉的"), 9, 1, 8);
    addLine(QStringLiteral("结过的"), 9, 1, 0, 1, 1);
    form->OpenForDesk(1, nullptr);

    EXPECT_EQ(column(0), QStringList({"红烧肉", "退掉的", "半份鱼"}));
    EXPECT_EQ(column(1), QStringList({"2", "1", "0.5"}));
    EXPECT_EQ(column(2), QStringList({"30.00", "12.00", "57.00"}));
    EXPECT_EQ(column(3), QStringList({"60.00", "12.00", "28.50"}));
    EXPECT_EQ(column(4), QStringList({"待制作", "已退菜", "已出菜"}));
    EXPECT_EQ(form->labTotalAmount->text(), QStringLiteral("￥88.50"));
    EXPECT_EQ(form->labTotalDishes->text(), QStringLiteral("2.5"));
    EXPECT_EQ(form->lab_shishou->text(), QStringLiteral("88.50"));
    EXPECT_EQ(form->lab_zhaoling->text(), QStringLiteral("0.00"));

    type(form->lab_shishou, QStringLiteral("100"));
    EXPECT_EQ(form->lab_zhaoling->text(), QStringLiteral("11.50"));
    type(form->lab_shishou, QStringLiteral("80"));
    EXPECT_EQ(form->lab_zhaoling->text(), QStringLiteral("-8.50"));
    type(form->lab_shishou, QStringLiteral("abc"));
    EXPECT_EQ(form->lab_zhaoling->text(), QStringLiteral("-8.50"));

    // A reload resets the amount received and the change with it.
    form->LoadOrderDetails();
    EXPECT_EQ(form->lab_shishou->text(), QStringLiteral("88.50"));
    EXPECT_EQ(form->lab_zhaoling->text(), QStringLiteral("0.00"));
    const QTreeWidgetItem* first = form->ListView1->topLevelItem(0);
    EXPECT_EQ(first->checkState(0), Qt::Unchecked);
    EXPECT_GT(first->data(0, Qt::UserRole).toInt(), 0);
    EXPECT_EQ(form->ListView1->visualItemRect(first).height(), 24);
}

TEST_F(DeskOpenTest, OpensCentredAndSwitchesToAnotherTable) {
    EXPECT_EQ(form->lab_deskinfo->text(), QStringLiteral("--"));
    EXPECT_EQ(form->lab_nums->text(), QStringLiteral("0"));
    EXPECT_EQ(form->lab_yj->text(), QStringLiteral("0"));
    EXPECT_EQ(form->lab_shishou->text(), QStringLiteral("0"));
    EXPECT_TRUE(form->lab_zhaoling->isReadOnly());
    EXPECT_EQ(form->PayType(), 1);
    QWidget main;
    // On the screen: a window is never placed partly off it, so a centre off
    // the screen could not be kept.
    main.setGeometry(
        QGuiApplication::primaryScreen()->availableGeometry().adjusted(40, 30, -40, -30));
    main.show();
    addLine(QStringLiteral("宫保鸡丁"), 30, 1, 0);
    form->OpenForDesk(1, &main);
    EXPECT_FALSE(form->isModal());
    EXPECT_LE((form->frameGeometry().center() - main.frameGeometry().center()).manhattanLength(),
              4);
    EXPECT_EQ(form->lab_deskinfo->text(), QStringLiteral("A01号,桌位01"));
    EXPECT_EQ(form->lab_ydtruename->text(), QStringLiteral("张三"));
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 1);

    const std::pair<const char*, int> payTypes[] = {
        {"微信支付", 1}, {"支付宝", 3},    {"银行卡", 5}, {"现金", 7},
        {"充值卡", 9},   {"余额扣款", 11}, {"免单", 15},  {"其它", 24},
    };
    const auto radios = form->box_paytype->findChildren<QRadioButton*>();
    ASSERT_EQ(radios.size(), 8);
    for (const auto& [caption, code] : payTypes) {
        QRadioButton* radio = nullptr;
        for (QRadioButton* r : radios)
            if (r->text() == QString::fromUtf8(caption))
                radio = r;
        ASSERT_NE(radio, nullptr) << caption;
        click(radio);
        EXPECT_EQ(form->PayType(), code) << caption;
    }

    form->SetDeskID(2);
    EXPECT_EQ(form->lab_deskinfo->text(), QStringLiteral("B02号,桌位02"));
    EXPECT_EQ(form->lab_ydtruename->text(), QString());
    EXPECT_EQ(form->ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(form->labTotalAmount->text(), QStringLiteral("￥0.00"));
}

// Lines worth a fraction of a cent: the window, the receipt and the booked
// order round each line the same way, and add the rounded amounts.
TEST_F(DeskOpenTest, HalfCentLinesRoundAlikeInWindowReceiptAndOrder) {
    addLine(QStringLiteral("半份鱼"), 12.33, 0.5, 0); // 6.165
    addLine(QStringLiteral("半份汤"), 0.05, 0.5, 0);  // 0.025
    form->OpenForDesk(1, nullptr);
    EXPECT_EQ(column(3), QStringList({"6.17", "0.03"}));
    EXPECT_EQ(form->labTotalAmount->text(), QStringLiteral("￥6.20"));

    click(form->btn_keda);
    const QStringList printed = device.DrawnTexts();
    EXPECT_TRUE(printed.contains(QStringLiteral("6.17"))) << printed.join('|').toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("0.03"))) << printed.join('|').toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("合计：￥6.20")))
        << printed.join('|').toStdString();

    click(form->btnSettle);
    EXPECT_EQ(scalar(QStringLiteral("SELECT price || '|' || allprice FROM zel_orders")),
              QStringLiteral("6.2|6.2"));
}

// The receipt goes through the same routine as the kitchen ticket: a printer
// that takes no job is named, and nothing counts as printed.
TEST_F(DeskOpenTest, TheReceiptNamesAPrinterThatTakesNoJob) {
    addLine(QStringLiteral("米饭"), 3, 1, 0);
    form->OpenForDesk(1, nullptr);
    for (const TakesNoJobCase& c : TakesNoJobCases(QStringLiteral("前台"))) {
        SCOPED_TRACE(c.name);
        device.Queue = c.queue;
        device.LoseJob = c.lose;
        notes.clear();
        click(form->btn_keda);
        EXPECT_EQ(notes, QStringList{c.shown});
        EXPECT_EQ(device.JobsEnded, 0);
    }
    EXPECT_TRUE(errors().isEmpty());
}
