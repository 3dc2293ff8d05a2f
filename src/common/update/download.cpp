#include "common/update/download.h"

#include "common/curlhandle.h"
#include "common/myfun.h"
#include "common/update/programcheck.h"

#include <QFileInfo>
#include <QTemporaryFile>
#include <QUrl>

#include <elf.h>

#include <cstdio>

#include <chrono>
#include <mutex>

namespace {

using Clock = std::chrono::steady_clock;

std::mutex g_tuningMutex;
TDownloadTuning g_tuning;

TDownloadTuning currentTuning() {
    std::lock_guard lock(g_tuningMutex);
    return g_tuning;
}

struct TTransfer {
    CURL* curl = nullptr;
    QFile* file = nullptr;
    QByteArray head; // the first bytes, for the program check
    const TDownloadEvents* events = nullptr;
    Clock::time_point lastData = Clock::now();
    std::chrono::milliseconds readTimeout{0};
    bool begun = false;
    bool failed = false;
    int64_t total = -1;
    int64_t done = 0;
};

bool success(long status) {
    return status >= 200 && status < 300;
}

size_t onData(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<TTransfer*>(user);
    const size_t bytes = size * count;
    t->lastData = Clock::now();
    if (!t->begun) {
        long status = 0;
        curl_easy_getinfo(t->curl, CURLINFO_RESPONSE_CODE, &status);
        // An error page is never written anywhere.
        if (!success(status)) {
            t->failed = true;
            return 0;
        }
        curl_off_t length = -1;
        curl_easy_getinfo(t->curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        t->total = length > 0 ? int64_t(length) : -1;
        t->begun = true;
        if (t->events->begin)
            t->events->begin(t->total);
    }
    if (t->head.size() < qsizetype(sizeof(Elf64_Ehdr)))
        t->head.append(data, qsizetype(std::min(bytes, sizeof(Elf64_Ehdr))));
    if (t->file->write(data, qint64(bytes)) != qint64(bytes)) {
        t->failed = true;
        return 0;
    }
    t->done += int64_t(bytes);
    if (t->events->work)
        t->events->work(t->done, t->total);
    return bytes;
}

// Called at least once a second, also while connecting: gives up when asked
// to, or when no byte arrived for the read time-out once the answer started.
int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* t = static_cast<const TTransfer*>(user);
    if (t->events->cancel && t->events->cancel->load())
        return 1;
    return Clock::now() - t->lastData > t->readTimeout ? 1 : 0;
}

TDownloadResult transfer(const QString& url, QFile& file, const TDownloadEvents& events,
                         QByteArray& head) {
    const TDownloadTuning tuning = currentTuning();
    const TCurlHandle curl =
        NewCurlHandle(QUrl(url).toEncoded(), tuning.caFile.toUtf8(), tuning.connectTimeoutMs);
    if (!curl)
        return TDownloadResult::Failed;
    CURL* h = curl.get();
    // A program that is started must not come over a plain connection.
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "https");

    TTransfer t;
    t.curl = h;
    t.file = &file;
    t.events = &events;
    t.readTimeout = std::chrono::milliseconds(tuning.readTimeoutMs);
    // Connecting has its own bound; the read time-out starts after it.
    t.lastData = Clock::now() + std::chrono::milliseconds(tuning.connectTimeoutMs);

    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, onData);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &t);

    const CURLcode code = curl_easy_perform(h);
    if (code == CURLE_UNSUPPORTED_PROTOCOL)
        return TDownloadResult::Refused;
    if (code != CURLE_OK || t.failed)
        return TDownloadResult::Failed;
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    if (!success(status))
        return TDownloadResult::Failed;
    // A complete answer with an empty body still begins before it ends.
    if (!t.begun && events.begin)
        events.begin(0);
    head = t.head;
    return TDownloadResult::Done;
}

void makeExecutable(QFile& file) {
    // Whoever may read it may run it.
    QFileDevice::Permissions p = file.permissions() | QFileDevice::ReadOwner |
                                 QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    if (p & QFileDevice::ReadGroup)
        p |= QFileDevice::ExeGroup;
    if (p & QFileDevice::ReadOther)
        p |= QFileDevice::ExeOther;
    file.setPermissions(p);
}

QString titled(const QString& title) {
    return title.isEmpty() ? QStringLiteral("组件") : title;
}

} // namespace

void SetDownloadTuning(const TDownloadTuning& tuning) {
    std::lock_guard lock(g_tuningMutex);
    g_tuning = tuning;
}

TDownloadResult DownloadFile(const QString& url, const QString& target,
                             const TDownloadEvents& events, const QString& version) {
    if (url.trimmed().isEmpty() || target.isEmpty())
        return TDownloadResult::Failed;
    if (QUrl(url.trimmed()).scheme().toLower() != QLatin1String("https"))
        return TDownloadResult::Refused;
    // Beside the target, so the rename below stays on one file system; removed
    // again unless it became the target.
    QTemporaryFile file(QFileInfo(target).absoluteFilePath() + QStringLiteral(".XXXXXX"));
    if (!file.open())
        return TDownloadResult::Failed;
    QByteArray head;
    const TDownloadResult got = transfer(url, file, events, head);
    if (got != TDownloadResult::Done)
        return got;
    if (!file.flush())
        return TDownloadResult::Failed;
    if (!IsProgramOfThisMachine(head) ||
        (!version.isEmpty() && GetVersion(file.fileName()) != version))
        return TDownloadResult::Refused;
    makeExecutable(file);
    file.close();
    if (std::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(target).constData()) != 0)
        return TDownloadResult::Failed;
    file.setAutoRemove(false);
    return TDownloadResult::Done;
}

QString DownloadBeginText(const QString& title) {
    return titled(title) + QStringLiteral("加载中(00.00%)");
}

QString DownloadWorkText(const QString& title, int64_t done, int64_t total) {
    if (total < 1) {
        const double mb = double(done) / (1024.0 * 1024.0);
        return titled(title) + QStringLiteral("加载中(已接收%1MB)").arg(mb, 0, 'f', 2);
    }
    const double percent = double(done) / double(total) * 100.0;
    return titled(title) + QStringLiteral("加载中(%1%)").arg(percent, 0, 'f', 2);
}

QString DownloadEndText(const QString& title) {
    return titled(title) + QStringLiteral("加载完成(100.00%)");
}
