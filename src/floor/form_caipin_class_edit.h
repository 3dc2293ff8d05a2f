#pragma once

// The dish-category editor "添加菜品分类" / "编辑菜品分类".

#include "floor/form_class_edit.h"

class TForm_caipin_class_edit : public TClassEditForm {
    Q_OBJECT
public:
    TForm_caipin_class_edit() : TClassEditForm(TClassKind::DishCategory) {}
};
