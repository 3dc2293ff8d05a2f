#pragma once

// The table-area editor "添加桌位分类" / "编辑桌位分类".

#include "floor/form_class_edit.h"

class TForm_desk_class_edit : public TClassEditForm {
    Q_OBJECT
public:
    TForm_desk_class_edit() : TClassEditForm(TClassKind::TableArea) {}
};
