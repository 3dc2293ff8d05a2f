#pragma once

// The twin editors of dish categories and table areas: a name and a sort
// number. TForm_caipin_class_edit and TForm_desk_class_edit (below) only
// choose the kind; everything else is TClassEditForm.

#include "floor/editors/classedit.h"

#include <QWidget>

#include <cstdint>
#include <memory>

class QLineEdit;
class QPushButton;
class TSQLiteDatabase;

class TClassEditForm : public QWidget {
    Q_OBJECT
public:
    ~TClassEditForm() override;

    int32_t editid = 0;

    QLineEdit* lab_title = nullptr;
    QLineEdit* lab_sort = nullptr;
    QPushButton* btnAdd = nullptr;

    TClassKind Kind() const { return FKind; }

    // Sets editid, prepares the editor and shows it centred on centreOn (an
    // editor already shown is prepared again and raised).
    void OpenFor(int32_t id, QWidget* centreOn);
    void btnAddClick();

signals:
    // A save succeeded: the editor's list, and the floor or the ordering
    // screen, follow.
    void Saved();

protected:
    explicit TClassEditForm(TClassKind kind);

private:
    void Prepare();
    QString caption(bool adding) const;

    TClassKind FKind;
    std::unique_ptr<TSQLiteDatabase> FDatabase;
};

// The dish-category editor "添加菜品分类" / "编辑菜品分类".
class TForm_caipin_class_edit : public TClassEditForm {
    Q_OBJECT
public:
    TForm_caipin_class_edit() : TClassEditForm(TClassKind::DishCategory) {}
};

// The table-area editor "添加桌位分类" / "编辑桌位分类".
class TForm_desk_class_edit : public TClassEditForm {
    Q_OBJECT
public:
    TForm_desk_class_edit() : TClassEditForm(TClassKind::TableArea) {}
};
