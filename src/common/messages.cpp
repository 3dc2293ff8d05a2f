#include "common/messages.h"

#include <QStringList>

#include <cstdio>

namespace {

class TConsoleMessenger : public TMessenger {
public:
    void Info(const QString& caption, const QString& text) override { print(caption, text); }
    bool OkCancel(const QString& caption, const QString& text) override {
        print(caption, text);
        return false;
    }
    bool YesNo(const QString& caption, const QString& text) override {
        print(caption, text);
        return false;
    }

private:
    static void print(const QString& caption, const QString& text) {
        std::fprintf(stderr, "%s: %s\n", caption.toUtf8().constData(), text.toUtf8().constData());
    }
};

TConsoleMessenger g_console;
TMessenger* g_current = nullptr;

} // namespace

TMessenger& Messages() {
    return g_current ? *g_current : g_console;
}

void SetMessenger(TMessenger* m) {
    g_current = m;
}

void TRecordingMessenger::Info(const QString& caption, const QString& text) {
    Calls.append({TMessageKind::Info, caption, text});
}

void TRecordingMessenger::LongInfo(const QString& caption, const QString& text) {
    Calls.append({TMessageKind::LongInfo, caption, text});
}

bool TRecordingMessenger::OkCancel(const QString& caption, const QString& text) {
    Calls.append({TMessageKind::OkCancel, caption, text});
    return answer();
}

bool TRecordingMessenger::YesNo(const QString& caption, const QString& text) {
    Calls.append({TMessageKind::YesNo, caption, text});
    return answer();
}

bool TRecordingMessenger::answer() {
    return Answers.isEmpty() ? DefaultAnswer : Answers.takeFirst();
}

QStringList TRecordingMessenger::Texts() const {
    QStringList texts;
    for (const Call& c : Calls)
        texts << c.text;
    return texts;
}
