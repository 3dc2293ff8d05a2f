#pragma once

// One blocking download over libcurl into a file. What this program downloads
// are programs it starts, so only https is used (also across redirects) and
// the body must be an ELF program of this machine. The body goes to a
// temporary file beside the target, which replaces the target only when the
// transfer is complete, was answered with a 2xx status and passed the checks;
// otherwise the target stays as it was. Runs on any thread; the events are
// called on the downloading thread.

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>

struct TDownloadEvents {
    // The first bytes of a 2xx answer arrived; total is -1 when not announced.
    std::function<void(int64_t total)> begin;
    // Bytes received so far.
    std::function<void(int64_t done, int64_t total)> work;
    // Set from another thread to give up; the target stays as it was.
    const std::atomic<bool>* cancel = nullptr;
};

// Adjustments for tests only (short time-outs, a test CA).
struct TDownloadTuning {
    int connectTimeoutMs = 5000; // name lookup and connection
    int readTimeoutMs = 3600;    // longest wait for the next byte
    QString caFile;              // CA file trusted instead of the system store when set
};
void SetDownloadTuning(const TDownloadTuning& tuning);

enum class TDownloadResult {
    Done,    // target holds the new program, made executable
    Failed,  // no complete 2xx answer arrived
    Refused, // not https, or not a program of this machine, or another version
};

// With version set, the program's version note must say exactly that.
TDownloadResult DownloadFile(const QString& url, const QString& target,
                             const TDownloadEvents& events = {}, const QString& version = {});

// Notification texts of a download titled title ("组件" when empty).
QString DownloadBeginText(const QString& title);
// With total unknown (< 1) the text says how much arrived instead of a percentage.
QString DownloadWorkText(const QString& title, int64_t done, int64_t total);
QString DownloadEndText(const QString& title);
