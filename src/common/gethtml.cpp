#include "common/myfun.h"

#include "common/curlhandle.h"
#include "common/gethtml_internal.h"
#include "common/gethtmlbounded.h"

#include <QUrl>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>

// One blocking GET over libcurl with its current TLS defaults; certificates and
// host names are verified. Plain http and https only, also across redirects.

namespace {

using Clock = std::chrono::steady_clock;

TGetHTMLTuning& tuning() {
    static TGetHTMLTuning current;
    return current;
}

struct TTransfer {
    std::string body;
    size_t maxBytes = 0; // 0: no bound
    bool tooLong = false;
    Clock::time_point lastData = Clock::now();
    std::chrono::milliseconds readTimeout{0};
};

size_t onData(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<TTransfer*>(user);
    if (transfer->maxBytes && size * count > transfer->maxBytes - transfer->body.size()) {
        // Stops the transfer: nothing beyond the bound is read.
        transfer->tooLong = true;
        return 0;
    }
    transfer->body.append(data, size * count);
    transfer->lastData = Clock::now();
    return size * count;
}

// A read time-out, not a limit on the whole transfer: gives up only when no
// byte has arrived for readTimeout.
int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* transfer = static_cast<const TTransfer*>(user);
    return Clock::now() - transfer->lastData > transfer->readTimeout ? 1 : 0;
}

// A header value must stay on its own line.
bool oneLine(const QString& value) {
    return !value.contains(QLatin1Char('\r')) && !value.contains(QLatin1Char('\n'));
}

} // namespace

void SetGetHTMLTuning(const TGetHTMLTuning& value) {
    tuning() = value;
}

namespace {

QString fetch(const QString& URL, const QString& Referer, const QString& Cookies, int32_t Encoding,
              size_t maxBytes, bool& tooLong) {
    tooLong = false;
    if (!oneLine(URL) || !oneLine(Referer) || !oneLine(Cookies))
        return QString();
    // Non-ASCII characters and blanks in the address are sent percent-encoded.
    const TCurlHandle curl =
        NewCurlHandle(QUrl(URL).toEncoded(), tuning().caFile.toUtf8(), tuning().connectTimeoutMs);
    if (!curl)
        return QString();
    CURL* h = curl.get();
    const QByteArray referer = Referer.toUtf8();

    // Appending to a list keeps its head, so the list stays owned throughout.
    std::unique_ptr<curl_slist, TCurlFree> headers(curl_slist_append(nullptr, "Accept: */*"));
    if (!headers)
        return QString();
    if (!Cookies.isEmpty()) {
        const QByteArray line = QByteArrayLiteral("Cookie:") + Cookies.toUtf8();
        if (!curl_slist_append(headers.get(), line.constData()))
            return QString();
    }

    TTransfer transfer;
    transfer.maxBytes = maxBytes;
    transfer.readTimeout = std::chrono::milliseconds(tuning().readTimeoutMs);

    curl_easy_setopt(h, CURLOPT_COOKIEFILE, ""); // cookie engine, in memory only
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    if (!Referer.isEmpty())
        curl_easy_setopt(h, CURLOPT_REFERER, referer.constData());
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, onData);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);

    const CURLcode code = curl_easy_perform(h);
    tooLong = transfer.tooLong;
    if (code != CURLE_OK)
        return QString();
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    if (status >= 400)
        return QString();

    const auto size = qsizetype(transfer.body.size());
    return Encoding == 65001 ? QString::fromUtf8(transfer.body.data(), size)
                             : QString::fromLocal8Bit(transfer.body.data(), size);
}

} // namespace

QString GetHTML(const QString& URL, const QString& Referer, const QString& Cookies,
                int32_t Encoding) {
    bool tooLong = false;
    return fetch(URL, Referer, Cookies, Encoding, 0, tooLong);
}

QString GetHTMLBounded(const QString& URL, qsizetype maxBytes, bool& tooLong) {
    return fetch(URL, QString(), QString(), 65001, size_t(std::max<qsizetype>(maxBytes, 1)),
                 tooLong);
}
