#pragma once

// Downloads in the background, one thread each, at most one per target file:
// a second request for a file still being downloaded is refused. Progress and
// the outcome are signalled on the thread that owns this object (the
// user-interface thread), coalesced so a fast transfer cannot flood it.
// Destroying the object cancels what still runs and waits for it.

#include <QObject>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <thread>

class TDownloads : public QObject {
    Q_OBJECT
public:
    explicit TDownloads(QObject* parent = nullptr);
    ~TDownloads() override;

    // False (and nothing started) when url is empty or target is being
    // downloaded. With version set, the program must carry that version.
    bool Start(const QString& url, const QString& target, const QString& version = {});
    bool IsRunning(const QString& target) const;

signals:
    void Began(const QString& target, qint64 total);
    void Progress(const QString& target, qint64 done, qint64 total);
    // A download refused by its checks is Refused, then Finished with ok false.
    void Refused(const QString& target);
    void Finished(const QString& target, bool ok);

private:
    struct TJob;
    void deliverProgress(const std::shared_ptr<TJob>& job);
    void finish(const QString& key);

    std::map<QString, std::shared_ptr<TJob>> FJobs;
};

// The key a target is known by: its absolute path.
QString DownloadKey(const QString& target);
