#include "ordering/modalrunner.h"

#include <QDialog>

namespace {

TModalRunner& installed() {
    static TModalRunner runner;
    return runner;
}

} // namespace

int RunModal(QDialog& dialog) {
    if (const TModalRunner& runner = installed())
        return runner(dialog);
    return dialog.exec();
}

void SetModalRunner(TModalRunner runner) {
    installed() = std::move(runner);
}
