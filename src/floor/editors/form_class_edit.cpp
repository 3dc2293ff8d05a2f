#include "floor/editors/form_class_edit.h"

#include "common/ui/closeonescape.h"
#include "common/ui/laymsg.h"
#include "floor/editors/editorcontrols.h"
#include "floor/editors/fixedform.h"
#include "floor/lists/flatbutton.h"
#include "store/sqlitedb.h"

#include <QLineEdit>
#include <QPushButton>

TClassEditForm::TClassEditForm(TClassKind kind) : QWidget(nullptr, Qt::Window), FKind(kind) {
    const bool dishes = kind == TClassKind::DishCategory;
    setObjectName(dishes ? QStringLiteral("Form_caipin_class_edit")
                         : QStringLiteral("Form_desk_class_edit"));
    setWindowTitle(caption(true));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    QWidget* content = FixedContent(this, QSize(364, 181));
    lab_title = LabeledEdit(content, QStringLiteral("lab_title"), QStringLiteral("分类名称："), 88,
                            15, 220);
    lab_sort =
        LabeledEdit(content, QStringLiteral("lab_sort"), QStringLiteral("排序编号："), 88, 65, 220);
    btnAdd = FlatButton(content, QStringLiteral("btnAdd"), QStringLiteral("提交保存"), FlatBlue(),
                        QRect(88, 115, dishes ? 201 : 220, 35));
    connect(btnAdd, &QPushButton::clicked, this, &TClassEditForm::btnAddClick);
    CloseOnEscape(this);

    FDatabase = OpenEditorDatabase(this);
}

TClassEditForm::~TClassEditForm() = default;

QString TClassEditForm::caption(bool adding) const {
    if (FKind == TClassKind::DishCategory)
        return adding ? QStringLiteral("添加菜品分类") : QStringLiteral("编辑菜品分类");
    return adding ? QStringLiteral("添加桌位分类") : QStringLiteral("编辑桌位分类");
}

void TClassEditForm::OpenFor(int32_t id, QWidget* centreOn) {
    editid = id;
    Prepare();
    ShowEditor(this, centreOn);
}

void TClassEditForm::Prepare() {
    setWindowTitle(caption(editid <= 0));
    if (!FDatabase)
        return;
    if (editid <= 0) {
        lab_title->clear();
        lab_sort->setText(QString::number(GetMaxSortValue(*FDatabase, ClassTable(FKind)) + 1));
        return;
    }
    try {
        if (const auto row = LoadClass(*FDatabase, FKind, editid)) {
            lab_title->setText(row->title);
            lab_sort->setText(row->sort);
        }
    } catch (const EMasterDataError& e) {
        laymsg(e.Message(), 0, this);
    }
}

void TClassEditForm::btnAddClick() {
    if (!FDatabase)
        return;
    const TClassInput input{lab_title->text(), lab_sort->text()};
    if (const auto error = ValidateClass(FKind, input)) {
        laymsg(error->message, 0, this);
        (error->field == TInputField::Sort ? lab_sort : lab_title)->setFocus();
        return;
    }
    const bool adding = editid <= 0;
    try {
        editid = SaveClass(*FDatabase, FKind, editid, input);
    } catch (const EMasterDataError& e) {
        laymsg(e.Message(), 0, this);
        return;
    }
    emit Saved();
    laymsg(adding ? QStringLiteral("添加成功") : QStringLiteral("保存成功"), 0, this);
}
