#include "common/update/updatequery.h"

#include "common/gethtmlbounded.h"
#include "common/update/updateanswer.h"

#include <QMetaObject>
#include <QObject>

#include <memory>
#include <mutex>
#include <thread>

namespace {

// The way back to context: cleared under the lock when context is destroyed,
// so the thread never posts to an object that is gone.
struct TMailbox {
    std::mutex mutex;
    QObject* context = nullptr;
};

} // namespace

void RequestUpdateAnswer(const QString& base, QObject* context,
                         std::function<void(const TUpdateReply& reply)> done) {
    if (!context)
        return;
    const QString url = UpdateQueryUrl(base);
    if (url.isEmpty()) {
        QMetaObject::invokeMethod(
            context,
            [done] {
                done({TUpdateReply::TKind::NotConfigured, QString()});
            },
            Qt::QueuedConnection);
        return;
    }
    auto mailbox = std::make_shared<TMailbox>();
    mailbox->context = context;
    QObject::connect(
        context, &QObject::destroyed, context,
        [mailbox] {
            std::lock_guard lock(mailbox->mutex);
            mailbox->context = nullptr;
        },
        Qt::DirectConnection);
    std::thread([mailbox, url, done] {
        bool tooLong = false;
        TUpdateReply reply;
        reply.text = GetHTMLBounded(url, kMaxUpdateAnswerBytes, tooLong);
        reply.kind = tooLong                ? TUpdateReply::TKind::TooLong
                     : reply.text.isEmpty() ? TUpdateReply::TKind::NoAnswer
                                            : TUpdateReply::TKind::Answered;
        std::lock_guard lock(mailbox->mutex);
        if (mailbox->context)
            QMetaObject::invokeMethod(
                mailbox->context, [done, reply] { done(reply); }, Qt::QueuedConnection);
    }).detach();
}
