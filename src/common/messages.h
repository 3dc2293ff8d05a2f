#pragma once

// Every message box and question goes through this widget-free interface so
// model code can ask and tell, and tests can answer and check what was asked.

#include <QList>
#include <QString>

enum class TMessageKind { Info, LongInfo, OkCancel, YesNo };

class TMessenger {
public:
    virtual ~TMessenger() = default;
    // A box with one OK button.
    virtual void Info(const QString& caption, const QString& text) = 0;
    // A box with one OK button for a text that may be long (one from the
    // network): it fits the screen and scrolls.
    virtual void LongInfo(const QString& caption, const QString& text) { Info(caption, text); }
    // True when OK was chosen.
    virtual bool OkCancel(const QString& caption, const QString& text) = 0;
    // True when Yes was chosen.
    virtual bool YesNo(const QString& caption, const QString& text) = 0;
};

// The installed messenger. Until one is installed, messages go to standard
// error and every question is answered with Cancel / No.
TMessenger& Messages();
// Installs m (not owned); nullptr restores the default.
void SetMessenger(TMessenger* m);

// The caption of every box of the program.
inline QString MessageCaption() {
    return QStringLiteral("友情提示");
}

// Records every call and answers questions from a queue (true when empty
// unless DefaultAnswer is changed).
class TRecordingMessenger : public TMessenger {
public:
    struct Call {
        TMessageKind kind;
        QString caption;
        QString text;
    };

    void Info(const QString& caption, const QString& text) override;
    void LongInfo(const QString& caption, const QString& text) override;
    bool OkCancel(const QString& caption, const QString& text) override;
    bool YesNo(const QString& caption, const QString& text) override;

    QList<Call> Calls;
    QList<bool> Answers;
    bool DefaultAnswer = true;

    QStringList Texts() const;

private:
    bool answer();
};
