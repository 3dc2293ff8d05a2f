// The road of one order through the real windows of the program: floor tile,
// table window, ordering screen with its specification dialog, tickets,
// settlement; then the database and the tile.

#include "app/formcreate.h"
#include "app/masterscreens.h"
#include "app/screens.h"
#include "billing/table/form_desk_open.h"
#include "common/appvalues.h"
#include "common/myfun.h"
#include "floor/lists/masterlists.h"
#include "floor/lists/pagedlist.h"
#include "floor/view/desktile.h"
#include "floor/view/form_main.h"
#include "ordering/form_diancan.h"
#include "ordering/tiles/dishcontrolmanager.h"
#include "store/sqlitedb.h"

#include "programfixture.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

namespace {

class RoadTest : public ProgramWindowsTest {
protected:
    // Ticks the table window's row of that title the way the operator does.
    void tick(TForm_desk_open& desk, const QString& title) {
        const auto found = desk.ListView1->findItems(title, Qt::MatchExactly, 0);
        ASSERT_EQ(found.size(), 1) << title.toStdString();
        desk.ListView1->setCurrentItem(found.first());
        QTest::keyClick(desk.ListView1, Qt::Key_Space);
    }

    QStringList tileTexts(int32_t id) const {
        QStringList texts;
        const TDeskTile* tile = window->FindDeskGroupBox(id);
        if (!tile)
            return texts;
        for (const QLabel* label : tile->findChildren<QLabel*>())
            texts << label->text();
        texts.sort();
        return texts;
    }
};

} // namespace

TEST_F(RoadTest, OneOrderFromTileToSettlement) {
    // Start-up accepts the demonstration data (20 tables, 20 dishes).
    window = std::make_unique<Tform_main>();
    FormCreate(*window);
    ASSERT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM zel_desk")), QStringLiteral("20"));
    {
        TSQLiteDatabase db(sqlitename);
        db.ExecSQL(QStringLiteral("INSERT INTO zel_caipin (id, title, price, issku) VALUES "
                                  "(100, '酸菜鱼', 48, 1)"));
        db.ExecSQL(QStringLiteral("INSERT INTO zel_caipin_sku (id, title, price, rootid) VALUES "
                                  "(7, '小份', 38, 100), (8, '大份', 58, 100)"));
    }
    const QString plainTitle = scalar(QStringLiteral("SELECT title FROM zel_caipin WHERE id=1"));
    const double plainPrice =
        scalar(QStringLiteral("SELECT price FROM zel_caipin WHERE id=1")).toDouble();
    screens = CreateScreens(*window);
    // The settings screen loaded the (missing) printer names; pick the printers.
    kd_printname = QStringLiteral("前台");
    cd_printname = QStringLiteral("厨房");
    window->show();
    TForm_desk_open& desk = *screens->Form_desk_open;
    TForm_diancan& diancan = *screens->Form_diancan;

    // The tile of 桌位01 opens the table window; "开台" occupies the table.
    TDeskTile* tile = window->FindDeskGroupBox(1);
    ASSERT_TRUE(tile);
    click(tile);
    ASSERT_TRUE(desk.isVisible());
    click(desk.CnButton1);
    EXPECT_TRUE(tileTexts(1).contains(QStringLiteral("占用")));

    // "下单点餐": "+" twice on a plain dish, the large size in the dialog, "确定点单".
    nextDialog = [&](QDialog& screen) {
        ASSERT_EQ(&screen, &diancan);
        click(diancan.DishControlManager()->IncreaseButton(1));
        click(diancan.DishControlManager()->IncreaseButton(1));
        nextDialog = [](QDialog& dialog) {
            click(dialog.findChild<QPushButton*>(QStringLiteral("btnIncrease1")));
            click(dialog.findChild<QPushButton*>(QStringLiteral("btnOK")));
        };
        click(diancan.DishControlManager()->SelectSpecButton(100));
        click(diancan.findChild<QPushButton*>(QStringLiteral("FConfirmButton")));
        screen.accept();
    };
    click(desk.btnOrder);
    EXPECT_FALSE(diancan.isVisible());
    ASSERT_EQ(desk.ListView1->topLevelItemCount(), 2);
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(title || '*' || quantity, ';') FROM "
                                    "zel_orders_detail ORDER BY id")),
              plainTitle + QStringLiteral("*2.0;酸菜鱼 (大份)*1.0"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT SUM(quantity) FROM zel_cart")), QStringLiteral("0"));

    // One line served, the other returned.
    tick(desk, plainTitle);
    click(desk.btn_ycc);
    tick(desk, QStringLiteral("酸菜鱼 (大份)"));
    click(desk.btn_tc);
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(stat) FROM zel_orders_detail")),
              QStringLiteral("3,7"));

    // Both tickets print; the returned line is struck through and not paid for.
    const QString total = QString::number(2 * plainPrice, 'f', 2);
    click(desk.btn_chuda);
    click(desk.btn_keda);
    EXPECT_EQ(printers.JobsEnded, 2);
    EXPECT_EQ(printers.Selected, QStringLiteral("前台"));
    bool struck = false;
    for (const auto& text : printers.Texts)
        struck = struck || (text.text.contains(QStringLiteral("酸菜鱼")) &&
                            text.style == TFontStyle::StrikeOut);
    EXPECT_TRUE(struck);
    EXPECT_TRUE(printers.DrawnTexts().join(QLatin1Char('|')).contains(total))
        << printers.DrawnTexts().join(QLatin1Char('|')).toStdString();

    // Settlement in cash with 200 received.
    click(desk.findChild<QRadioButton*>(QStringLiteral("paytype_7")));
    desk.lab_shishou->setFocus();
    desk.lab_shishou->selectAll();
    QTest::keyClicks(desk.lab_shishou, QStringLiteral("200"));
    EXPECT_EQ(desk.lab_zhaoling->text(), QString::number(200 - 2 * plainPrice, 'f', 2));
    click(desk.btnSettle);

    EXPECT_EQ(scalar(QStringLiteral("SELECT price || '/' || allprice || '/' || paytype || '/' || "
                                    "shishou FROM zel_orders")),
              QStringLiteral("%1/%1/7/200.0").arg(QString::number(2 * plainPrice, 'f', 1)));
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(issettle || ':' || rootid) FROM "
                                    "zel_orders_detail")),
              QStringLiteral("1:1,1:1"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT stat || '/' || price || '/' || nums FROM zel_desk "
                                    "WHERE id=1")),
              QStringLiteral("0/0.0/0"));
    EXPECT_EQ(desk.ListView1->topLevelItemCount(), 0);
    const QStringList texts = tileTexts(1);
    EXPECT_TRUE(texts.contains(QStringLiteral("空闲")))
        << texts.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("￥0.00")));
    EXPECT_TRUE(texts.contains(QStringLiteral("0人")));
    for (const auto& call : messages.Calls)
        EXPECT_FALSE(call.text.contains(QStringLiteral("失败"))) << call.text.toStdString();
    expectNoOpenLineOnADeletedTable();
}

// A free table ordered straight from the table window: after the ordering
// screen closes, every later repaint of the window agrees with the stored row.
TEST_F(RoadTest, OrderingOnAFreeTableKeepsTheTileInStepWithTheRow) {
    startProgram();
    TForm_desk_open& desk = *screens->Form_desk_open;
    TForm_diancan& diancan = *screens->Form_diancan;
    const QString price =
        FormatFloat00(scalar(QStringLiteral("SELECT price FROM zel_caipin WHERE id=1")).toDouble());
    const QString row = QStringLiteral("SELECT stat || '/' || price FROM zel_desk WHERE id=3");

    click(window->FindDeskGroupBox(3));
    ASSERT_TRUE(desk.isVisible());
    ASSERT_TRUE(tileTexts(3).contains(QStringLiteral("空闲")));
    nextDialog = [&](QDialog& screen) {
        click(diancan.DishControlManager()->IncreaseButton(1));
        click(diancan.findChild<QPushButton*>(QStringLiteral("FConfirmButton")));
        screen.reject(); // closed by the operator after confirming
    };
    click(desk.btnOrder);
    const QString stored = scalar(row);
    ASSERT_TRUE(stored.startsWith(QStringLiteral("1/"))) << stored.toStdString();

    // Each later command of the window repaints the tile from what it holds.
    for (QPushButton* command : {desk.CnButton2, desk.CnButton1}) {
        SCOPED_TRACE(command->text().toStdString());
        click(command);
        EXPECT_EQ(scalar(row), stored);
        const QStringList texts = tileTexts(3);
        EXPECT_TRUE(texts.contains(QStringLiteral("占用"))) << texts.join(' ').toStdString();
        EXPECT_TRUE(texts.contains(QStringLiteral("￥") + price)) << texts.join(' ').toStdString();
    }

    // 桌位管理 refuses to delete the table while its bill is open.
    window->MenuAction(QStringLiteral("N8"))->trigger();
    TForm_desk& desks = *screens->MasterData->Form_desk;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&desks));
    const QList<TListRow>& rows = desks.List()->Rows();
    int at = 0;
    while (at < rows.size() && rows[at].id != QStringLiteral("3"))
        ++at;
    ASSERT_LT(at, rows.size());
    const int deleteColumn = desks.ListView1->model()->columnCount() - 1;
    messages.Calls.clear();
    QTest::mouseClick(
        desks.ListView1->viewport(), Qt::LeftButton, Qt::NoModifier,
        desks.ListView1->visualRect(desks.ListView1->model()->index(at, deleteColumn)).center());
    ASSERT_EQ(messages.Calls.size(), 1);
    EXPECT_EQ(messages.Calls[0].kind, TMessageKind::Info);
    EXPECT_TRUE(messages.Calls[0].text.contains(QStringLiteral("还有未结账的订单")))
        << messages.Calls[0].text.toStdString();
    EXPECT_TRUE(window->FindDeskGroupBox(3));
    expectNoOpenLineOnADeletedTable();
}
