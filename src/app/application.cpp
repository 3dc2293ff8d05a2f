#include "app/application.h"

#include <QMessageBox>

#include <exception>

std::function<void(const QString& message)> TApplication::ErrorBox = &ShowUncaughtError;

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ErrorBox(QString::fromUtf8(e.what()));
    } catch (...) {
        ErrorBox(QStringLiteral("未知错误"));
    }
    return false;
}

void ShowUncaughtError(const QString& message) {
    // The message may quote a dish or table name: shown as written, never as markup.
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), message,
                    QMessageBox::Ok, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
