#include "common/ui/qtmessenger.h"

#include "common/ui/showcentred.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

QPointer<QWidget> g_owner;

QWidget* boxOwner() {
    QWidget* parent = TMessageOwner::Current();
    return parent ? parent : QApplication::activeWindow();
}

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

void TQtMessenger::LongInfo(const QString& caption, const QString& text) {
    QDialog* box = NewLongTextBox(caption, text, boxOwner());
    box->exec();
    delete box;
}

QDialog* NewLongTextBox(const QString& caption, const QString& text, QWidget* parent) {
    auto* box = new QDialog(parent);
    box->setWindowTitle(caption);
    auto* layout = new QVBoxLayout(box);
    // Plain text, whatever the service sent.
    auto* field = new QPlainTextEdit(box);
    field->setReadOnly(true);
    field->setPlainText(text);
    field->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    layout->addWidget(field);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, box);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, box, &QDialog::accept);
    layout->addWidget(buttons);
    // As large as a short text needs, half the screen at most; longer texts scroll.
    const QScreen* screen = parent ? parent->screen() : QApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    const QFontMetrics metrics(field->font());
    const QRect needed =
        metrics.boundingRect(QRect(0, 0, area.width() / 2, 1 << 20), Qt::TextWordWrap, text);
    const int width = qBound(360, needed.width() + 60, qMax(360, area.width() / 2));
    const int height = qBound(160, needed.height() + 110, qMax(160, area.height() / 2));
    box->resize(width, height);
    FitOnScreen(box, parent);
    return box;
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
