#pragma once

// The dish list "菜品管理": dishes not deleted, soft deletion, "菜品分类" opens the category list.

#include "floor/pagedlistwindow.h"

class TForm_caipin : public TPagedListWindow {
    Q_OBJECT
public:
    TForm_caipin();
};
