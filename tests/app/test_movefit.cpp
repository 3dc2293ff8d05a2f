// The table window's move commands and the table picker on a small screen.

#include "app/screens.h"
#include "billing/deskpicker.h"
#include "billing/form_desk_open.h"
#include "common/appvalues.h"
#include "floor/desktile.h"
#include "floor/form_main.h"
#include "store/sqlitedb.h"

#include "fitchecks.h"
#include "programfixture.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

class MoveFitTest : public ProgramWindowsTest {};

} // namespace

TEST_F(MoveFitTest, MoveCommandsAndPickerAreInSight) {
    startProgram();
    {
        TSQLiteDatabase db(sqlitename);
        db.ExecSQL(QStringLiteral("INSERT INTO zel_orders_detail (title, deskid, price, stat) "
                                  "VALUES ('米饭', 1, 2, 0)"));
    }
    click(window->FindDeskGroupBox(1));
    TForm_desk_open& desk = *screens->Form_desk_open;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&desk));
    EXPECT_TRUE(onScreen(&desk));
    for (QWidget* command :
         QList<QWidget*>{desk.btn_hz, desk.btn_bt, desk.btnSettle, desk.btnOrder, desk.btn_chuda})
        EXPECT_TRUE(inSight(command));

    click(desk.btn_hz);
    TForm_desk_picker* picker = desk.Form_desk_picker;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(picker));
    EXPECT_TRUE(onScreen(picker));
    EXPECT_TRUE(inSight(picker->findChild<QPushButton*>(QStringLiteral("btnCancel"))));
    EXPECT_TRUE(inSight(picker->AreaButton(0)));
    ASSERT_FALSE(picker->ShownDesks().isEmpty());
    EXPECT_TRUE(inSight(picker->DeskButton(picker->ShownDesks().first())));
    picker->reject();
}
