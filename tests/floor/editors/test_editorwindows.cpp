// The editor windows when their record changes under them: removed between
// opening and saving, or its specification rows unreadable.

#include "common/ui/laymsg.h"
#include "floor/editors/form_caipin_edit.h"
#include "floor/editors/form_class_edit.h"
#include "floor/editors/form_desk_edit.h"
#include "floor/editors/skucontrolgroup.h"

#include "masterdatafixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kGone = QStringLiteral("该记录已不存在，请刷新列表后重试");

class EditorWindowsTest : public MasterDataTest {
protected:
    static void click(QWidget* w) {
        ASSERT_TRUE(w);
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
    }
    static QString notification() { return mypan() ? mypan()->text() : QString(); }
    static void clearNotification() {
        if (mypan())
            mypan()->clear();
    }
    int lastId(const QString& table) {
        return scalar(QStringLiteral("SELECT MAX(id) FROM ") + table).toInt();
    }
    QString everything() {
        return scalar(QStringLiteral(
            "SELECT (SELECT IFNULL(group_concat(id || title || addtime), '') FROM zel_caipin) "
            "|| '/' || (SELECT COUNT(*) FROM zel_caipin_sku) || '/' || "
            "(SELECT IFNULL(group_concat(id || title || addtime), '') FROM zel_desk) || '/' || "
            "(SELECT IFNULL(group_concat(id || title), '') FROM zel_caipin_class) || '/' || "
            "(SELECT IFNULL(group_concat(id || title), '') FROM zel_desk_class)"));
    }
};

TEST_F(EditorWindowsTest, TheDishEditorSaysTheDishIsGoneAndWritesNoSpecification) {
    const struct {
        const char* name;
        const char* remove;
    } cases[] = {
        {"deleted in its list", "UPDATE zel_caipin SET deleted=1 WHERE id=%1"},
        {"removed with the demonstration data", "DELETE FROM zel_caipin WHERE id=%1"},
    };
    for (const auto& c : cases) {
        const int id = addDish(QStringLiteral("鱼"), 12, 1);
        TForm_caipin_edit editor;
        QSignalSpy saves(&editor, &TForm_caipin_edit::Saved);
        editor.OpenFor(id, nullptr);
        ASSERT_EQ(editor.lab_title->text(), QStringLiteral("鱼"));
        editor.lab_title->setText(QStringLiteral("红烧鱼"));
        click(editor.btnAddSku);
        ASSERT_EQ(editor.SkuControls().size(), 1u);
        editor.SkuControls()[0]->NameEdit->setText(QStringLiteral("大份"));
        editor.SkuControls()[0]->PriceEdit->setText(QStringLiteral("20"));

        exec(QString::fromUtf8(c.remove).arg(id));
        const QString before = everything();
        clearNotification();
        click(editor.btnAdd);
        EXPECT_EQ(notification(), kGone) << c.name;
        EXPECT_EQ(saves.count(), 0) << c.name;
        EXPECT_EQ(everything(), before) << c.name;
        EXPECT_EQ(editor.SkuControls()[0]->SkuId, 0) << c.name;
    }
}

TEST_F(EditorWindowsTest, TheTableAndClassEditorsSayTheirRecordIsGone) {
    exec(QStringLiteral("INSERT INTO zel_desk (title, sort) VALUES ('一号', 1)"));
    TForm_desk_edit desk;
    QSignalSpy deskSaves(&desk, &TForm_desk_edit::Saved);
    desk.OpenFor(lastId(QStringLiteral("zel_desk")), nullptr);
    ASSERT_EQ(desk.lab_title->text(), QStringLiteral("一号"));
    exec(QStringLiteral("UPDATE zel_desk SET deleted=1"));
    const QString before = everything();
    clearNotification();
    click(desk.btnAdd);
    EXPECT_EQ(notification(), kGone);
    EXPECT_EQ(deskSaves.count(), 0);
    EXPECT_EQ(everything(), before);

    TForm_caipin_class_edit category;
    TForm_desk_class_edit area;
    for (TClassEditForm* editor :
         {static_cast<TClassEditForm*>(&category), static_cast<TClassEditForm*>(&area)}) {
        const QString table = editor == &category ? QStringLiteral("zel_caipin_class")
                                                  : QStringLiteral("zel_desk_class");
        exec(QStringLiteral("INSERT INTO %1 (title, sort) VALUES ('大厅', 1)").arg(table));
        QSignalSpy saves(editor, &TClassEditForm::Saved);
        editor->OpenFor(lastId(table), nullptr);
        ASSERT_EQ(editor->lab_title->text(), QStringLiteral("大厅"));
        exec(QStringLiteral("DELETE FROM ") + table);
        clearNotification();
        click(editor->btnAdd);
        EXPECT_EQ(notification(), kGone) << table.toStdString();
        EXPECT_EQ(saves.count(), 0);
        EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table), QStringLiteral("0"));
    }
}

TEST_F(EditorWindowsTest, UnreadableSpecificationsLeaveTheDishItsOwnFields) {
    const int first = addDish(QStringLiteral("鱼"), 12.5, 4);
    const int second = addDish(QStringLiteral("虾"), 30, 7);
    exec(QStringLiteral("INSERT INTO zel_caipin_sku (title, price, rootid) VALUES ('小', 6, %1)")
             .arg(first));
    TForm_caipin_edit editor;
    editor.OpenFor(first, nullptr);
    ASSERT_EQ(editor.SkuControls().size(), 1u);

    exec(QStringLiteral("ALTER TABLE zel_caipin_sku RENAME TO zel_caipin_sku_away"));
    clearNotification();
    editor.OpenFor(second, nullptr);
    EXPECT_EQ(editor.editid, second);
    EXPECT_EQ(editor.lab_title->text(), QStringLiteral("虾"));
    EXPECT_EQ(editor.lab_price->text(), QStringLiteral("30"));
    EXPECT_EQ(editor.lab_sort->text(), QStringLiteral("7"));
    EXPECT_TRUE(editor.SkuControls().empty());
    EXPECT_TRUE(notification().startsWith(QStringLiteral("加载做法数据失败: ")))
        << notification().toStdString();
}

TEST_F(EditorWindowsTest, TheTableEditorAsksForATableName) {
    TForm_desk_edit desk;
    desk.OpenFor(0, nullptr);
    QStringList labels;
    for (const QLabel* label : desk.findChildren<QLabel*>())
        labels << label->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("桌位名称："))) << labels.join(u' ').toStdString();
    EXPECT_FALSE(labels.contains(QStringLiteral("菜品名称：")));
    click(desk.btnAdd);
    EXPECT_EQ(notification(), QStringLiteral("请输入桌位名称！"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM zel_desk")), QStringLiteral("0"));
}

} // namespace
