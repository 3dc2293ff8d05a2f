#include "floor/editors/editorcontrols.h"

#include "common/appvalues.h"
#include "common/ui/laymsg.h"
#include "common/ui/showcentred.h"
#include "store/sqlitedb.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>

QLineEdit* LabeledEdit(QWidget* parent, const QString& name, const QString& caption, int left,
                       int top, int width) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(left, top, width, 21);
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name + QStringLiteral("_label"));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(std::max(0, left - 84), top, std::min(80, left - 4), 21);
    label->setBuddy(edit);
    return edit;
}

QComboBox* ClassPicker(QWidget* parent, const QString& name, int left, int top, int width) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setGeometry(left, top, width, 21);
    return box;
}

void FillClassPicker(QComboBox* box, const QList<TIdTitle>& items) {
    box->clear();
    for (const TIdTitle& item : items)
        box->addItem(item.title, item.id);
    ChooseClass(box, 0);
}

void ChooseClass(QComboBox* box, int32_t id) {
    const int index = id > 0 ? box->findData(id) : -1;
    box->setCurrentIndex(index);
    if (index < 0)
        box->setEditText(QString());
}

int32_t ChosenClass(const QComboBox* box) {
    const int index = box->currentIndex();
    if (index < 0 || box->itemText(index) != box->currentText())
        return 0;
    return box->itemData(index).toInt();
}

std::unique_ptr<TSQLiteDatabase> OpenEditorDatabase(QWidget* editor) {
    try {
        return std::make_unique<TSQLiteDatabase>(sqlitename);
    } catch (const ESQLiteException& e) {
        laymsg(QStringLiteral("数据库连接失败: ") + e.Message(), 0, editor);
        QTimer::singleShot(0, editor, &QWidget::close);
    }
    return nullptr;
}

void LoadClassPicker(QComboBox* box, TSQLiteDatabase* db, const QString& table,
                     const QString& failure, QWidget* editor) {
    box->clear();
    if (!db)
        return;
    try {
        FillClassPicker(box, ReadIdTitles(*db, table));
    } catch (const EMasterDataError& e) {
        laymsg(failure + e.Message(), 0, editor);
    }
}

void ShowEditor(QWidget* editor, QWidget* centreOn) {
    if (editor->isVisible()) {
        editor->raise();
        editor->activateWindow();
    } else {
        ShowCentred(editor, centreOn);
    }
}
