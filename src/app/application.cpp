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
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), message);
}
