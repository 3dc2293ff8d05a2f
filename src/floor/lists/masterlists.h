#pragma once

// The four master-data lists on the paged-list design; each only chooses its
// list, its captions and its related list.

#include "floor/lists/pagedlistwindow.h"

// The dish list "菜品管理": dishes not deleted, soft deletion, "菜品分类" opens the category list.
class TForm_caipin : public TPagedListWindow {
    Q_OBJECT
public:
    TForm_caipin();
};

// The table list "桌位管理": tables not deleted, soft deletion (refused while the table has an
// open bill), "桌位分类" opens the area list.
class TForm_desk : public TPagedListWindow {
    Q_OBJECT
public:
    TForm_desk();
};

// The dish-category list "菜品分类"; a deleted category is removed, its dishes left without one.
class TForm_caipin_class : public TPagedListWindow {
    Q_OBJECT
public:
    TForm_caipin_class();
};

// The table-area list "桌位分类"; a deleted area is removed, its tables left without one.
class TForm_desk_class : public TPagedListWindow {
    Q_OBJECT
public:
    TForm_desk_class();
};
