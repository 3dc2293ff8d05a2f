#pragma once

// The table list "桌位管理": tables not deleted, soft deletion (refused while the table has an
// open bill), "桌位分类" opens the area list.

#include "floor/pagedlistwindow.h"

class TForm_desk : public TPagedListWindow {
    Q_OBJECT
public:
    TForm_desk();
};
