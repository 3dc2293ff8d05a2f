// The table window's move commands and the table picker on a small screen.

#include "app/screens.h"
#include "billing/table/deskpicker.h"
#include "billing/table/form_desk_open.h"
#include "common/appvalues.h"
#include "floor/view/desktile.h"
#include "floor/view/form_main.h"
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

// A house with many areas and long names: the picker still fits, and a name
// too long for its button is cut with "…" and shown whole as its tip.
TEST_F(MoveFitTest, PickerWithManyAreasAndLongNamesFits) {
    startProgram();
    const QString longName = QStringLiteral("靠窗的大圆桌").repeated(10);
    {
        TSQLiteDatabase db(sqlitename);
        for (int i = 1; i <= 16; ++i)
            db.ExecSQL(QStringLiteral("INSERT INTO zel_desk_class (title, sort) VALUES "
                                      "('第%1区域名称很长', %1)")
                           .arg(i));
        db.ExecSQL(QStringLiteral("UPDATE zel_desk SET title='%1' WHERE id=2").arg(longName));
        db.ExecSQL(QStringLiteral("INSERT INTO zel_orders_detail (title, deskid, price, stat) "
                                  "VALUES ('米饭', 1, 2, 0)"));
    }
    click(window->FindDeskGroupBox(1));
    TForm_desk_open& desk = *screens->Form_desk_open;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&desk));
    click(desk.btn_hz);
    TForm_desk_picker* picker = desk.Form_desk_picker;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(picker));
    EXPECT_TRUE(onScreen(picker));
    EXPECT_TRUE(inSight(picker->findChild<QPushButton*>(QStringLiteral("btnCancel"))));
    QPushButton* button = picker->DeskButton(2);
    ASSERT_TRUE(button);
    EXPECT_TRUE(inSight(button));
    const QStringList lines = button->text().split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("…"))) << lines[1].toStdString();
    EXPECT_LE(button->fontMetrics().horizontalAdvance(lines[1]), button->width());
    EXPECT_EQ(button->toolTip(), longName);
    picker->reject();
}
