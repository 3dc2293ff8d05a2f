// The master-data windows on a small screen: the dish, table, category and
// area lists and their editors, opened as the operator opens them, fit the
// available area with their commands in sight, Escape closes each of them,
// and names holding markup are shown as typed.

#include "app/masterscreens.h"
#include "app/screens.h"
#include "billing/orders/form_orders.h"
#include "billing/orders/form_orders_detail.h"
#include "common/appvalues.h"
#include "floor/editors/form_caipin_edit.h"
#include "floor/editors/form_class_edit.h"
#include "floor/editors/form_desk_edit.h"
#include "floor/editors/skucontrolgroup.h"
#include "floor/lists/masterlists.h"
#include "floor/lists/pagedlist.h"
#include "floor/view/form_main.h"
#include "store/sqlitedb.h"

#include "fitchecks.h"
#include "programfixture.h"

#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

namespace {

class MasterFitTest : public ProgramWindowsTest {
protected:
    void SetUp() override {
        ProgramWindowsTest::SetUp();
        startProgram();
        md = screens->MasterData.get();
    }

    template <typename W> W& shown(W* w) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w)) << w->objectName().toStdString();
        return *w;
    }

    template <typename W> W& fromMenu(const char* entry, W* w) {
        window->MenuAction(QString::fromLatin1(entry))->trigger();
        return shown(w);
    }

    void exec(const QString& sql) {
        TSQLiteDatabase db(sqlitename);
        db.ExecSQL(sql);
    }

    static int rowOf(const TPagedListWindow& list, int32_t id) {
        const QList<TListRow>& rows = list.List()->Rows();
        for (int i = 0; i < rows.size(); ++i)
            if (rows[i].id.toInt() == id)
                return i;
        return -1;
    }

    static int columnOf(const TPagedListWindow& list, TListCell cell) {
        const QList<TListColumn>& columns = list.List()->Config().columns;
        for (int i = 0; i < columns.size(); ++i)
            if (columns[i].cell == cell)
                return i;
        return -1;
    }

    // The cell is drawn whole in the list's viewport.
    static ::testing::AssertionResult cellInSight(const TPagedListWindow& list, int row,
                                                  int column) {
        const QRect cell = list.ListView1->visualRect(list.ListView1->model()->index(row, column));
        const QRect viewport = list.ListView1->viewport()->rect();
        if (viewport.contains(cell))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << list.objectName().toStdString() << " row " << row << " column " << column
               << " at " << cell.x() << "," << cell.y() << " " << cell.width() << "x"
               << cell.height() << " is not inside the viewport of " << viewport.width() << "x"
               << viewport.height();
    }

    // A click in the edit cell of record id, as the operator opens an editor.
    void clickEditCell(TPagedListWindow& list, int32_t id) {
        const int row = rowOf(list, id);
        ASSERT_GE(row, 0) << list.objectName().toStdString() << " has no record " << id;
        const int column = columnOf(list, TListCell::EditIcon);
        list.ListView1->scrollTo(list.ListView1->model()->index(row, column));
        ASSERT_TRUE(cellInSight(list, row, column));
        const QRect cell = list.ListView1->visualRect(list.ListView1->model()->index(row, column));
        QTest::mouseClick(list.ListView1->viewport(), Qt::LeftButton, Qt::NoModifier,
                          cell.center());
    }

    static void expectListFits(const TPagedListWindow& list) {
        SCOPED_TRACE(list.objectName().toStdString());
        EXPECT_TRUE(onScreen(&list));
        const QList<const QWidget*> commands = {
            list.btnAdd,      list.btnRefresh,  list.btnFirstPage, list.btnPrevPage,
            list.btnNextPage, list.btnLastPage, list.edtKeyword,   list.btnSearch,
            list.lblPageInfo, list.ListView1};
        for (const QWidget* command : commands)
            EXPECT_TRUE(inSight(command));
        if (list.btnRefresh1) {
            EXPECT_TRUE(inSight(list.btnRefresh1));
        }
        // The edit and delete cells of the top row are there without scrolling.
        ASSERT_GT(list.ListView1->model()->rowCount(), 0);
        EXPECT_TRUE(cellInSight(list, 0, columnOf(list, TListCell::EditIcon)));
        EXPECT_TRUE(cellInSight(list, 0, columnOf(list, TListCell::DeleteIcon)));
    }

    static void expectClassEditorFits(const TClassEditForm& editor) {
        SCOPED_TRACE(editor.objectName().toStdString());
        EXPECT_TRUE(onScreen(&editor));
        EXPECT_TRUE(inSight(editor.lab_title));
        EXPECT_TRUE(inSight(editor.lab_sort));
        EXPECT_TRUE(inSight(editor.btnAdd));
    }

    // Escape pressed in focus, a control of its shown window, closes that window.
    static void escapeIn(QWidget* focus) {
        QWidget* w = focus->window();
        ASSERT_TRUE(w->isVisible()) << w->objectName().toStdString();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w)) << w->objectName().toStdString();
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Escape);
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    }

    TMasterDataScreens* md = nullptr;
};

TEST_F(MasterFitTest, MasterDataWindowsFitAndTheirCommandsAreInSight) {
    // The category and area lists start empty; one row each gives them edit cells.
    exec(QStringLiteral("INSERT INTO zel_caipin_class (id, title, sort) VALUES (40, '凉菜', 1)"));
    exec(QStringLiteral("INSERT INTO zel_desk_class (id, title, sort) VALUES (40, '大厅', 1)"));
    TForm_caipin& dishes = fromMenu("N9", md->Form_caipin.get());
    expectListFits(dishes);

    // A new dish with many specification rows: the save button stays below
    // them, every row's delete button comes into sight by scrolling.
    click(dishes.btnAdd);
    TForm_caipin_edit& dishEditor = shown(md->Form_caipin_edit.get());
    EXPECT_TRUE(onScreen(&dishEditor));
    for (QWidget* w :
         QList<QWidget*>{dishEditor.lab_title, dishEditor.lab_price, dishEditor.com_cid,
                         dishEditor.lab_sort, dishEditor.btnAddSku, dishEditor.btnAdd})
        EXPECT_TRUE(inSight(w));
    click(dishEditor.btnAddSku);
    click(dishEditor.btnAddSku);
    ASSERT_EQ(dishEditor.SkuControls().size(), 2u);
    for (const auto& row : dishEditor.SkuControls())
        for (QWidget* w : QList<QWidget*>{row->NameEdit, row->PriceEdit, row->DeleteButton})
            EXPECT_TRUE(inSight(w));
    for (int i = 0; i < 14; ++i)
        click(dishEditor.btnAddSku);
    QCoreApplication::processEvents();
    EXPECT_TRUE(inSight(dishEditor.btnAdd));
    for (const auto& row : dishEditor.SkuControls()) {
        dishEditor.ScrollBox1->ensureWidgetVisible(row->DeleteButton);
        EXPECT_TRUE(inSight(row->DeleteButton)) << "row at " << row->Top();
        EXPECT_TRUE(inSight(row->NameEdit)) << "row at " << row->Top();
    }
    dishEditor.close();

    // A stored dish through its edit cell.
    clickEditCell(dishes, 1);
    ASSERT_TRUE(dishEditor.isVisible());
    EXPECT_EQ(dishEditor.editid, 1);
    EXPECT_TRUE(onScreen(&dishEditor));
    EXPECT_TRUE(inSight(dishEditor.btnAdd));
    EXPECT_TRUE(inSight(dishEditor.btnAddSku));

    click(dishes.btnRefresh1);
    TForm_caipin_class& categories = shown(md->Form_caipin_class.get());
    expectListFits(categories);
    click(categories.btnAdd);
    TForm_caipin_class_edit& categoryEditor = shown(md->Form_caipin_class_edit.get());
    expectClassEditorFits(categoryEditor);
    categoryEditor.close();
    clickEditCell(categories, 40);
    ASSERT_TRUE(categoryEditor.isVisible());
    EXPECT_EQ(categoryEditor.editid, 40);
    expectClassEditorFits(categoryEditor);

    TForm_desk& desks = fromMenu("N8", md->Form_desk.get());
    expectListFits(desks);
    click(desks.btnAdd);
    TForm_desk_edit& deskEditor = shown(md->Form_desk_edit.get());
    EXPECT_TRUE(onScreen(&deskEditor));
    for (QWidget* w : QList<QWidget*>{deskEditor.lab_title, deskEditor.lab_bh, deskEditor.com_cid,
                                      deskEditor.lab_sort, deskEditor.btnAdd})
        EXPECT_TRUE(inSight(w));
    deskEditor.close();
    clickEditCell(desks, 1);
    ASSERT_TRUE(deskEditor.isVisible());
    EXPECT_EQ(deskEditor.editid, 1);
    EXPECT_TRUE(onScreen(&deskEditor));
    EXPECT_TRUE(inSight(deskEditor.btnAdd));

    click(desks.btnRefresh1);
    TForm_desk_class& areas = shown(md->Form_desk_class.get());
    expectListFits(areas);
    click(areas.btnAdd);
    TForm_desk_class_edit& areaEditor = shown(md->Form_desk_class_edit.get());
    expectClassEditorFits(areaEditor);
    areaEditor.close();
    clickEditCell(areas, 40);
    ASSERT_TRUE(areaEditor.isVisible());
    EXPECT_EQ(areaEditor.editid, 40);
    expectClassEditorFits(areaEditor);
}

TEST_F(MasterFitTest, EscapeClosesEveryMasterDataWindow) {
    TForm_caipin& dishes = fromMenu("N9", md->Form_caipin.get());
    click(dishes.btnAdd);
    TForm_caipin_edit& dishEditor = shown(md->Form_caipin_edit.get());
    click(dishEditor.btnAddSku);
    ASSERT_EQ(dishEditor.SkuControls().size(), 1u);
    escapeIn(dishEditor.SkuControls().front()->NameEdit);
    clickEditCell(dishes, 1);
    escapeIn(shown(md->Form_caipin_edit.get()).lab_price);

    click(dishes.btnRefresh1);
    TForm_caipin_class& categories = shown(md->Form_caipin_class.get());
    click(categories.btnAdd);
    escapeIn(shown(md->Form_caipin_class_edit.get()).lab_title);
    escapeIn(categories.edtKeyword);
    escapeIn(dishes.ListView1);

    TForm_desk& desks = fromMenu("N8", md->Form_desk.get());
    click(desks.btnAdd);
    TForm_desk_edit& deskEditor = shown(md->Form_desk_edit.get());
    escapeIn(deskEditor.com_cid);
    click(desks.btnRefresh1);
    TForm_desk_class& areas = shown(md->Form_desk_class.get());
    click(areas.btnAdd);
    escapeIn(shown(md->Form_desk_class_edit.get()).lab_sort);
    escapeIn(areas.ListView1);
    escapeIn(desks.edtKeyword);
    EXPECT_TRUE(window->isVisible());
}

// The list paints the cell's text with plain drawing: the markup is ink too,
// so the drawn text is about as wide as the typed one, not as the bare name.
::testing::AssertionResult drawnAsTyped(const TPagedListWindow& list, int row, int column) {
    const QString text = list.ListView1->model()->index(row, column).data().toString();
    const QRect cell = list.ListView1->visualRect(list.ListView1->model()->index(row, column));
    const QImage image = list.ListView1->viewport()->grab(cell).toImage();
    const qreal ratio = image.devicePixelRatio();
    int left = image.width();
    int right = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    const int ink = right < left ? 0 : int((right - left + 1) / ratio);
    QFont font = list.ListView1->font();
    font.setPointSize(list.List()->Config().fontPointSize);
    const int typed = QFontMetrics(font).horizontalAdvance(text);
    if (ink * 4 >= typed * 3)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << text.toStdString() << " drawn " << ink << " pixels wide, typed it is " << typed;
}

TEST_F(MasterFitTest, NamesWithMarkupAreShownAsTyped) {
    const QString dish = QStringLiteral("<b>鱼</b>");
    const QString category = QStringLiteral("<i>凉菜</i>");
    const QString table = QStringLiteral("<b>桌</b>");
    const QString code = QStringLiteral("<i>A</i>");
    const QString area = QStringLiteral("<u>大厅</u>");
    exec(QStringLiteral("INSERT INTO zel_caipin_class (id, title, sort) VALUES (50, '%1', -1)")
             .arg(category));
    exec(QStringLiteral("INSERT INTO zel_desk_class (id, title, sort) VALUES (50, '%1', -1)")
             .arg(area));
    exec(QStringLiteral("UPDATE zel_caipin SET title='%1', cid=50 WHERE id=1").arg(dish));
    exec(QStringLiteral("UPDATE zel_desk SET title='%1', bh='%2', cid=50 WHERE id=1")
             .arg(table, code));

    struct Case {
        TPagedListWindow* list;
        int32_t id;
        QMap<int, QString> cells;
    };
    TForm_caipin& dishes = fromMenu("N9", md->Form_caipin.get());
    click(dishes.btnRefresh1);
    TForm_caipin_class& categories = shown(md->Form_caipin_class.get());
    TForm_desk& desks = fromMenu("N8", md->Form_desk.get());
    click(desks.btnRefresh1);
    TForm_desk_class& areas = shown(md->Form_desk_class.get());
    const QList<Case> cases = {
        {&dishes, 1, {{1, dish}, {3, category}}},
        {&categories, 50, {{1, category}}},
        {&desks, 1, {{1, table}, {2, code}, {3, area}}},
        {&areas, 50, {{1, area}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list->objectName().toStdString());
        const int row = rowOf(*c.list, c.id);
        ASSERT_GE(row, 0);
        c.list->ListView1->scrollTo(c.list->ListView1->model()->index(row, 0));
        for (auto cell = c.cells.begin(); cell != c.cells.end(); ++cell) {
            EXPECT_EQ(c.list->ListView1->model()->index(row, cell.key()).data().toString(),
                      cell.value());
            EXPECT_TRUE(drawnAsTyped(*c.list, row, cell.key()));
        }
    }

    clickEditCell(dishes, 1);
    TForm_caipin_edit& dishEditor = shown(md->Form_caipin_edit.get());
    EXPECT_EQ(dishEditor.lab_title->text(), dish);
    EXPECT_EQ(dishEditor.com_cid->currentText(), category);
    clickEditCell(categories, 50);
    EXPECT_EQ(shown(md->Form_caipin_class_edit.get()).lab_title->text(), category);
    clickEditCell(desks, 1);
    TForm_desk_edit& deskEditor = shown(md->Form_desk_edit.get());
    EXPECT_EQ(deskEditor.lab_title->text(), table);
    EXPECT_EQ(deskEditor.lab_bh->text(), code);
    EXPECT_EQ(deskEditor.com_cid->currentText(), area);
    clickEditCell(areas, 50);
    EXPECT_EQ(shown(md->Form_desk_class_edit.get()).lab_title->text(), area);
}

// The order history on a small screen: the list with its paging, search and
// refresh commands and the three action cells of the top row, the details of
// an order with every label, its lines and "打印小票"; Escape closes both.
TEST_F(MasterFitTest, OrderWindowsFitAndTheirCommandsAreInSight) {
    for (int i = 1; i <= 25; ++i) {
        exec(QStringLiteral("INSERT INTO zel_orders (id, title, ordid, deskid, price, allprice, "
                            "shishou, zhaoling, stat, nums, fwy, ydtruename, ydtel, yj, bh, "
                            "deleted, addtime) VALUES (%1, '2026-12-09 18:%2:00结算订单', "
                            "'2026120918%2000001', 1, 88.5, 88.5, 100, 11.5, 1, 4, '小王', '张三', "
                            "'13800000000', '50', 'A01', 0, '2026-12-09 18:%2:00')")
                 .arg(i)
                 .arg(i, 2, 10, QLatin1Char('0')));
        exec(QStringLiteral("INSERT INTO zel_orders_detail (title, oneprice, quantity, price, "
                            "stat, issettle, rootid) VALUES ('宫保鸡丁', 44.25, 2, 88.5, 3, 1, "
                            "%1)")
                 .arg(i));
    }
    // The order opened below was taken by a party with long names.
    const QString longText = QStringLiteral("靠窗的大圆桌").repeated(10);
    exec(QStringLiteral("UPDATE zel_orders SET fwy='%1', ydtruename='%1', bh='%1', ydtel='%1' "
                        "WHERE id=25")
             .arg(longText));
    TForm_Orders& list = fromMenu("N3", screens->Form_Orders.get());
    SCOPED_TRACE("order list");
    EXPECT_TRUE(onScreen(&list));
    for (const QWidget* command : QList<const QWidget*>{
             list.btnRefresh, list.btnFirstPage, list.btnPrevPage, list.btnNextPage,
             list.btnLastPage, list.edtKeyword, list.btnSearch, list.lblPageInfo, list.ListView1})
        EXPECT_TRUE(inSight(command));
    EXPECT_EQ(list.lblPageInfo->text(), QStringLiteral("共25条记录，1/2页"));
    ASSERT_GT(list.ListView1->model()->rowCount(), 0);
    for (TListCell cell : {TListCell::DetailIcon, TListCell::PrintIcon, TListCell::DeleteIcon})
        EXPECT_TRUE(cellInSight(list, 0, columnOf(list, cell)));

    const int detailColumn = columnOf(list, TListCell::DetailIcon);
    QTest::mouseClick(
        list.ListView1->viewport(), Qt::LeftButton, Qt::NoModifier,
        list.ListView1->visualRect(list.ListView1->model()->index(0, detailColumn)).center());
    // The click waits out the double-click interval before it opens the order.
    QTRY_VERIFY(screens->Form_orders_detail->isVisible());
    TForm_orders_detail& detail = shown(screens->Form_orders_detail.get());
    EXPECT_EQ(detail.lab_ordid->text(), QStringLiteral("25"));
    EXPECT_TRUE(onScreen(&detail));
    // Long names show whole: on one line if they fit, else wrapped within
    // the label's height.
    for (const QLabel* label : {detail.lab_bh, detail.lab_fwy, detail.lab_ydtruename}) {
        EXPECT_EQ(label->text(), longText);
        const QRect room = label->contentsRect();
        const QFontMetrics metrics = label->fontMetrics();
        const bool whole =
            label->wordWrap()
                ? metrics.boundingRect(QRect(0, 0, room.width(), 10000), Qt::TextWordWrap, longText)
                          .height() <= room.height()
                : metrics.horizontalAdvance(longText) <= room.width();
        EXPECT_TRUE(whole) << label->objectName().toStdString();
    }
    for (const QWidget* w : QList<const QWidget*>{
             detail.lab_title, detail.lab_ordid, detail.lab_price, detail.lab_addtime,
             detail.lab_shishou, detail.lab_zhaoling, detail.lab_bh, detail.lab_nums,
             detail.lab_ydtel, detail.lab_yj, detail.lab_ydtruename, detail.lab_fwy,
             detail.ListView1, detail.btn_keda})
        EXPECT_TRUE(inSight(w));
    ASSERT_EQ(detail.ListView1->topLevelItemCount(), 1);
    const QRect line = detail.ListView1->visualItemRect(detail.ListView1->topLevelItem(0));
    EXPECT_TRUE(detail.ListView1->viewport()->rect().contains(line));

    escapeIn(detail.btn_keda);
    escapeIn(list.edtKeyword);
    EXPECT_TRUE(window->isVisible());
}

} // namespace
