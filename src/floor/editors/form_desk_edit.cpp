#include "floor/editors/form_desk_edit.h"

#include "common/clock.h"
#include "common/ui/closeonescape.h"
#include "common/ui/laymsg.h"
#include "floor/editors/deskedit.h"
#include "floor/editors/editorcontrols.h"
#include "floor/editors/fixedform.h"
#include "floor/lists/flatbutton.h"
#include "store/sqlitedb.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TForm_desk_edit::TForm_desk_edit() : QWidget(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("Form_desk_edit"));
    setWindowTitle(QStringLiteral("添加桌位"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    QWidget* content = FixedContent(this, QSize(441, 227));
    lab_title = LabeledEdit(content, QStringLiteral("lab_title"), QStringLiteral("桌位名称："), 88,
                            10, 321);
    lab_bh =
        LabeledEdit(content, QStringLiteral("lab_bh"), QStringLiteral("桌位编号："), 88, 50, 70);
    auto* Label1 = new QLabel(QStringLiteral("所属分类："), content);
    Label1->setGeometry(25, 94, 62, 16);
    com_cid = ClassPicker(content, QStringLiteral("com_cid"), 88, 90, 145);
    Label1->setBuddy(com_cid);
    lab_sort =
        LabeledEdit(content, QStringLiteral("lab_sort"), QStringLiteral("排序号："), 88, 130, 70);
    lab_sort->setText(QStringLiteral("0"));
    btnAdd = FlatButton(content, QStringLiteral("btnAdd"), QStringLiteral("提交保存"), FlatBlue(),
                        QRect(104, 176, 83, 29));
    connect(btnAdd, &QPushButton::clicked, this, &TForm_desk_edit::btnAddClick);
    CloseOnEscape(this);

    FDatabase = OpenEditorDatabase(this);
}

TForm_desk_edit::~TForm_desk_edit() = default;

void TForm_desk_edit::OpenFor(int32_t id, QWidget* centreOn) {
    editid = id;
    Prepare();
    ShowEditor(this, centreOn);
}

void TForm_desk_edit::Prepare() {
    LoadCid();
    if (editid <= 0) {
        setWindowTitle(QStringLiteral("添加桌位"));
        ClearForm();
        lab_sort->setText(QString::number(
            FDatabase ? GetMaxSortValue(*FDatabase, QStringLiteral("zel_desk")) + 1 : 1));
    } else {
        setWindowTitle(QStringLiteral("编辑桌位"));
        LoadDataToForm();
    }
}

void TForm_desk_edit::LoadCid() {
    LoadClassPicker(com_cid, FDatabase.get(), QStringLiteral("zel_desk_class"),
                    QStringLiteral("加载失败: "), this);
}

void TForm_desk_edit::ClearForm() {
    lab_title->clear();
    lab_bh->clear();
    lab_sort->setText(QStringLiteral("0"));
    ChooseClass(com_cid, 0);
}

void TForm_desk_edit::LoadDataToForm() {
    if (!FDatabase)
        return;
    try {
        if (const auto desk = LoadDesk(*FDatabase, editid)) {
            lab_title->setText(desk->title);
            lab_bh->setText(desk->bh);
            lab_sort->setText(QString::number(desk->sort));
            ChooseClass(com_cid, desk->cid);
        }
    } catch (const EMasterDataError& e) {
        laymsg(e.Message(), 0, this);
    }
}

void TForm_desk_edit::btnAddClick() {
    if (!FDatabase)
        return;
    const TDeskInput input{lab_title->text(), lab_bh->text(), lab_sort->text(),
                           ChosenClass(com_cid)};
    if (const auto error = ValidateDesk(input)) {
        laymsg(error->message, 0, this);
        (error->field == TInputField::Sort ? lab_sort : lab_title)->setFocus();
        return;
    }
    const bool adding = editid <= 0;
    try {
        editid = SaveDesk(*FDatabase, editid, input, zclock::Now());
    } catch (const EMasterDataError& e) {
        laymsg(e.Message(), 0, this);
        return;
    }
    emit Saved();
    laymsg(adding ? QStringLiteral("添加成功") : QStringLiteral("保存成功"), 0, this);
}
