#pragma once

// The dish-category list "菜品分类"; a deleted category is removed, its dishes left without one.

#include "floor/pagedlistwindow.h"

class TForm_caipin_class : public TPagedListWindow {
    Q_OBJECT
public:
    TForm_caipin_class();
};
