#include "floor/form_caipin.h"

#include "floor/listconfig.h"

TForm_caipin::TForm_caipin()
    : TPagedListWindow(DishListConfig(), QStringLiteral("Form_caipin"), QStringLiteral("菜品管理"),
                       QStringLiteral("添加菜品"), QStringLiteral("菜品分类")) {}
