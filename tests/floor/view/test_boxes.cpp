#include "common/ui/laybox.h"
#include "common/ui/listviewwidth.h"
#include "common/ui/qtmessenger.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(ListViewWidthTest, FittedColumnTakesTheRestMinusTheAllowance) {
    QTreeWidget tree;
    tree.setColumnCount(3);
    tree.resize(400, 200);
    tree.setColumnWidth(0, 100);
    tree.setColumnWidth(1, 50);
    listviewwidth(2, &tree);
    EXPECT_EQ(tree.columnWidth(2), 400 - 150 - 5);
    AdjustListViewColumnWidth(&tree, 2);
    EXPECT_EQ(tree.columnWidth(2), 400 - 150 - 4);

    // The fitted column may sit anywhere; the others keep their widths.
    tree.setColumnWidth(2, 70);
    AdjustListViewColumnWidth(&tree, 0);
    EXPECT_EQ(tree.columnWidth(0), 400 - 120 - 4);
    EXPECT_EQ(tree.columnWidth(1), 50);

    QTableWidget table(1, 2);
    table.resize(300, 100);
    table.setColumnWidth(0, 80);
    listviewwidth(1, &table);
    EXPECT_EQ(table.columnWidth(1), 300 - 80 - 5);
    AdjustListViewColumnWidth(&table, 1);
    EXPECT_EQ(table.columnWidth(1), 300 - 80 - 4);
}

TEST(ListViewWidthTest, TooNarrowOrUnknownColumnIsHarmless) {
    QTreeWidget tree;
    tree.setColumnCount(2);
    tree.resize(100, 100);
    tree.setColumnWidth(0, 300);
    tree.setColumnWidth(1, 40);
    AdjustListViewColumnWidth(&tree, 1);
    EXPECT_EQ(tree.columnWidth(1), 0);
    listviewwidth(7, &tree);
    EXPECT_EQ(tree.columnWidth(0), 300);
    listviewwidth(0, static_cast<QTreeView*>(nullptr));
}

// Answers the next modal box by clicking the button with the given text, or
// by pressing a key, and keeps what the box looked like.
struct BoxAnswer {
    QString caption, text, parentName, defaultButton;
    QStringList buttons;
    Qt::TextFormat format = Qt::AutoText;

    void clickLater(const QString& buttonText) {
        QTimer::singleShot(0, [this, buttonText] {
            QMessageBox* box = record();
            ASSERT_NE(box, nullptr);
            for (QAbstractButton* b : box->buttons())
                if (b->text() == buttonText)
                    b->click();
        });
    }

    void pressLater(Qt::Key key) {
        QTimer::singleShot(0, [this, key] {
            QMessageBox* box = record();
            ASSERT_NE(box, nullptr);
            QTest::keyClick(box, key);
        });
    }

private:
    QMessageBox* record() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return nullptr;
        caption = box->windowTitle();
        text = box->text();
        format = box->textFormat();
        parentName = box->parentWidget() ? box->parentWidget()->objectName() : QString();
        defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        for (QAbstractButton* b : box->buttons())
            buttons << b->text();
        buttons.sort();
        return box;
    }
};

TEST(QtMessengerTest, QuestionsAnswerTrueOnlyForOkAndYes) {
    TQtMessenger m;
    const struct {
        std::function<bool()> ask;
        const char* click;
        bool result;
        QStringList buttons;
    } cases[] = {
        {[&] { return m.OkCancel(MessageCaption(), QStringLiteral("确认?")); },
         "确定",
         true,
         {QStringLiteral("取消"), QStringLiteral("确定")}},
        {[&] { return m.OkCancel(MessageCaption(), QStringLiteral("确认?")); },
         "取消",
         false,
         {QStringLiteral("取消"), QStringLiteral("确定")}},
        {[&] { return m.YesNo(MessageCaption(), QStringLiteral("确认?")); },
         "是",
         true,
         {QStringLiteral("否"), QStringLiteral("是")}},
        {[&] { return m.YesNo(MessageCaption(), QStringLiteral("确认?")); },
         "否",
         false,
         {QStringLiteral("否"), QStringLiteral("是")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.click);
        BoxAnswer answer;
        answer.clickLater(QString::fromUtf8(c.click));
        EXPECT_EQ(c.ask(), c.result);
        EXPECT_EQ(answer.caption, QStringLiteral("友情提示"));
        EXPECT_EQ(answer.text, QStringLiteral("确认?"));
        EXPECT_EQ(answer.buttons, c.buttons);
    }
}

TEST(QtMessengerTest, LayboxIsAnOkBoxOwnedByTheGivenWindow) {
    TQtMessenger m;
    SetMessenger(&m);
    QWidget owner;
    owner.setObjectName(QStringLiteral("owner"));
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    BoxAnswer answer;
    answer.clickLater(QStringLiteral("确定"));
    laybox(QStringLiteral("体验数据删除成功"), &owner);
    SetMessenger(nullptr);
    EXPECT_EQ(answer.caption, QStringLiteral("友情提示"));
    EXPECT_EQ(answer.text, QStringLiteral("体验数据删除成功"));
    EXPECT_EQ(answer.buttons, QStringList({QStringLiteral("确定")}));
    EXPECT_EQ(answer.parentName, QStringLiteral("owner"));
    EXPECT_EQ(TMessageOwner::Current(), nullptr);
}

TEST(QtMessengerTest, LayboxGoesThroughTheInstalledMessenger) {
    TRecordingMessenger rec;
    SetMessenger(&rec);
    laybox(QStringLiteral("保存成功"), nullptr);
    SetMessenger(nullptr);
    ASSERT_EQ(rec.Calls.size(), 1);
    EXPECT_EQ(rec.Calls[0].kind, TMessageKind::Info);
    EXPECT_EQ(rec.Calls[0].caption, QStringLiteral("友情提示"));
    EXPECT_EQ(rec.Calls[0].text, QStringLiteral("保存成功"));
}

} // namespace

namespace {

TEST(QtMessengerTest, EnterConfirmsAndEscapeCancels) {
    TQtMessenger m;
    const struct {
        std::function<bool()> ask;
        Qt::Key key;
        bool result;
        const char* defaultButton;
    } cases[] = {
        {[&] { return m.OkCancel(MessageCaption(), QStringLiteral("确定开台吗")); }, Qt::Key_Return,
         true, "确定"},
        {[&] { return m.OkCancel(MessageCaption(), QStringLiteral("确定开台吗")); }, Qt::Key_Enter,
         true, "确定"},
        {[&] { return m.OkCancel(MessageCaption(), QStringLiteral("确定开台吗")); }, Qt::Key_Escape,
         false, "确定"},
        {[&] { return m.YesNo(MessageCaption(), QStringLiteral("确定开台吗")); }, Qt::Key_Return,
         true, "是"},
        {[&] { return m.YesNo(MessageCaption(), QStringLiteral("确定开台吗")); }, Qt::Key_Escape,
         false, "是"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.key));
        BoxAnswer answer;
        answer.pressLater(c.key);
        EXPECT_EQ(c.ask(), c.result);
        EXPECT_EQ(answer.defaultButton, QString::fromUtf8(c.defaultButton));
    }
    // An information box closes on either key.
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        BoxAnswer answer;
        answer.pressLater(key);
        m.Info(MessageCaption(), QStringLiteral("保存成功"));
        EXPECT_EQ(answer.text, QStringLiteral("保存成功"));
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

TEST(QtMessengerTest, MarkupInTheTextIsShownAsTyped) {
    TQtMessenger m;
    const QString text = QStringLiteral("确定删除 <b>宫保鸡丁</b> 吗");
    BoxAnswer question;
    question.clickLater(QStringLiteral("取消"));
    m.OkCancel(MessageCaption(), text);
    EXPECT_EQ(question.text, text);
    EXPECT_EQ(question.format, Qt::PlainText);
    BoxAnswer info;
    info.clickLater(QStringLiteral("确定"));
    m.Info(MessageCaption(), text);
    EXPECT_EQ(info.format, Qt::PlainText);
}

} // namespace
