#include "floor/form_desk.h"

#include "floor/listconfig.h"

TForm_desk::TForm_desk()
    : TPagedListWindow(DeskListConfig(), QStringLiteral("Form_desk"), QStringLiteral("桌位管理"),
                       QStringLiteral("添加桌位"), QStringLiteral("桌位分类")) {}
