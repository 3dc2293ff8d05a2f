#include "common/ui/qtmessenger.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace {

QPointer<QWidget> g_owner;

QMessageBox::StandardButton ask(QMessageBox::Icon icon, const QString& caption, const QString& text,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton accept,
                                QMessageBox::StandardButton cancel) {
    QWidget* parent = TMessageOwner::Current();
    if (!parent)
        parent = QApplication::activeWindow();
    QMessageBox box(icon, caption, text, buttons, parent);
    // Whatever a dish, table or error text holds is shown as typed.
    box.setTextFormat(Qt::PlainText);
    // Enter confirms and Escape cancels, whichever button has the focus.
    box.setDefaultButton(accept);
    box.setEscapeButton(cancel);
    const struct {
        QMessageBox::StandardButton button;
        const char* text;
    } labels[] = {{QMessageBox::Ok, "确定"},
                  {QMessageBox::Cancel, "取消"},
                  {QMessageBox::Yes, "是"},
                  {QMessageBox::No, "否"}};
    for (const auto& label : labels)
        if (QAbstractButton* b = box.button(label.button))
            b->setText(QString::fromUtf8(label.text));
    return QMessageBox::StandardButton(box.exec());
}

} // namespace

void TQtMessenger::Info(const QString& caption, const QString& text) {
    ask(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok);
}

bool TQtMessenger::OkCancel(const QString& caption, const QString& text) {
    return ask(QMessageBox::Question, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
               QMessageBox::Ok, QMessageBox::Cancel) == QMessageBox::Ok;
}

bool TQtMessenger::YesNo(const QString& caption, const QString& text) {
    return ask(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
               QMessageBox::Yes, QMessageBox::No) == QMessageBox::Yes;
}

TMessageOwner::TMessageOwner(QWidget* owner) : FPrevious(g_owner) {
    g_owner = owner;
}

TMessageOwner::~TMessageOwner() {
    g_owner = FPrevious;
}

QWidget* TMessageOwner::Current() {
    return g_owner;
}
