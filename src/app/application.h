#pragma once

// The application object. An exception that leaves an event handler is shown
// in an error box and ends only that handler, instead of the whole program.

#include <QApplication>

#include <functional>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows the message of an exception no handler caught; replaceable in tests.
    static std::function<void(const QString& message)> ErrorBox;
};

// The default error box: a critical message box over the active window.
void ShowUncaughtError(const QString& message);
