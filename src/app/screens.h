#pragma once

// The screens created after the main window, each once and hidden, in the
// program's order of creation, and the menu entries and tile clicks that open
// them.

#include <memory>

class Tform_main;
class TForm_desk_open;
class TForm_diancan;
class TForm_setting;
class TForm_Orders;
class TForm_orders_detail;
class TForm_report;
struct TMasterDataScreens;

struct TScreens {
    TScreens();
    ~TScreens();
    std::unique_ptr<TForm_diancan> Form_diancan;
    std::unique_ptr<TForm_setting> Form_setting;
    std::unique_ptr<TForm_desk_open> Form_desk_open;
    std::unique_ptr<TMasterDataScreens> MasterData;
    std::unique_ptr<TForm_Orders> Form_Orders;
    std::unique_ptr<TForm_orders_detail> Form_orders_detail;
    std::unique_ptr<TForm_report> Form_report;
};

std::unique_ptr<TScreens> CreateScreens(Tform_main& mainWindow);
