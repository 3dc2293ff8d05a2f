#pragma once

#include <QString>

// Writes a fresh self-signed certificate for 127.0.0.1 (usable as its own CA)
// and its private key as PEM files; false when OpenSSL fails.
bool WriteSelfSignedCertificate(const QString& certPath, const QString& keyPath);
