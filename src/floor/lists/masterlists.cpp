#include "floor/lists/masterlists.h"

#include "floor/lists/listconfig.h"

TForm_caipin::TForm_caipin()
    : TPagedListWindow(DishListConfig(), QStringLiteral("Form_caipin"), QStringLiteral("菜品管理"),
                       QStringLiteral("添加菜品"), QStringLiteral("菜品分类")) {}

TForm_desk::TForm_desk()
    : TPagedListWindow(DeskListConfig(), QStringLiteral("Form_desk"), QStringLiteral("桌位管理"),
                       QStringLiteral("添加桌位"), QStringLiteral("桌位分类")) {}

TForm_caipin_class::TForm_caipin_class()
    : TPagedListWindow(DishClassListConfig(), QStringLiteral("Form_caipin_class"),
                       QStringLiteral("菜品分类"), QStringLiteral("添加分类"), QString()) {}

TForm_desk_class::TForm_desk_class()
    : TPagedListWindow(DeskClassListConfig(), QStringLiteral("Form_desk_class"),
                       QStringLiteral("桌位分类"), QStringLiteral("添加分类"), QString()) {}
