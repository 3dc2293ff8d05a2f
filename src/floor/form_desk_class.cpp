#include "floor/form_desk_class.h"

#include "floor/listconfig.h"

TForm_desk_class::TForm_desk_class()
    : TPagedListWindow(DeskClassListConfig(), QStringLiteral("Form_desk_class"),
                       QStringLiteral("桌位分类"), QStringLiteral("添加分类"), QString()) {}
