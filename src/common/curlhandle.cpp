#include "common/curlhandle.h"

namespace {

const char* const UserAgent =
    "Mozilla/5.0 (Windows NT 10.0; WOW64) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/79.0.3945.130 Safari/537.36";

} // namespace

TCurlHandle NewCurlHandle(const QByteArray& url, const QByteArray& caFile, long connectTimeoutMs) {
    static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    if (!ready)
        return nullptr;
    TCurlHandle curl(curl_easy_init());
    if (!curl)
        return nullptr;
    CURL* h = curl.get();
    curl_easy_setopt(h, CURLOPT_URL, url.constData());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 15L);
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(h, CURLOPT_USERAGENT, UserAgent);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!caFile.isEmpty())
        curl_easy_setopt(h, CURLOPT_CAINFO, caFile.constData());
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, connectTimeoutMs);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    return curl;
}
