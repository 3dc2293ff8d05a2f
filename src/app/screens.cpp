#include "app/screens.h"

#include "app/backupcommands.h"
#include "app/masterscreens.h"
#include "app/supportcommands.h"
#include "billing/orders/form_orders.h"
#include "billing/orders/form_orders_detail.h"
#include "billing/printing/form_setting.h"
#include "billing/table/form_desk_open.h"
#include "common/ui/showcentred.h"
#include "floor/view/form_main.h"
#include "ordering/form_diancan.h"
#include "report/form_report.h"

#include <QAction>

TScreens::TScreens() = default;
TScreens::~TScreens() = default;

std::unique_ptr<TScreens> CreateScreens(Tform_main& mainWindow) {
    auto screens = std::make_unique<TScreens>();
    // Order of creation: TForm_diancan, TForm_setting, TForm_desk_open, TForm_desk,
    // TForm_caipin, TForm_caipin_edit, TForm_caipin_class, TForm_caipin_class_edit,
    // TForm_desk_edit, TForm_desk_class, TForm_desk_class_edit, TForm_Orders,
    // TForm_orders_detail (the lists and editors of master data in
    // CreateMasterDataScreens), then TForm_report. Screens not built yet have
    // no place below.
    screens->Form_diancan = std::make_unique<TForm_diancan>();
    screens->Form_diancan->FormCreate();
    screens->Form_setting = std::make_unique<TForm_setting>();
    screens->Form_setting->FormCreate();

    screens->Form_desk_open = std::make_unique<TForm_desk_open>();
    screens->MasterData = CreateMasterDataScreens(mainWindow, *screens->Form_diancan);
    screens->Form_Orders = std::make_unique<TForm_Orders>();
    screens->Form_orders_detail = std::make_unique<TForm_orders_detail>();
    screens->Form_report = std::make_unique<TForm_report>();

    // "在线升级", "创建桌面快捷访问", "远程协助" and "帮助文档".
    WireSupportCommands(mainWindow);

    // "订单管理" shows the order history; its detail cell opens the order.
    TForm_Orders* orders = screens->Form_Orders.get();
    TForm_orders_detail* detail = screens->Form_orders_detail.get();
    if (QAction* entry = mainWindow.MenuAction(QStringLiteral("N3")))
        QObject::connect(entry, &QAction::triggered, orders,
                         [orders, &mainWindow] { ShowCentred(orders, &mainWindow); });
    QObject::connect(
        orders, &TForm_Orders::OrderDetailRequested, detail,
        [detail, &mainWindow](const QString& id) { detail->OpenFor(id, &mainWindow); });

    // "营业统计" shows the business summary, starting at today.
    TForm_report* report = screens->Form_report.get();
    if (QAction* entry = mainWindow.MenuAction(QStringLiteral("N12")))
        QObject::connect(entry, &QAction::triggered, report,
                         [report, &mainWindow] { ShowCentred(report, &mainWindow); });

    TForm_setting* setting = screens->Form_setting.get();
    WireBackupCommands(*setting);
    if (QAction* entry = mainWindow.MenuAction(QStringLiteral("N7")))
        QObject::connect(entry, &QAction::triggered, setting,
                         [setting, &mainWindow] { ShowCentred(setting, &mainWindow); });

    // A tile click opens the table window for that table; it repaints tiles.
    TForm_desk_open* deskOpen = screens->Form_desk_open.get();
    QObject::connect(
        &mainWindow, &Tform_main::DeskClicked, deskOpen,
        [deskOpen, &mainWindow](int32_t id) { deskOpen->OpenForDesk(id, &mainWindow); });
    QObject::connect(deskOpen, &TForm_desk_open::DeskInfoChanged, &mainWindow,
                     &Tform_main::UpdateDeskInfo);

    // "下单点餐" runs the ordering screen modally for the table; a confirmation
    // there reloads the table window and repaints the tile.
    TForm_diancan* diancan = screens->Form_diancan.get();
    deskOpen->SetOrderScreen(
        [diancan, &mainWindow](int32_t id) { diancan->OpenForDesk(id, &mainWindow); });
    diancan->SetAfterConfirmation(
        [deskOpen, diancan] { deskOpen->AfterConfirmation(diancan->DeskID()); });
    diancan->SetTileRepaint([&mainWindow](int32_t id, const QString& title, const QString& bh,
                                          const QString& nums, const QString& stat, double price) {
        mainWindow.UpdateDeskInfo(id, title, bh, nums, stat, price);
    });
    return screens;
}
