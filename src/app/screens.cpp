#include "app/screens.h"

#include "billing/form_setting.h"
#include "common/ui/showcentred.h"
#include "floor/form_main.h"

#include <QAction>

TScreens::TScreens() = default;
TScreens::~TScreens() = default;

std::unique_ptr<TScreens> CreateScreens(Tform_main& mainWindow) {
    auto screens = std::make_unique<TScreens>();
    // Order of creation: TForm_diancan, TForm_setting, TForm_desk_open, TForm_desk,
    // TForm_caipin, TForm_caipin_edit, TForm_caipin_class, TForm_caipin_class_edit,
    // TForm_desk_edit, TForm_desk_class, TForm_desk_class_edit, TForm_Orders,
    // TForm_orders_detail. Screens not built yet have no place below.
    screens->Form_setting = std::make_unique<TForm_setting>();
    screens->Form_setting->FormCreate();

    TForm_setting* setting = screens->Form_setting.get();
    if (QAction* entry = mainWindow.MenuAction(QStringLiteral("N7")))
        QObject::connect(entry, &QAction::triggered, setting,
                         [setting, &mainWindow] { ShowCentred(setting, &mainWindow); });
    return screens;
}
