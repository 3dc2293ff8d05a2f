#include "selfsigned.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <memory>

namespace {

template <auto Free> struct TFree {
    template <typename T> void operator()(T* p) const { Free(p); }
};
using TKey = std::unique_ptr<EVP_PKEY, TFree<EVP_PKEY_free>>;
using TCert = std::unique_ptr<X509, TFree<X509_free>>;
struct TFileClose {
    void operator()(FILE* f) const { std::fclose(f); }
};
using TFile = std::unique_ptr<FILE, TFileClose>;

bool addExtension(X509* cert, int nid, const char* value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    if (!ext)
        return false;
    const bool added = X509_add_ext(cert, ext, -1) == 1;
    X509_EXTENSION_free(ext);
    return added;
}

} // namespace

bool WriteSelfSignedCertificate(const QString& certPath, const QString& keyPath) {
    TKey key(EVP_EC_gen("P-256"));
    TCert cert(X509_new());
    if (!key || !cert)
        return false;
    X509* c = cert.get();
    X509_set_version(c, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(c), 1);
    X509_gmtime_adj(X509_getm_notBefore(c), -3600);
    X509_gmtime_adj(X509_getm_notAfter(c), 24 * 3600);
    X509_set_pubkey(c, key.get());
    X509_NAME* name = X509_get_subject_name(c);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
    X509_set_issuer_name(c, name);
    if (!addExtension(c, NID_basic_constraints, "critical,CA:TRUE") ||
        !addExtension(c, NID_subject_alt_name, "IP:127.0.0.1") ||
        X509_sign(c, key.get(), EVP_sha256()) == 0)
        return false;

    TFile certFile(std::fopen(certPath.toLocal8Bit().constData(), "w"));
    TFile keyFile(std::fopen(keyPath.toLocal8Bit().constData(), "w"));
    return certFile && keyFile && PEM_write_X509(certFile.get(), c) == 1 &&
           PEM_write_PrivateKey(keyFile.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr) ==
               1;
}
