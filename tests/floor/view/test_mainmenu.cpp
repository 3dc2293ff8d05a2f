#include "common/appvalues.h"
#include "floor/view/desktile.h"
#include "floor/view/mainmenustyle.h"
#include "store/demodata.h"
#include "store/sqlitedb.h"

#include "floorfixture.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>

namespace {

using MainMenuTest = FloorTest;

QStringList texts(const QList<QAction*>& actions) {
    QStringList out;
    for (const QAction* a : actions)
        out << a->text();
    return out;
}

TEST_F(MainMenuTest, MenuBarEntriesInOrderWithoutDemoEntry) {
    testnums = 0;
    Tform_main& w = makeWindow();
    w.AddTestDataMenuEntry();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Ostrelo点餐系统"));
    const QStringList expected = {"在线升级",         "订单管理", "营业统计",
                                  "菜品管理",         "桌位管理", "系统设置",
                                  "创建桌面快捷访问", "远程协助", "帮助文档"};
    EXPECT_EQ(texts(w.menuBar()->actions()), expected);
    QMenu* update = w.menuBar()->actions().first()->menu();
    ASSERT_NE(update, nullptr);
    EXPECT_EQ(texts(update->actions()), QStringList({"一键在线升级", "版本比对"}));
    const QStringList names = {"N1", "N3", "N12", "N9", "N8", "N7", "N2", "N6", "N5"};
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(w.MenuAction(names[i]), w.menuBar()->actions().at(i)) << names[i].toStdString();
    EXPECT_EQ(w.MenuAction(QStringLiteral("N10")), update->actions().at(0));
    EXPECT_EQ(w.MenuAction(QStringLiteral("MenuItem1")), nullptr);
}

TEST_F(MainMenuTest, DemoEntryIsAppendedAndDrawnBlueTenPointEightPixelsIn) {
    testnums = 20;
    Tform_main& w = makeWindow();
    w.AddTestDataMenuEntry();
    w.AddTestDataMenuEntry(); // only once
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    QMenuBar* bar = w.menuBar();
    ASSERT_EQ(bar->actions().size(), 10);
    QAction* entry = bar->actions().last();
    EXPECT_EQ(entry, w.MenuAction(QStringLiteral("MenuItem1")));
    EXPECT_EQ(entry->text(), QStringLiteral("删除体验数据"));

    const QRect rect = bar->actionGeometry(entry);
    QFont ten = bar->font();
    ten.setPointSize(10);
    EXPECT_GE(rect.width(), 8 + QFontMetrics(ten).horizontalAdvance(entry->text()));

    const QImage image = bar->grab().toImage();
    const auto isBlue = [](const QColor& c) {
        return c.blue() > 150 && c.red() < 120 && c.green() < 120;
    };
    int leftmost = -1, topmost = -1;
    for (int x = rect.left(); x <= rect.right(); ++x)
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            if (isBlue(image.pixelColor(x, y))) {
                if (leftmost < 0)
                    leftmost = x;
                if (topmost < 0 || y < topmost)
                    topmost = y;
            }
    ASSERT_GE(leftmost, 0) << "no blue text in the entry";
    // The first glyph starts 8 pixels in, give or take its side bearing.
    EXPECT_GE(leftmost - rect.left(), TMainMenuStyle::kTextIndent);
    EXPECT_LE(leftmost - rect.left(), TMainMenuStyle::kTextIndent + 3);
    EXPECT_LE(topmost - rect.top(), QFontMetrics(ten).ascent());

    // The other entries keep the style's look: no blue anywhere left of the entry.
    for (int x = 0; x < rect.left(); ++x)
        for (int y = 0; y < image.height(); ++y)
            ASSERT_FALSE(isBlue(image.pixelColor(x, y))) << x << "," << y;
}

TEST_F(MainMenuTest, DemoEntryIsAMenuItemForAccessibility) {
    testnums = 1;
    Tform_main& w = makeWindow();
    w.AddTestDataMenuEntry();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    messages.Answers = {false};

    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(w.menuBar());
    ASSERT_NE(bar, nullptr);
    QAccessibleInterface* item = nullptr;
    for (int i = 0; i < bar->childCount(); ++i)
        if (bar->child(i)->text(QAccessible::Name) == QStringLiteral("删除体验数据"))
            item = bar->child(i);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->role(), QAccessible::MenuItem);
    ASSERT_NE(item->actionInterface(), nullptr);
    item->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !messages.Calls.isEmpty(); }, 2000));
    EXPECT_EQ(messages.Texts(), QStringList({QStringLiteral("确认删除体验数据吗")}));
}

class DeleteTestDataTest : public FloorTest {
protected:
    void SetUp() override {
        FloorTest::SetUp();
        ASSERT_EQ(AddTestDeskData(sqlitename, QStringLiteral("1700000000")),
                  QStringLiteral("成功添加 20 个测试桌位"));
        ASSERT_EQ(AddTestCaipinData(sqlitename, QStringLiteral("1700000000")),
                  QStringLiteral("成功添加 20 个测试菜品"));
        own = addDesk({QStringLiteral("自建"), QStringLiteral("99"), 0, 99});
        testnums = 20;
        Tform_main& w = makeWindow();
        w.CreateCategoryPanel();
        w.LoadDesksByCategory(0);
        w.AddTestDataMenuEntry();
    }

    int rows(const QString& table, const QString& where) {
        TSQLiteDatabase db(sqlitename);
        auto t = db.GetTable(QStringLiteral("SELECT COUNT(*) FROM ") + table +
                             QStringLiteral(" WHERE ") + where);
        return int(t->FieldAsInteger(0));
    }

    int own = 0;
};

TEST_F(DeleteTestDataTest, ConfirmedDeleteRemovesDemoRowsAndRebuildsTheFloor) {
    ASSERT_EQ(tiles().size(), 21);
    messages.Answers = {true, true};
    window->MenuAction(QStringLiteral("MenuItem1"))->trigger();

    EXPECT_EQ(messages.Texts(), QStringList({QStringLiteral("确认删除体验数据吗"),
                                             QStringLiteral("体验数据删除成功")}));
    EXPECT_EQ(messages.Calls[0].kind, TMessageKind::OkCancel);
    EXPECT_EQ(messages.Calls[1].kind, TMessageKind::Info);
    EXPECT_EQ(messages.Calls[1].caption, QStringLiteral("友情提示"));
    EXPECT_EQ(rows(QStringLiteral("zel_desk"), QStringLiteral("istest=1")), 0);
    EXPECT_EQ(rows(QStringLiteral("zel_caipin"), QStringLiteral("istest=1")), 0);
    ASSERT_EQ(tiles().size(), 1);
    EXPECT_EQ(tiles().first()->Tag(), own);

    // The entry stays; a second run deletes nothing and still succeeds.
    ASSERT_NE(window->MenuAction(QStringLiteral("MenuItem1")), nullptr);
    messages.Calls.clear();
    window->deletetestdata();
    EXPECT_EQ(messages.Texts(), QStringList({QStringLiteral("确认删除体验数据吗"),
                                             QStringLiteral("体验数据删除成功")}));
}

TEST_F(DeleteTestDataTest, CancelledDeleteChangesNothing) {
    messages.Answers = {false};
    QSignalSpy rebuilt(window.get(), &Tform_main::FloorRebuilt);
    window->deletetestdata();
    EXPECT_EQ(messages.Texts(), QStringList({QStringLiteral("确认删除体验数据吗")}));
    EXPECT_EQ(rows(QStringLiteral("zel_desk"), QStringLiteral("istest=1")), 20);
    EXPECT_EQ(rebuilt.size(), 0);
}

TEST_F(DeleteTestDataTest, FailedDeleteIsReportedAndTheFloorShowsWhatRemains) {
    exec(QStringLiteral("CREATE TRIGGER keep_desks BEFORE DELETE ON zel_desk "
                        "BEGIN SELECT RAISE(ABORT, 'locked by test'); END"));
    messages.Answers = {true};
    QSignalSpy rebuilt(window.get(), &Tform_main::FloorRebuilt);
    window->deletetestdata();

    ASSERT_EQ(messages.Calls.size(), 2);
    EXPECT_TRUE(messages.Calls[1].text.startsWith(QStringLiteral("体验数据删除失败: ")));
    EXPECT_TRUE(messages.Calls[1].text.contains(QStringLiteral("locked by test")));
    // The dishes went; the tables stayed and still have their tiles.
    EXPECT_EQ(rows(QStringLiteral("zel_caipin"), QStringLiteral("istest=1")), 0);
    EXPECT_EQ(rows(QStringLiteral("zel_desk"), QStringLiteral("istest=1")), 20);
    EXPECT_EQ(rebuilt.size(), 1);
    EXPECT_EQ(tiles().size(), 21);
}

} // namespace
