// Qt's own texts in the program's dialogs: file choosers, standard buttons and
// context menus speak Chinese once start-up has run.

#include "app/program.h"
#include "backup/backupsettings.h"
#include "report/form_report.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct DialogTexts {
    bool seen = false;
    QStringList buttons;
    QStringList labels;
};

// Runs choose while a timer reads the file dialog it opens and cancels it.
DialogTexts readFileDialog(const std::function<QString()>& choose) {
    DialogTexts texts;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll.stop();
        texts.seen = true;
        for (const auto* b : dialog->findChildren<QPushButton*>())
            if (b->isVisible())
                texts.buttons << b->text();
        for (const auto* l : dialog->findChildren<QLabel*>())
            if (l->isVisible())
                texts.labels << l->text();
        dialog->reject();
    });
    poll.start();
    // Never hangs: a dialog the poll missed is closed after 5 s.
    QTimer::singleShot(5000, [] {
        if (QWidget* w = QApplication::activeModalWidget())
            w->close();
    });
    EXPECT_TRUE(choose().isEmpty());
    return texts;
}

class TranslationsTest : public ::testing::Test {
protected:
    void SetUp() override { InitProgram(); }
};

TEST_F(TranslationsTest, StartUpMakesEveryDialogAQtWidgetDialog) {
    // The desktop's own chooser would not take the program's language.
    EXPECT_TRUE(QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs));
}

TEST_F(TranslationsTest, TheExportFileDialogIsChinese) {
    QWidget parent;
    const DialogTexts texts = readFileDialog([&] {
        QString filter = QStringLiteral("CSV 文件 (*.csv)");
        return TForm_report::ChooseFile(&parent, QDir::temp().filePath(QStringLiteral("a.csv")),
                                        {filter}, filter);
    });
    ASSERT_TRUE(texts.seen);
    EXPECT_TRUE(texts.buttons.contains(QStringLiteral("保存(&S)")))
        << texts.buttons.join('|').toStdString();
    EXPECT_TRUE(texts.buttons.contains(QStringLiteral("取消")))
        << texts.buttons.join('|').toStdString();
    EXPECT_TRUE(texts.labels.contains(QStringLiteral("查找范围：")))
        << texts.labels.join('|').toStdString();
    EXPECT_TRUE(texts.labels.contains(QStringLiteral("文件名称(&N)：")))
        << texts.labels.join('|').toStdString();
}

TEST_F(TranslationsTest, TheBackupFolderDialogIsChinese) {
    QWidget parent;
    const DialogTexts texts =
        readFileDialog([&] { return TBackupGroup::ChooseFolder(&parent, QDir::tempPath()); });
    ASSERT_TRUE(texts.seen);
    EXPECT_TRUE(texts.buttons.contains(QStringLiteral("选择(&C)")))
        << texts.buttons.join('|').toStdString();
    EXPECT_TRUE(texts.buttons.contains(QStringLiteral("取消")))
        << texts.buttons.join('|').toStdString();
    EXPECT_TRUE(texts.labels.contains(QStringLiteral("目录：")))
        << texts.labels.join('|').toStdString();
}

TEST_F(TranslationsTest, StandardButtonsAreChinese) {
    const struct {
        QMessageBox::StandardButton button;
        const char* text;
    } cases[] = {{QMessageBox::Ok, "确定"},
                 {QMessageBox::Cancel, "取消"},
                 {QMessageBox::Save, "保存"},
                 {QMessageBox::Close, "关闭"}};
    QMessageBox box;
    for (const auto& c : cases)
        box.addButton(c.button);
    for (const auto& c : cases)
        EXPECT_EQ(box.button(c.button)->text(), QString::fromUtf8(c.text)) << c.text;
}

TEST_F(TranslationsTest, TheContextMenuOfAnEditFieldIsChinese) {
    QLineEdit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (const auto* action : menu->actions())
        if (!action->isSeparator())
            texts << action->text().section('\t', 0, 0);
    EXPECT_EQ(texts, QStringList({QStringLiteral("撤消(&U)"), QStringLiteral("重做(&R)"),
                                  QStringLiteral("剪切(&T)"), QStringLiteral("复制(&C)"),
                                  QStringLiteral("粘贴(&P)"), QStringLiteral("删除"),
                                  QStringLiteral("全选")}));
}

} // namespace
