#pragma once

// The table-area list "桌位分类"; a deleted area is removed, its tables left without one.

#include "floor/pagedlistwindow.h"

class TForm_desk_class : public TPagedListWindow {
    Q_OBJECT
public:
    TForm_desk_class();
};
