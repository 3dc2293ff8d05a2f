#pragma once

// The libcurl handle every HTTP request of the program starts from: plain
// http and https only (also across redirects, 15 at most), HTTP/1.1, the
// browser user agent, certificates and host names verified with libcurl's
// current TLS defaults, connecting bounded, no signals.

#include <QByteArray>

#include <curl/curl.h>

#include <memory>

struct TCurlFree {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

using TCurlHandle = std::unique_ptr<CURL, TCurlFree>;

// A handle for url, trusting caFile instead of the system store when it is
// not empty; nullptr when libcurl cannot start. libcurl copies the texts.
TCurlHandle NewCurlHandle(const QByteArray& url, const QByteArray& caFile, long connectTimeoutMs);
