#include "common/update/downloads.h"

#include "common/update/download.h"

#include <QFileInfo>
#include <QMetaObject>

#include <atomic>

struct TDownloads::TJob {
    QString target;
    std::atomic<bool> cancel{false};
    std::atomic<int64_t> done{0};
    std::atomic<int64_t> total{-1};
    // Set while a progress delivery is queued, so only the latest count travels.
    std::atomic<bool> progressQueued{false};
    std::thread thread;
};

QString DownloadKey(const QString& target) {
    return QFileInfo(target).absoluteFilePath();
}

TDownloads::TDownloads(QObject* parent) : QObject(parent) {}

TDownloads::~TDownloads() {
    for (auto& [key, job] : FJobs)
        job->cancel = true;
    for (auto& [key, job] : FJobs)
        if (job->thread.joinable())
            job->thread.join();
}

bool TDownloads::IsRunning(const QString& target) const {
    return FJobs.count(DownloadKey(target)) != 0;
}

bool TDownloads::Start(const QString& url, const QString& target, const QString& version) {
    const QString key = DownloadKey(target);
    if (url.trimmed().isEmpty() || target.isEmpty() || FJobs.count(key))
        return false;
    auto job = std::make_shared<TJob>();
    job->target = target;
    FJobs[key] = job;
    // The thread is joined by the destructor, so `this` outlives it; queued
    // deliveries still waiting when the object goes are dropped by Qt.
    job->thread = std::thread([this, job, url, key, version] {
        TDownloadEvents events;
        events.cancel = &job->cancel;
        events.begin = [this, job](int64_t total) {
            job->total = total;
            QMetaObject::invokeMethod(
                this, [this, job, total] { emit Began(job->target, total); }, Qt::QueuedConnection);
        };
        events.work = [this, job](int64_t done, int64_t) {
            job->done = done;
            if (!job->progressQueued.exchange(true))
                QMetaObject::invokeMethod(
                    this, [this, job] { deliverProgress(job); }, Qt::QueuedConnection);
        };
        const TDownloadResult result = DownloadFile(url, job->target, events, version);
        if (job->cancel)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, key, result] {
                const auto it = FJobs.find(key);
                if (it == FJobs.end())
                    return;
                const QString done = it->second->target;
                finish(key);
                if (result == TDownloadResult::Refused)
                    emit Refused(done);
                emit Finished(done, result == TDownloadResult::Done);
            },
            Qt::QueuedConnection);
    });
    return true;
}

void TDownloads::deliverProgress(const std::shared_ptr<TJob>& job) {
    job->progressQueued = false;
    emit Progress(job->target, job->done, job->total);
}

void TDownloads::finish(const QString& key) {
    const auto it = FJobs.find(key);
    if (it == FJobs.end())
        return;
    if (it->second->thread.joinable())
        it->second->thread.join();
    FJobs.erase(it);
}
