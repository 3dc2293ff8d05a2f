// The master-data windows driven as the operator drives them: page buttons,
// clicks in the action cells, the specification rows of the dish editor, and
// the editors' saves.

#include "common/ui/laymsg.h"
#include "floor/editors/form_caipin_edit.h"
#include "floor/editors/form_class_edit.h"
#include "floor/editors/form_desk_edit.h"
#include "floor/editors/skucontrolgroup.h"
#include "floor/lists/masterlists.h"
#include "floor/lists/pagedlist.h"

#include "masterdatafixture.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

namespace {

class MasterWindowsTest : public MasterDataTest {
protected:
    static void click(QWidget* w) {
        ASSERT_TRUE(w);
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A click on row, in the middle of column, as the operator makes it.
    static void clickCell(QTableView* view, int row, int column) {
        const QRect cell = view->visualRect(view->model()->index(row, column));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    }

    static QString notification() { return mypan() ? mypan()->text() : QString(); }

    int addDesk(const QString& title, int sort) {
        exec(QStringLiteral("INSERT INTO zel_desk (title, bh, sort) VALUES ('%1', 'B', %2)")
                 .arg(title)
                 .arg(sort));
        return scalar(QStringLiteral("SELECT MAX(id) FROM zel_desk")).toInt();
    }
};

TEST_F(MasterWindowsTest, PageButtonsFollowThePage) {
    for (int i = 1; i <= 41; ++i)
        addDish(QStringLiteral("菜%1").arg(i), 10, i);
    TForm_caipin list;
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    EXPECT_EQ(list.lblPageInfo->text(), QStringLiteral("共41条记录，1/3页"));
    EXPECT_EQ(list.ListView1->model()->rowCount(), 20);
    EXPECT_FALSE(list.btnFirstPage->isEnabled());
    EXPECT_FALSE(list.btnPrevPage->isEnabled());
    EXPECT_TRUE(list.btnNextPage->isEnabled());
    EXPECT_TRUE(list.btnLastPage->isEnabled());

    click(list.btnLastPage);
    EXPECT_EQ(list.lblPageInfo->text(), QStringLiteral("共41条记录，3/3页"));
    EXPECT_EQ(list.ListView1->model()->rowCount(), 1);
    EXPECT_EQ(list.ListView1->model()->index(0, 1).data().toString(), QStringLiteral("菜41"));
    EXPECT_TRUE(list.btnFirstPage->isEnabled());
    EXPECT_TRUE(list.btnPrevPage->isEnabled());
    EXPECT_FALSE(list.btnNextPage->isEnabled());
    EXPECT_FALSE(list.btnLastPage->isEnabled());

    // A search, then the window shown again: unfiltered, first page, keyword kept.
    list.edtKeyword->setText(QStringLiteral("菜4"));
    click(list.btnSearch);
    EXPECT_EQ(list.lblPageInfo->text(), QStringLiteral("共3条记录，1/1页"));
    list.close();
    list.show();
    EXPECT_EQ(list.lblPageInfo->text(), QStringLiteral("共41条记录，1/3页"));
    EXPECT_EQ(list.edtKeyword->text(), QStringLiteral("菜4"));
    // The title column fills the list.
    int widths = 0;
    for (int i = 0; i < list.ListView1->model()->columnCount(); ++i)
        widths += list.ListView1->columnWidth(i);
    EXPECT_EQ(widths, list.ListView1->width() - 4);
}

TEST_F(MasterWindowsTest, ClicksInTheTableListEditOrDeleteTheClickedRow) {
    addDesk(QStringLiteral("一号"), 1);
    const int second = addDesk(QStringLiteral("二号"), 2);
    TForm_desk list;
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QSignalSpy edits(&list, &TForm_desk::EditRequested);
    QSignalSpy changes(&list, &TForm_desk::Changed);

    clickCell(list.ListView1, 1, 4); // 排序号
    EXPECT_EQ(edits.count(), 0);
    EXPECT_TRUE(messages.Calls.isEmpty());

    clickCell(list.ListView1, 1, 5); // 编辑
    ASSERT_EQ(edits.count(), 1);
    EXPECT_EQ(edits.first().first().toInt(), second);

    messages.Answers = {false};
    clickCell(list.ListView1, 1, 6); // 删除, cancelled
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("确认要删除吗？")});
    EXPECT_EQ(notification(), QStringLiteral("您取消了操作"));
    EXPECT_EQ(list.ListView1->model()->rowCount(), 2);

    // Right of the last column, on the selected row.
    list.ListView1->setColumnWidth(1, 70);
    const QRect last = list.ListView1->visualRect(list.ListView1->model()->index(1, 6));
    ASSERT_LT(last.right() + 20, list.ListView1->viewport()->width());
    QTest::mouseClick(list.ListView1->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(last.right() + 10, last.center().y()));
    EXPECT_EQ(messages.Calls.size(), 2);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(list.ListView1->model()->rowCount(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT deleted FROM zel_desk WHERE id=%1").arg(second)),
              QStringLiteral("1"));
}

// A click below the last row, in the 删除 column, after a row was selected:
// no row is under the pointer, so nothing is asked and nothing removed.
TEST_F(MasterWindowsTest, AClickBelowTheRowsActsOnNoRow) {
    addDesk(QStringLiteral("一号"), 1);
    const int category = addCategory(QStringLiteral("热菜"), 1);
    TForm_desk desks;
    TForm_caipin_class categories;
    for (TPagedListWindow* list : std::initializer_list<TPagedListWindow*>{&desks, &categories}) {
        SCOPED_TRACE(list->objectName().toStdString());
        list->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list));
        QSignalSpy edits(list, &TPagedListWindow::EditRequested);
        clickCell(list->ListView1, 0, 1); // selects the row
        ASSERT_EQ(list->ListView1->selectionModel()->selectedRows().size(), 1);
        const int columns = list->ListView1->model()->columnCount();
        for (int column : {columns - 2, columns - 1}) { // 编辑, 删除
            const QRect cell =
                list->ListView1->visualRect(list->ListView1->model()->index(0, column));
            const QPoint below(cell.center().x(), cell.bottom() + 3 * cell.height());
            ASSERT_LT(below.y(), list->ListView1->viewport()->height());
            QTest::mouseClick(list->ListView1->viewport(), Qt::LeftButton, Qt::NoModifier, below);
        }
        EXPECT_EQ(edits.count(), 0);
        EXPECT_TRUE(messages.Calls.isEmpty()) << messages.Texts().join('|').toStdString();
        EXPECT_EQ(list->ListView1->model()->rowCount(), 1);
        list->close();
    }
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM zel_desk WHERE deleted=0")),
              QStringLiteral("1"));
    EXPECT_EQ(
        scalar(QStringLiteral("SELECT COUNT(*) FROM zel_caipin_class WHERE id=%1").arg(category)),
        QStringLiteral("1"));
}

// Press, release, double click, release as Qt delivers a double click: the
// delete cell asks once, for the click, not again for the double click.
TEST_F(MasterWindowsTest, ADoubleClickOnTheDeleteCellAsksOnce) {
    addDesk(QStringLiteral("一号"), 1);
    addDesk(QStringLiteral("二号"), 2);
    TForm_desk list;
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    messages.Answers = {true, true};
    const QPoint cell = list.ListView1->visualRect(list.ListView1->model()->index(0, 6)).center();
    QWidget* viewport = list.ListView1->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, cell);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, cell);
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, cell);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, cell);
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("确认要删除吗？")});
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM zel_desk WHERE deleted=0")),
              QStringLiteral("1"));
}

// The delete cell of an occupied table tells why it stays and asks nothing;
// that of a category with dishes names them before it removes it.
TEST_F(MasterWindowsTest, DeletingATableWithABillOrACategoryWithDishes) {
    const int desk = addDesk(QStringLiteral("桌位01"), 1);
    exec(QStringLiteral("UPDATE zel_desk SET bh='A01', stat='1' WHERE id=%1").arg(desk));
    TForm_desk desks;
    desks.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&desks));
    QSignalSpy changes(&desks, &TPagedListWindow::Changed);
    clickCell(desks.ListView1, 0, 6);
    ASSERT_EQ(messages.Calls.size(), 1);
    EXPECT_EQ(messages.Calls[0].kind, TMessageKind::Info);
    EXPECT_EQ(messages.Calls[0].text,
              QStringLiteral("桌位 \"桌位01\"（A01）还有未结账的订单，请先结算或清台后再删除"));
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(desks.ListView1->model()->rowCount(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT deleted FROM zel_desk")), QStringLiteral("0"));

    messages.Calls.clear();
    const int cid = addCategory(QStringLiteral("热菜"), 1);
    addDish(QStringLiteral("鱼"), 10, 1, cid);
    addDish(QStringLiteral("虾"), 10, 2, cid);
    TForm_caipin_class categories;
    categories.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&categories));
    messages.Answers = {true};
    clickCell(categories.ListView1, 0, 4);
    EXPECT_EQ(messages.Texts(),
              QStringList{QStringLiteral(
                  "该分类下还有2个菜品，删除后这些菜品将变为未分类，确认要删除吗？")});
    EXPECT_EQ(categories.ListView1->model()->rowCount(), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT GROUP_CONCAT(cid) FROM zel_caipin")),
              QStringLiteral("0,0"));
}

TEST_F(MasterWindowsTest, SpecificationRowsLiveAndDie) {
    TForm_caipin_edit editor;
    QSignalSpy saves(&editor, &TForm_caipin_edit::Saved);
    editor.OpenFor(0, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("添加菜品"));
    EXPECT_EQ(editor.lab_sort->text(), QStringLiteral("1"));
    editor.lab_title->setText(QStringLiteral("面"));
    editor.lab_price->setText(QStringLiteral("8"));
    click(editor.btnAddSku);
    click(editor.btnAddSku);
    click(editor.btnAddSku);
    ASSERT_EQ(editor.SkuControls().size(), 3u);
    EXPECT_EQ(editor.NextSkuTop(), 130);

    // A row never stored goes after the question, without a write or a notification.
    const QString before = notification();
    editor.SkuControls()[2]->NameEdit->setText(QStringLiteral(" 特大 "));
    messages.Answers = {true};
    click(editor.SkuControls()[2]->DeleteButton);
    EXPECT_EQ(messages.Texts().last(), QStringLiteral("确定要删除做法 \"特大\" 吗？"));
    EXPECT_EQ(editor.SkuControls().size(), 2u);
    EXPECT_EQ(notification(), before);

    // Validation names the row and moves the focus to its box.
    editor.SkuControls()[0]->NameEdit->setText(QStringLiteral("小"));
    editor.SkuControls()[1]->NameEdit->setText(QStringLiteral("大"));
    editor.SkuControls()[1]->PriceEdit->clear();
    click(editor.btnAdd);
    EXPECT_EQ(notification(), QStringLiteral("请输入做法价格！"));
    EXPECT_TRUE(editor.SkuControls()[1]->PriceEdit->hasFocus());
    EXPECT_EQ(saves.count(), 0);
    editor.SkuControls()[1]->PriceEdit->setText(QStringLiteral("9"));
    click(editor.btnAdd);
    EXPECT_EQ(notification(), QStringLiteral("保存成功"));
    EXPECT_EQ(saves.count(), 1);
    EXPECT_GT(editor.editid, 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) || '|' || SUM(issku) FROM zel_caipin")),
              QStringLiteral("1|1"));

    // Stored rows are marked deleted at once; issku follows only the next save.
    const int32_t stored = editor.SkuControls()[0]->SkuId;
    EXPECT_GT(stored, 0);
    messages.Answers = {false};
    click(editor.SkuControls()[0]->DeleteButton);
    EXPECT_EQ(editor.SkuControls().size(), 2u);
    messages.Answers = {true, true};
    click(editor.SkuControls()[0]->DeleteButton);
    EXPECT_EQ(notification(), QStringLiteral("删除做法成功"));
    click(editor.SkuControls()[0]->DeleteButton);
    EXPECT_TRUE(editor.SkuControls().empty());
    EXPECT_EQ(editor.NextSkuTop(), 10);
    EXPECT_EQ(scalar(QStringLiteral("SELECT SUM(deleted) FROM zel_caipin_sku")),
              QStringLiteral("2"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT issku FROM zel_caipin")), QStringLiteral("1"));
    click(editor.btnAdd);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) || '|' || SUM(issku) FROM zel_caipin")),
              QStringLiteral("1|0"));
}

TEST_F(MasterWindowsTest, EditorsPrepareFromEditidEveryTimeTheyOpen) {
    const int cid = addCategory(QStringLiteral("热菜"));
    const int a = addDish(QStringLiteral("鱼"), 12.5, 4, cid);
    const int b = addDish(QStringLiteral("虾"), 12, 5, 99);
    exec(QStringLiteral("INSERT INTO zel_caipin_sku (title, price, rootid) VALUES ('小', 6, %1)")
             .arg(a));
    TForm_caipin_edit editor;
    editor.OpenFor(a, nullptr);
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("编辑菜品"));
    EXPECT_EQ(editor.lab_price->text(), QStringLiteral("12.5"));
    EXPECT_EQ(editor.com_cid->currentText(), QStringLiteral("热菜"));
    EXPECT_EQ(editor.SkuControls().size(), 1u);
    // Another dish replaces the values and rows; a category that is gone is none.
    editor.OpenFor(b, nullptr);
    EXPECT_EQ(editor.lab_title->text(), QStringLiteral("虾"));
    EXPECT_EQ(editor.lab_price->text(), QStringLiteral("12"));
    EXPECT_EQ(editor.com_cid->currentIndex(), -1);
    EXPECT_TRUE(editor.SkuControls().empty());
    click(editor.btnAdd);
    EXPECT_EQ(scalar(QStringLiteral("SELECT cid FROM zel_caipin WHERE id=%1").arg(b)),
              QStringLiteral("0"));
    // A typed text that is no item is no category.
    editor.com_cid->setEditText(QStringLiteral("热"));
    click(editor.btnAdd);
    EXPECT_EQ(scalar(QStringLiteral("SELECT cid FROM zel_caipin WHERE id=%1").arg(b)),
              QStringLiteral("0"));
    editor.OpenFor(0, nullptr);
    EXPECT_EQ(editor.lab_title->text(), QString());
    EXPECT_EQ(editor.lab_sort->text(), QStringLiteral("6"));
}

TEST_F(MasterWindowsTest, ASecondSaveOfANewTableOrCategoryUpdatesIt) {
    TForm_desk_edit desk;
    desk.OpenFor(0, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&desk));
    desk.lab_title->setText(QStringLiteral("一号"));
    desk.lab_sort->setText(QStringLiteral("2a"));
    click(desk.btnAdd);
    EXPECT_EQ(notification(), QStringLiteral("排序值必须是整数！"));
    EXPECT_TRUE(desk.lab_sort->hasFocus());
    desk.lab_sort->clear();
    click(desk.btnAdd);
    EXPECT_EQ(notification(), QStringLiteral("添加成功"));
    desk.lab_bh->setText(QStringLiteral("A9"));
    click(desk.btnAdd);
    EXPECT_EQ(notification(), QStringLiteral("保存成功"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) || '|' || bh || '|' || sort FROM zel_desk")),
              QStringLiteral("1|A9|0"));

    TForm_caipin_class_edit category;
    category.OpenFor(0, nullptr);
    EXPECT_EQ(category.windowTitle(), QStringLiteral("添加菜品分类"));
    category.lab_title->setText(QStringLiteral("凉菜"));
    click(category.btnAdd);
    click(category.btnAdd);
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) || '|' || sort FROM zel_caipin_class")),
              QStringLiteral("1|1"));
}

TEST_F(MasterWindowsTest, AFailedSaveShowsItsErrorAndNoSuccess) {
    TForm_desk_edit desk;
    QSignalSpy saves(&desk, &TForm_desk_edit::Saved);
    desk.OpenFor(0, nullptr);
    desk.lab_title->setText(QStringLiteral("一号"));
    exec(QStringLiteral("DROP TABLE zel_desk"));
    click(desk.btnAdd);
    EXPECT_TRUE(notification().startsWith(QStringLiteral("添加失败: ")))
        << notification().toStdString();
    EXPECT_EQ(saves.count(), 0);
    EXPECT_EQ(desk.editid, 0);
}

} // namespace
