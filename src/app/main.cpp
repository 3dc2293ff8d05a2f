#include "app/application.h"
#include "app/program.h"
#include "floor/form_main.h"

int main(int argc, char* argv[]) {
    TApplication app(argc, argv);
    InitProgram();

    // Every screen is created once, hidden, main window first; its creation is
    // the start-up sequence and ends before any other screen exists.
    const auto mainWindow = CreateMainWindow();
    // The other screens follow here, in this order: TForm_diancan, TForm_setting,
    // TForm_desk_open, TForm_desk, TForm_caipin, TForm_caipin_edit, TForm_caipin_class,
    // TForm_caipin_class_edit, TForm_desk_edit, TForm_desk_class, TForm_desk_class_edit,
    // TForm_Orders, TForm_orders_detail.

    return RunMessageLoop(app, *mainWindow);
}
