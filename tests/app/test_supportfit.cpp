// The box that shows a long text from the network (the start-up offer with its
// description) fits the screen, keeps 确定 in sight and scrolls the text.

#include "common/ui/qtmessenger.h"
#include "common/update/updateanswer.h"

#include "fitchecks.h"
#include "programfixture.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <memory>

namespace {

class LongTextBoxFitTest : public ProgramWindowsTest {};

TEST_F(LongTextBoxFitTest, OfferWithTheLongestDescriptionFitsAndScrolls) {
    startProgram();
    const QString upstr(kMaxUpstrChars, QChar(0x65B0)); // 新
    const auto answer = ParseUpdateAnswer(
        QStringLiteral(R"({"version":"251112","isupdate":1,"upstr":"%1"})").arg(upstr));
    ASSERT_TRUE(answer);
    const std::unique_ptr<QDialog> box(
        NewLongTextBox(MessageCaption(), UpdateOfferText(*answer).value(), window.get()));
    box->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
    EXPECT_TRUE(onScreen(box.get()));
    const auto* buttons = box->findChild<QDialogButtonBox*>();
    ASSERT_TRUE(buttons);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    EXPECT_EQ(ok->text(), QStringLiteral("确定"));
    EXPECT_TRUE(inSight(ok));
    const auto* field = box->findChild<QPlainTextEdit*>();
    ASSERT_TRUE(field);
    EXPECT_TRUE(field->isReadOnly());
    EXPECT_GT(field->verticalScrollBar()->maximum(), 0);
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(box->isVisible());
}

TEST_F(LongTextBoxFitTest, ShortTextGivesASmallBox) {
    startProgram();
    const std::unique_ptr<QDialog> box(NewLongTextBox(
        MessageCaption(), QStringLiteral("检测到软件有新的更新\r\n修复打印"), window.get()));
    box->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box.get()));
    EXPECT_TRUE(onScreen(box.get()));
    EXPECT_LE(box->height(), available().height() / 2);
    EXPECT_EQ(box->findChild<QPlainTextEdit*>()->verticalScrollBar()->maximum(), 0);
}

} // namespace
