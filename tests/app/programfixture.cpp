#include "programfixture.h"

#include "app/formcreate.h"
#include "app/startup/workfolder.h"
#include "billing/printing/ticketsettings.h"
#include "billing/table/form_desk_open.h"
#include "common/appvalues.h"
#include "floor/view/desktile.h"
#include "ordering/form_diancan.h"
#include "ordering/modalrunner.h"
#include "ordering/tiles/dishcontrolmanager.h"
#include "store/sqlitedb.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

void ProgramWindowsTest::SetUp() {
    TempFolderTest::SetUp();
    SetMessenger(&messages);
    StartupSeams().ApplicationFolder = [this] {
        return folder();
    };
    QFile program(folder() + QStringLiteral("zeltora"));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    TicketSettings().Reset();
    printers.PrinterNames = {QStringLiteral("前台"), QStringLiteral("厨房")};
    SetPageDevice(&printers);
    SetModalRunner([this](QDialog& dialog) {
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        auto script = std::exchange(nextDialog, nullptr);
        EXPECT_TRUE(script) << "unexpected dialog " << dialog.windowTitle().toStdString();
        if (script)
            script(dialog);
        return dialog.result();
    });
}

void ProgramWindowsTest::TearDown() {
    screens.reset();
    window.reset();
    SetModalRunner({});
    SetPageDevice(nullptr);
    SetMessenger(nullptr);
    ResetStartupSeams();
}

void ProgramWindowsTest::startProgram() {
    window = std::make_unique<Tform_main>();
    FormCreate(*window);
    screens = CreateScreens(*window);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void ProgramWindowsTest::click(QWidget* w) {
    ASSERT_TRUE(w);
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString ProgramWindowsTest::scalar(const QString& sql) {
    TSQLiteDatabase db(sqlitename);
    auto t = db.GetTable(sql);
    return t->RowCount() ? t->FieldAsString(0) : QStringLiteral("<none>");
}

void ProgramWindowsTest::expectNoOpenLineOnADeletedTable() {
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) || ':' || IFNULL(GROUP_CONCAT(d.deskid), '') "
                                    "FROM zel_orders_detail AS d JOIN zel_desk AS k ON "
                                    "k.id=d.deskid WHERE d.issettle=0 AND d.stat<8 AND "
                                    "k.deleted=1")),
              QStringLiteral("0:"))
        << "open lines on deleted tables (count:tables)";
}

void ProgramWindowsTest::orderAndSettle(int32_t desk, int times) {
    TForm_desk_open& table = *screens->Form_desk_open;
    TForm_diancan& diancan = *screens->Form_diancan;
    click(window->FindDeskGroupBox(desk));
    ASSERT_TRUE(table.isVisible());
    click(table.CnButton1);
    nextDialog = [&](QDialog& screen) {
        for (int i = 0; i < times; ++i)
            click(diancan.DishControlManager()->IncreaseButton(1));
        click(diancan.findChild<QPushButton*>(QStringLiteral("FConfirmButton")));
        screen.accept();
    };
    click(table.btnOrder);
    ASSERT_EQ(table.ListView1->topLevelItemCount(), 1);
    click(table.btnSettle);
}
