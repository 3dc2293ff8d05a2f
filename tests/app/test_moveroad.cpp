// A party through the real windows: ordering with the automatic kitchen
// ticket, a transfer to another table, a second party merged into it, and the
// floor's tiles after each move.

#include "app/screens.h"
#include "billing/printing/form_setting.h"
#include "billing/table/deskpicker.h"
#include "billing/table/form_desk_open.h"
#include "common/appvalues.h"
#include "floor/view/desktile.h"
#include "floor/view/form_main.h"
#include "ordering/form_diancan.h"
#include "ordering/tiles/dishcontrolmanager.h"

#include "programfixture.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

class MoveRoadTest : public ProgramWindowsTest {
protected:
    QStringList tileTexts(int32_t id) const {
        QStringList texts;
        if (const TDeskTile* tile = window->FindDeskGroupBox(id))
            for (const QLabel* label : tile->findChildren<QLabel*>())
                texts << label->text();
        return texts;
    }
    // Opens the table's window from its tile and orders `presses` of dish 1.
    void orderAt(int32_t desk, int presses) {
        click(window->FindDeskGroupBox(desk));
        TForm_diancan& diancan = *screens->Form_diancan;
        nextDialog = [&diancan, presses](QDialog& screen) {
            for (int i = 0; i < presses; ++i)
                click(diancan.DishControlManager()->IncreaseButton(1));
            click(diancan.findChild<QPushButton*>(QStringLiteral("FConfirmButton")));
            screen.reject();
        };
        click(screens->Form_desk_open->btnOrder);
    }
    void pickIn(QPushButton* command, int32_t target) {
        TForm_desk_open& desk = *screens->Form_desk_open;
        click(command);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(desk.Form_desk_picker));
        click(desk.Form_desk_picker->DeskButton(target));
    }
};

} // namespace

TEST_F(MoveRoadTest, AutomaticKitchenTicketTransferAndMerge) {
    startProgram();
    kd_printname = QStringLiteral("前台");
    cd_printname = QStringLiteral("厨房");
    const QString dish = scalar(QStringLiteral("SELECT title FROM zel_caipin WHERE id=1"));
    const double price =
        scalar(QStringLiteral("SELECT price FROM zel_caipin WHERE id=1")).toDouble();
    TForm_desk_open& desk = *screens->Form_desk_open;

    // The option ticked on the settings screen.
    click(screens->Form_setting->CheckBox(QStringLiteral("box_autochuda")));

    // Two of dish 1 at table 1: the kitchen ticket comes with the confirmation.
    orderAt(1, 2);
    EXPECT_EQ(printers.JobsEnded, 1);
    EXPECT_EQ(printers.Selected, QStringLiteral("厨房"));
    EXPECT_TRUE(printers.DrawnTexts().contains(dish));
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(deskid||':'||iscal) FROM "
                                    "zel_orders_detail")),
              QStringLiteral("1:1"));

    const auto code = [](int32_t id) {
        return scalar(QStringLiteral("SELECT bh FROM zel_desk WHERE id=%1").arg(id));
    };

    // 换桌 to table 2: the floor shows table 1 free and table 2 with the party,
    // and the kitchen, cooking for table 1, is told where the dishes go.
    pickIn(desk.btn_hz, 2);
    EXPECT_EQ(desk.DeskID, 2);
    EXPECT_EQ(printers.JobsEnded, 2);
    EXPECT_TRUE(
        printers.DrawnTexts().contains(QStringLiteral("换桌：%1 → %2").arg(code(1), code(2))));
    EXPECT_EQ(desk.ListView1->topLevelItemCount(), 1);
    EXPECT_TRUE(tileTexts(1).contains(QStringLiteral("空闲")))
        << tileTexts(1).join(' ').toStdString();
    EXPECT_TRUE(tileTexts(2).contains(QStringLiteral("占用")))
        << tileTexts(2).join(' ').toStdString();
    EXPECT_TRUE(tileTexts(2).contains(QStringLiteral("￥%1").arg(2 * price, 0, 'f', 2)))
        << tileTexts(2).join(' ').toStdString();

    // A party of its own at table 3, then 并台 into table 2.
    orderAt(3, 1);
    EXPECT_EQ(printers.JobsEnded, 3);
    pickIn(desk.btn_bt, 2);
    EXPECT_EQ(desk.DeskID, 2);
    EXPECT_EQ(printers.JobsEnded, 4);
    EXPECT_TRUE(
        printers.DrawnTexts().contains(QStringLiteral("并台：%1 → %2").arg(code(3), code(2))));
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(deskid||':'||quantity||':'||iscal) FROM "
                                    "zel_orders_detail")),
              QStringLiteral("2:2.0:1,2:1.0:1"));
    EXPECT_TRUE(tileTexts(3).contains(QStringLiteral("空闲")))
        << tileTexts(3).join(' ').toStdString();
    EXPECT_TRUE(tileTexts(2).contains(QStringLiteral("￥%1").arg(3 * price, 0, 'f', 2)))
        << tileTexts(2).join(' ').toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT stat||'/'||price FROM zel_desk WHERE id IN (1,3)")),
              QStringLiteral("0/0.0"));

    // Everything is in the kitchen already: 厨打小票 only offers a reprint.
    messages.Answers = {false};
    click(desk.btn_chuda);
    EXPECT_EQ(printers.JobsEnded, 4);
    EXPECT_EQ(messages.Calls.last().text, QStringLiteral("没有新加的菜品，是否重新打印全部菜品？"));
    for (const auto& call : messages.Calls)
        EXPECT_FALSE(call.text.contains(QStringLiteral("失败"))) << call.text.toStdString();
}

// The picker holds the whole program while it is open: a tile click on the
// floor meanwhile must not switch the table window, and the pick moves the
// party the picker was opened for.
TEST_F(MoveRoadTest, PickerBlocksTheFloorAndMovesItsOwnParty) {
    startProgram();
    TForm_desk_open& desk = *screens->Form_desk_open;
    orderAt(3, 1);
    orderAt(1, 2);
    ASSERT_EQ(desk.DeskID, 1);

    click(desk.btn_hz);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(desk.Form_desk_picker));
    EXPECT_TRUE(desk.Form_desk_picker->isModal());
    EXPECT_EQ(desk.Form_desk_picker->windowModality(), Qt::ApplicationModal);
    // Through the window system, where modality holds, and straight at the
    // tile, which only the table window itself can refuse.
    QWidget* tile = window->FindDeskGroupBox(3);
    ASSERT_TRUE(tile);
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      tile->mapTo(window.get(), tile->rect().center()));
    EXPECT_EQ(desk.DeskID, 1);
    click(tile);
    EXPECT_EQ(desk.DeskID, 1);
    EXPECT_TRUE(desk.Form_desk_picker->isVisible());

    click(desk.Form_desk_picker->DeskButton(2));
    EXPECT_EQ(desk.DeskID, 2);
    EXPECT_EQ(scalar(QStringLiteral("SELECT group_concat(deskid||':'||quantity) FROM "
                                    "zel_orders_detail ORDER BY id")),
              QStringLiteral("3:1.0,2:2.0"));
    EXPECT_TRUE(tileTexts(1).contains(QStringLiteral("空闲")))
        << tileTexts(1).join(' ').toStdString();
    EXPECT_TRUE(tileTexts(3).contains(QStringLiteral("占用")))
        << tileTexts(3).join(' ').toStdString();
}
