// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bank's key and self-signed certificate, made fresh at every start. The certificate names
// localhost and 127.0.0.1 (plus an extra host name when given) and is marked as a CA, so a client
// can trust it directly as its CA file.

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>
#include <string>

class Certificate {
public:
    explicit Certificate(const std::string& extraHost = "");

    X509* certificate() const { return m_certificate.get(); }
    EVP_PKEY* key() const { return m_key.get(); }
    std::string pem() const;

private:
    struct KeyFree {
        void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
    };
    struct CertificateFree {
        void operator()(X509* certificate) const { X509_free(certificate); }
    };
    void addExtension(int nid, const std::string& value);

    std::unique_ptr<EVP_PKEY, KeyFree> m_key;
    std::unique_ptr<X509, CertificateFree> m_certificate;
};
