#include "app/masterscreens.h"

#include "common/ui/showcentred.h"
#include "floor/editors/form_caipin_edit.h"
#include "floor/editors/form_class_edit.h"
#include "floor/editors/form_desk_edit.h"
#include "floor/lists/masterlists.h"
#include "floor/view/form_main.h"
#include "ordering/form_diancan.h"

#include <QAction>

namespace {

// A list opens its editor and its related list; the editor's save reloads it.
template <typename List, typename Editor>
void wireList(List* list, Editor* editor, Tform_main& mainWindow) {
    QObject::connect(list, &List::AddRequested, editor,
                     [editor, &mainWindow] { editor->OpenFor(0, &mainWindow); });
    QObject::connect(list, &List::EditRequested, editor,
                     [editor, &mainWindow](int32_t id) { editor->OpenFor(id, &mainWindow); });
    QObject::connect(editor, &Editor::Saved, list, &List::btnRefreshClick);
}

void showOnMenu(Tform_main& mainWindow, const char* name, QWidget* screen) {
    if (QAction* entry = mainWindow.MenuAction(QString::fromLatin1(name)))
        QObject::connect(entry, &QAction::triggered, screen,
                         [screen, &mainWindow] { ShowCentred(screen, &mainWindow); });
}

} // namespace

TMasterDataScreens::TMasterDataScreens() = default;
TMasterDataScreens::~TMasterDataScreens() = default;

std::unique_ptr<TMasterDataScreens> CreateMasterDataScreens(Tform_main& mainWindow,
                                                            TForm_diancan& diancan) {
    auto s = std::make_unique<TMasterDataScreens>();
    s->Form_desk = std::make_unique<TForm_desk>();
    s->Form_caipin = std::make_unique<TForm_caipin>();
    s->Form_caipin_edit = std::make_unique<TForm_caipin_edit>();
    s->Form_caipin_class = std::make_unique<TForm_caipin_class>();
    s->Form_caipin_class_edit = std::make_unique<TForm_caipin_class_edit>();
    s->Form_desk_edit = std::make_unique<TForm_desk_edit>();
    s->Form_desk_class = std::make_unique<TForm_desk_class>();
    s->Form_desk_class_edit = std::make_unique<TForm_desk_class_edit>();

    TForm_desk* desks = s->Form_desk.get();
    TForm_caipin* dishes = s->Form_caipin.get();
    TForm_caipin_class* dishClasses = s->Form_caipin_class.get();
    TForm_desk_class* deskClasses = s->Form_desk_class.get();
    showOnMenu(mainWindow, "N8", desks);
    showOnMenu(mainWindow, "N9", dishes);
    QObject::connect(desks, &TForm_desk::RelatedRequested, deskClasses,
                     [deskClasses, &mainWindow] { ShowCentred(deskClasses, &mainWindow); });
    QObject::connect(dishes, &TForm_caipin::RelatedRequested, dishClasses,
                     [dishClasses, &mainWindow] { ShowCentred(dishClasses, &mainWindow); });
    wireList(desks, s->Form_desk_edit.get(), mainWindow);
    wireList(dishes, s->Form_caipin_edit.get(), mainWindow);
    wireList(dishClasses, s->Form_caipin_class_edit.get(), mainWindow);
    wireList(deskClasses, s->Form_desk_class_edit.get(), mainWindow);

    // The floor and the ordering screen follow every change at once.
    const auto floor = [&mainWindow] {
        mainWindow.RefreshAllDesks();
    };
    const auto areas = [&mainWindow, desks] {
        mainWindow.RebuildCategoryPanel();
        // The table list names each table's area.
        if (desks->isVisible())
            desks->btnRefreshClick();
    };
    const auto ordering = [&diancan] {
        diancan.RefreshAllData();
    };
    const auto categories = [&diancan, dishes] {
        diancan.RefreshAllData();
        if (dishes->isVisible())
            dishes->btnRefreshClick();
    };
    QObject::connect(desks, &TForm_desk::Changed, &mainWindow, floor);
    QObject::connect(s->Form_desk_edit.get(), &TForm_desk_edit::Saved, &mainWindow, floor);
    QObject::connect(deskClasses, &TForm_desk_class::Changed, &mainWindow, areas);
    QObject::connect(s->Form_desk_class_edit.get(), &TForm_desk_class_edit::Saved, &mainWindow,
                     areas);
    QObject::connect(dishes, &TForm_caipin::Changed, &diancan, ordering);
    QObject::connect(s->Form_caipin_edit.get(), &TForm_caipin_edit::Saved, &diancan, ordering);
    QObject::connect(dishClasses, &TForm_caipin_class::Changed, &diancan, categories);
    QObject::connect(s->Form_caipin_class_edit.get(), &TForm_caipin_class_edit::Saved, &diancan,
                     categories);
    return s;
}
