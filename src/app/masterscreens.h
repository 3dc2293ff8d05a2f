#pragma once

// The master-data screens: the table and dish lists, their editors and the
// category and area lists, created once in the program's order and wired to
// the menu, to each other, to the floor and to the ordering screen.

#include <memory>

class Tform_main;
class TForm_caipin;
class TForm_caipin_class;
class TForm_caipin_class_edit;
class TForm_caipin_edit;
class TForm_desk;
class TForm_desk_class;
class TForm_desk_class_edit;
class TForm_desk_edit;
class TForm_diancan;

struct TMasterDataScreens {
    TMasterDataScreens();
    ~TMasterDataScreens();
    std::unique_ptr<TForm_desk> Form_desk;
    std::unique_ptr<TForm_caipin> Form_caipin;
    std::unique_ptr<TForm_caipin_edit> Form_caipin_edit;
    std::unique_ptr<TForm_caipin_class> Form_caipin_class;
    std::unique_ptr<TForm_caipin_class_edit> Form_caipin_class_edit;
    std::unique_ptr<TForm_desk_edit> Form_desk_edit;
    std::unique_ptr<TForm_desk_class> Form_desk_class;
    std::unique_ptr<TForm_desk_class_edit> Form_desk_class_edit;
};

// "桌位管理" (N8) shows the table list, "菜品管理" (N9) the dish list. After a
// save or a delete the lists reload, tables and areas rebuild the floor, and
// dishes and dish categories reload the ordering screen.
std::unique_ptr<TMasterDataScreens> CreateMasterDataScreens(Tform_main& mainWindow,
                                                            TForm_diancan& diancan);
