// The real windows on a small screen: every window fits the available area,
// the commands an operator needs are in sight, Escape closes every window but
// the main one, and stored texts are shown as typed. CTest runs these on a
// 1366 x 768 till and on 1600 x 1000 at a scale factor of 2.

#include "app/formcreate.h"
#include "app/screens.h"
#include "billing/printing/form_setting.h"
#include "billing/table/form_desk_open.h"
#include "common/appvalues.h"
#include "floor/view/desktile.h"
#include "floor/view/form_main.h"
#include "ordering/form_diancan.h"
#include "ordering/tiles/dishcontrolmanager.h"
#include "store/sqlitedb.h"

#include "fitchecks.h"
#include "programfixture.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

namespace {

class FitTest : public ProgramWindowsTest {
protected:
    void SetUp() override {
        ProgramWindowsTest::SetUp();
        startProgram();
    }

    TForm_desk_open& openTable(int32_t id) {
        click(window->FindDeskGroupBox(id));
        TForm_desk_open& desk = *screens->Form_desk_open;
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&desk));
        return desk;
    }

    TForm_setting& openSettings() {
        window->MenuAction(QStringLiteral("N7"))->trigger();
        TForm_setting& setting = *screens->Form_setting;
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&setting));
        return setting;
    }

    void exec(const QString& sql) {
        TSQLiteDatabase db(sqlitename);
        db.ExecSQL(sql);
    }
};

TEST_F(FitTest, EveryWindowFitsAndItsCommandsAreInSight) {
    EXPECT_TRUE(onScreen(window.get()));
    QMenuBar* bar = window->menuBar();
    EXPECT_TRUE(inSight(bar));
    // Entries that do not fit the bar are reached through its extension button.
    bool allShown = true;
    for (QAction* action : bar->actions())
        allShown = allShown && bar->rect().contains(bar->actionGeometry(action));
    const auto* extension = bar->findChild<QWidget*>(QStringLiteral("qt_menubar_ext_button"));
    EXPECT_TRUE(allShown || inSight(extension));
    EXPECT_TRUE(inSight(window->TileArea()));
    EXPECT_TRUE(inSight(window->FindDeskGroupBox(1)));

    TForm_desk_open& desk = openTable(1);
    EXPECT_TRUE(onScreen(&desk));
    for (QWidget* command :
         QList<QWidget*>{desk.btnSettle, desk.btnOrder, desk.CnButton1, desk.btnAdd, desk.CnButton2,
                         desk.btn_keda, desk.btn_chuda, desk.btnSelectAll, desk.btn_ycc,
                         desk.btn_dzz, desk.btn_tc, desk.ListView1, desk.labTotalAmount})
        EXPECT_TRUE(inSight(command));

    TForm_diancan& diancan = *screens->Form_diancan;
    bool ran = false;
    nextDialog = [&](QDialog& screen) {
        ran = true;
        EXPECT_TRUE(onScreen(&screen));
        EXPECT_TRUE(inSight(diancan.FConfirmButton));
        EXPECT_TRUE(inSight(diancan.FCartScrollBox));
        EXPECT_TRUE(inSight(diancan.FTotalLabel));
        EXPECT_TRUE(inSight(diancan.ScrollBox1));
        // The dish tiles are laid out for the width the screen left.
        QWidget* grid = diancan.DishControlManager()->GridPanel();
        ASSERT_TRUE(grid);
        EXPECT_LE(grid->width(), diancan.ScrollBox1->viewport()->width());
        diancan.FPageControl->setCurrentWidget(diancan.FTabConfirmed);
        for (QWidget* command :
             QList<QWidget*>{diancan.FBatchServedButton, diancan.FBatchReturnButton,
                             diancan.FBatchDeleteButton})
            EXPECT_TRUE(inSight(command));
        screen.reject();
    };
    click(desk.btnOrder);
    EXPECT_TRUE(ran);

    TForm_setting& setting = openSettings();
    EXPECT_TRUE(onScreen(&setting));
    for (QWidget* command : QList<QWidget*>{setting.btnAdd, setting.Button1, setting.Button2})
        EXPECT_TRUE(inSight(command));
}

// The settings scroll up and down on a low screen; none of them may sit under
// the scroll bar or past the right edge.
TEST_F(FitTest, NoSettingIsHiddenUnderItsScrollBar) {
    TForm_setting& setting = openSettings();
    auto* area = setting.findChild<QScrollArea*>(QStringLiteral("FieldsArea"));
    ASSERT_TRUE(area);
    const QWidget* viewport = area->viewport();
    EXPECT_TRUE(inSight(viewport));
    int checked = 0;
    for (const QWidget* w : area->widget()->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(area->widget()))
            continue;
        ++checked;
        const int right = w->mapTo(viewport, QPoint(w->width(), 0)).x();
        EXPECT_LE(right, viewport->width())
            << w->objectName().toStdString() << " of " << w->metaObject()->className();
    }
    // The fields, their captions, the printer pickers and the backup commands.
    EXPECT_GE(checked, 40);
    EXPECT_FALSE(area->horizontalScrollBar()->isVisible());
}

TEST_F(FitTest, EscapeClosesEveryWindowButTheMainOne) {
    TForm_desk_open& desk = openTable(1);
    QTest::keyClick(desk.ListView1, Qt::Key_Escape);
    EXPECT_FALSE(desk.isVisible());

    openTable(2);
    desk.lab_nums->setFocus();
    QTest::keyClick(desk.lab_nums, Qt::Key_Escape);
    EXPECT_FALSE(desk.isVisible());

    TForm_setting& setting = openSettings();
    QTest::keyClick(setting.Edit(QStringLiteral("lab_shopname")), Qt::Key_Escape);
    EXPECT_FALSE(setting.isVisible());

    // The ordering screen and, opened from it, the specification dialog.
    exec(QStringLiteral("INSERT INTO zel_caipin (id, title, price, issku) VALUES (100, '酸菜鱼', "
                        "48, 1)"));
    exec(QStringLiteral("INSERT INTO zel_caipin_sku (id, title, price, rootid) VALUES "
                        "(7, '小份', 38, 100), (8, '大份', 58, 100)"));
    screens->Form_diancan->RefreshAllData();
    openTable(1);
    TForm_diancan& diancan = *screens->Form_diancan;
    int results[2] = {-1, -1};
    nextDialog = [&](QDialog& screen) {
        nextDialog = [&](QDialog& spec) {
            QTest::keyClick(&spec, Qt::Key_Escape);
            EXPECT_FALSE(spec.isVisible());
            results[1] = spec.result();
        };
        click(diancan.DishControlManager()->SelectSpecButton(100));
        QTest::keyClick(diancan.FConfirmButton, Qt::Key_Escape);
        EXPECT_FALSE(screen.isVisible());
        results[0] = screen.result();
    };
    click(desk.btnOrder);
    EXPECT_EQ(results[0], QDialog::Rejected);
    EXPECT_EQ(results[1], QDialog::Rejected);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(FitTest, StoredTextsAreShownAsTyped) {
    exec(QStringLiteral("UPDATE zel_desk SET title='<b>桌</b>', bh='<i>A</i>' WHERE id=1"));
    exec(QStringLiteral("UPDATE zel_caipin SET title='<u>鱼</u>' WHERE id=1"));
    window->RefreshAllDesks();
    screens->Form_diancan->RefreshAllData();
    TForm_desk_open& desk = openTable(1);
    EXPECT_EQ(desk.lab_deskinfo->text(), QStringLiteral("<i>A</i>号,<b>桌</b>"));

    TForm_diancan& diancan = *screens->Form_diancan;
    nextDialog = [&](QDialog&) {
        click(diancan.DishControlManager()->IncreaseButton(1));
        const QList<QWidget*> windows = {window.get(), &desk, &diancan};
        int shown = 0;
        for (QWidget* w : windows)
            for (const QLabel* label : w->findChildren<QLabel*>())
                if (label->text().contains(QLatin1Char('<'))) {
                    ++shown;
                    EXPECT_EQ(label->textFormat(), Qt::PlainText)
                        << label->objectName().toStdString() << ": " << label->text().toStdString();
                }
        // Tile title and code, table label, dish tile, basket line.
        EXPECT_GE(shown, 5);
        diancan.reject();
    };
    click(desk.btnOrder);
}

} // namespace
