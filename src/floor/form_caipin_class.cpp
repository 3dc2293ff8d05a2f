#include "floor/form_caipin_class.h"

#include "floor/listconfig.h"

TForm_caipin_class::TForm_caipin_class()
    : TPagedListWindow(DishClassListConfig(), QStringLiteral("Form_caipin_class"),
                       QStringLiteral("菜品分类"), QStringLiteral("添加分类"), QString()) {}
