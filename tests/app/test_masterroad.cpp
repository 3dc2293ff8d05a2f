// Master data through the real windows of the program: a dish category and a
// dish with two specifications entered from "菜品管理" appear on the ordering
// screen; an area and a table entered from "桌位管理" appear on the floor.

#include "app/masterscreens.h"
#include "app/screens.h"
#include "billing/table/form_desk_open.h"
#include "common/appvalues.h"
#include "floor/editors/form_caipin_edit.h"
#include "floor/editors/form_class_edit.h"
#include "floor/editors/form_desk_edit.h"
#include "floor/editors/skucontrolgroup.h"
#include "floor/lists/masterlists.h"
#include "floor/lists/pagedlist.h"
#include "floor/view/desktile.h"
#include "floor/view/form_main.h"
#include "ordering/form_diancan.h"
#include "ordering/panels.h"
#include "ordering/tiles/dishcontrolmanager.h"
#include "store/sqlitedb.h"

#include "programfixture.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

class MasterRoadTest : public ProgramWindowsTest {
protected:
    template <typename W> W& shown(W* w) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w)) << w->objectName().toStdString();
        return *w;
    }

    static void choose(QComboBox* box, const QString& text) {
        const int index = box->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        box->setCurrentIndex(index);
    }

    static QStringList texts(const QList<QLabel*>& labels) {
        QStringList out;
        for (const QLabel* label : labels)
            out << label->text();
        return out;
    }
};

TEST_F(MasterRoadTest, NewDishReachesTheOrderingScreenAndNewTableTheFloor) {
    startProgram();
    TMasterDataScreens& md = *screens->MasterData;

    // 菜品管理 -> 菜品分类 -> 添加分类.
    window->MenuAction(QStringLiteral("N9"))->trigger();
    TForm_caipin& dishes = shown(md.Form_caipin.get());
    EXPECT_EQ(dishes.lblPageInfo->text(), QStringLiteral("共20条记录，1/1页"));
    click(dishes.btnRefresh1);
    TForm_caipin_class& categories = shown(md.Form_caipin_class.get());
    const int categoryRows = categories.ListView1->model()->rowCount();
    click(categories.btnAdd);
    TForm_caipin_class_edit& categoryEditor = shown(md.Form_caipin_class_edit.get());
    categoryEditor.lab_title->setText(QStringLiteral("海鲜"));
    click(categoryEditor.btnAdd);
    EXPECT_EQ(categories.ListView1->model()->rowCount(), categoryRows + 1);

    // 添加菜品 with two specifications in the new category.
    click(dishes.btnAdd);
    TForm_caipin_edit& dishEditor = shown(md.Form_caipin_edit.get());
    dishEditor.lab_title->setText(QStringLiteral("清蒸石斑"));
    dishEditor.lab_price->setText(QStringLiteral("88"));
    choose(dishEditor.com_cid, QStringLiteral("海鲜"));
    click(dishEditor.btnAddSku);
    click(dishEditor.btnAddSku);
    ASSERT_EQ(dishEditor.SkuControls().size(), 2u);
    dishEditor.SkuControls()[0]->NameEdit->setText(QStringLiteral("一斤"));
    dishEditor.SkuControls()[0]->PriceEdit->setText(QStringLiteral("88"));
    dishEditor.SkuControls()[1]->NameEdit->setText(QStringLiteral("两斤"));
    dishEditor.SkuControls()[1]->PriceEdit->setText(QStringLiteral("168.5"));
    click(dishEditor.btnAdd);
    const int32_t dishId = dishEditor.editid;
    ASSERT_GT(dishId, 0);
    EXPECT_EQ(
        scalar(QStringLiteral("SELECT COUNT(*) FROM zel_caipin_sku WHERE rootid=%1").arg(dishId)),
        QStringLiteral("2"));
    // The dish list reloaded: 21 dishes, the new one (highest sort) on the last page.
    EXPECT_EQ(dishes.lblPageInfo->text(), QStringLiteral("共21条记录，1/2页"));
    click(dishes.btnLastPage);
    const QAbstractItemModel* rows = dishes.ListView1->model();
    ASSERT_EQ(rows->rowCount(), 1);
    EXPECT_EQ(rows->index(0, 1).data().toString(), QStringLiteral("清蒸石斑"));
    EXPECT_EQ(rows->index(0, 3).data().toString(), QStringLiteral("海鲜"));
    EXPECT_EQ(rows->index(0, 5).data().toString(), QStringLiteral("多规格"));

    // The ordering screen of a table offers the category and the dish's specifications.
    TForm_diancan& diancan = *screens->Form_diancan;
    click(window->FindDeskGroupBox(1));
    TForm_desk_open& desk = shown(screens->Form_desk_open.get());
    bool ran = false;
    nextDialog = [&](QDialog& screen) {
        ran = true;
        QStringList bar;
        for (const TLabelButton* label : diancan.CategoryLabels())
            bar << label->text();
        EXPECT_TRUE(bar.contains(QStringLiteral("海鲜"))) << bar.join(',').toStdString();
        EXPECT_TRUE(diancan.DishControlManager()->SelectSpecButton(dishId));
        screen.reject();
    };
    click(desk.btnOrder);
    EXPECT_TRUE(ran);
    desk.close();

    // 桌位管理 -> 桌位分类 -> 添加分类: the floor's strip shows the area at once.
    window->MenuAction(QStringLiteral("N8"))->trigger();
    TForm_desk& desks = shown(md.Form_desk.get());
    click(desks.btnRefresh1);
    TForm_desk_class& areas = shown(md.Form_desk_class.get());
    click(areas.btnAdd);
    TForm_desk_class_edit& areaEditor = shown(md.Form_desk_class_edit.get());
    EXPECT_EQ(areaEditor.windowTitle(), QStringLiteral("添加桌位分类"));
    areaEditor.lab_title->setText(QStringLiteral("露台"));
    click(areaEditor.btnAdd);
    EXPECT_TRUE(
        texts(window->CategoryPanel()->findChildren<QLabel*>()).contains(QStringLiteral("露台")));

    // 添加桌位 in the new area: a free tile on the floor, also under its area.
    click(desks.btnAdd);
    TForm_desk_edit& deskEditor = shown(md.Form_desk_edit.get());
    deskEditor.lab_title->setText(QStringLiteral("露台一号"));
    deskEditor.lab_bh->setText(QStringLiteral("T1"));
    choose(deskEditor.com_cid, QStringLiteral("露台"));
    click(deskEditor.btnAdd);
    const int32_t deskId = deskEditor.editid;
    ASSERT_GT(deskId, 0);
    TDeskTile* tile = window->FindDeskGroupBox(deskId);
    ASSERT_TRUE(tile);
    QStringList tileTexts = texts(tile->findChildren<QLabel*>());
    tileTexts.sort();
    EXPECT_EQ(tileTexts,
              (QStringList{QStringLiteral("0人"), QStringLiteral("T1"), QStringLiteral("空闲"),
                           QStringLiteral("露台一号"), QStringLiteral("￥0.00")}));
    EXPECT_EQ(desks.lblPageInfo->text(), QStringLiteral("共21条记录，1/2页"));
    for (QLabel* label : window->CategoryPanel()->findChildren<QLabel*>())
        if (label->text() == QStringLiteral("露台"))
            click(label);
    EXPECT_TRUE(window->FindDeskGroupBox(deskId));
    EXPECT_FALSE(window->FindDeskGroupBox(1));

    // Renaming the area keeps the floor on it, under the new name.
    click(areas.btnRefresh);
    ASSERT_EQ(areas.ListView1->model()->rowCount(), 1);
    areaEditor.OpenFor(areas.List()->Rows().first().id.toInt(), window.get());
    areaEditor.lab_title->setText(QStringLiteral("天台"));
    click(areaEditor.btnAdd);
    EXPECT_TRUE(
        texts(window->CategoryPanel()->findChildren<QLabel*>()).contains(QStringLiteral("天台")));
    EXPECT_TRUE(window->FindDeskGroupBox(deskId));
    EXPECT_FALSE(window->FindDeskGroupBox(1));
    expectNoOpenLineOnADeletedTable();
}

} // namespace
