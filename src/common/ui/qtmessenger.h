#pragma once

// The message seam shown as QMessageBox: one OK button, OK/Cancel or Yes/No,
// with the button texts of a Chinese desktop.

#include "common/messages.h"

#include <QPointer>
#include <QWidget>

class TQtMessenger : public TMessenger {
public:
    void Info(const QString& caption, const QString& text) override;
    void LongInfo(const QString& caption, const QString& text) override;
    bool OkCancel(const QString& caption, const QString& text) override;
    bool YesNo(const QString& caption, const QString& text) override;
};

class QDialog;

// The box of LongInfo, not yet shown: the text read-only in a scrolling field
// and 确定, sized to the text but never beyond the available screen.
QDialog* NewLongTextBox(const QString& caption, const QString& text, QWidget* parent);

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
