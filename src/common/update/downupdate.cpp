#include "common/update/downupdate.h"

#include "common/ui/laybox.h"
#include "common/ui/laymsg.h"
#include "common/update/download.h"
#include "common/update/downloads.h"
#include "common/update/updatevalues.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace {

// The notification stays until the download ends.
constexpr int32_t kWhileLoading = 1800000;

// Parented to the application, so running downloads are cancelled and waited
// for before the application goes.
TDownloads* downloads() {
    static QPointer<TDownloads> instance;
    if (!instance)
        instance = new TDownloads(QCoreApplication::instance());
    return instance;
}

void ensureTitle() {
    if (loadtit.isEmpty())
        loadtit = QStringLiteral("组件");
}

} // namespace

bool DownloadRunning(const QString& fname) {
    return downloads()->IsRunning(fname);
}

QString DownloadRefusedText(const QString& title) {
    return (title.isEmpty() ? QStringLiteral("组件") : title) +
           QStringLiteral("下载已拒绝：文件不是来自安全连接的本机程序或版本不符，原文件保持不变");
}

bool downupdate(const QString& picurl, const QString& fname, QWidget* window,
                std::function<void(bool ok)> done, const QString& version) {
    TDownloads* all = downloads();
    if (!all->Start(picurl, fname, version))
        return false;
    const QString key = DownloadKey(fname);
    QPointer<QWidget> shownOn = window;
    // Lives as long as this download; its connections go with it.
    auto* watch = new QObject(all);
    // Each download counts against its own size; allsize only mirrors the latest.
    auto size = std::make_shared<qint64>(-1);
    QObject::connect(all, &TDownloads::Began, watch,
                     [key, shownOn, size](const QString& t, qint64 n) {
                         if (DownloadKey(t) != key)
                             return;
                         ensureTitle();
                         *size = n;
                         allsize = n;
                         laymsg(DownloadBeginText(loadtit), kWhileLoading, shownOn);
                     });
    QObject::connect(all, &TDownloads::Progress, watch,
                     [key, shownOn, size](const QString& t, qint64 received, qint64) {
                         if (DownloadKey(t) != key)
                             return;
                         ensureTitle();
                         laymsg(DownloadWorkText(loadtit, received, *size), kWhileLoading, shownOn);
                     });
    QObject::connect(all, &TDownloads::Refused, watch, [key, shownOn](const QString& t) {
        if (DownloadKey(t) != key)
            return;
        ensureTitle();
        laybox(DownloadRefusedText(loadtit), shownOn);
    });
    QObject::connect(
        all, &TDownloads::Finished, watch, [key, shownOn, watch, done](const QString& t, bool ok) {
            if (DownloadKey(t) != key)
                return;
            ensureTitle();
            if (ok) {
                laymsg(DownloadEndText(loadtit), 3, shownOn);
            } else if (QLabel* pan = mypan();
                       pan && pan->text().startsWith(loadtit + QStringLiteral("加载中"))) {
                mymsgtime = 0;
                pan->hide();
            }
            watch->deleteLater();
            if (done)
                done(ok);
        });
    return true;
}
