#pragma once

// The message seam shown as QMessageBox: one OK button, OK/Cancel or Yes/No,
// with the button texts of a Chinese desktop.

#include "common/messages.h"

#include <QPointer>
#include <QWidget>

class TQtMessenger : public TMessenger {
public:
    void Info(const QString& caption, const QString& text) override;
    bool OkCancel(const QString& caption, const QString& text) override;
    bool YesNo(const QString& caption, const QString& text) override;
};

// While one lives, boxes of the seam are owned by the given window; otherwise
// by the active window.
class TMessageOwner {
public:
    explicit TMessageOwner(QWidget* owner);
    ~TMessageOwner();
    TMessageOwner(const TMessageOwner&) = delete;
    TMessageOwner& operator=(const TMessageOwner&) = delete;

    static QWidget* Current();

private:
    QPointer<QWidget> FPrevious;
};
