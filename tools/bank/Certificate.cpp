// SPDX-License-Identifier: GPL-3.0-or-later
#include "Certificate.h"

#include <openssl/bio.h>
#include <openssl/ec.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509v3.h>

#include <stdexcept>

namespace {
void require(bool ok, const char* what) {
    if (!ok) {
        throw std::runtime_error(std::string("certificate: ") + what);
    }
}

struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
struct ExtensionFree {
    void operator()(X509_EXTENSION* extension) const { X509_EXTENSION_free(extension); }
};
}  // namespace

Certificate::Certificate(const std::string& extraHost)
    : m_key(EVP_EC_gen("P-256")), m_certificate(X509_new()) {
    require(m_key && m_certificate, "no memory for the key");
    X509* cert = m_certificate.get();
    require(X509_set_version(cert, 2) == 1, "version");
    unsigned char serial[8];
    require(RAND_bytes(serial, sizeof serial) == 1, "serial");
    serial[0] &= 0x7F;
    BIGNUM* number = BN_bin2bn(serial, sizeof serial, nullptr);
    require(number != nullptr && BN_to_ASN1_INTEGER(number, X509_get_serialNumber(cert)),
            "serial number");
    BN_free(number);
    X509_gmtime_adj(X509_getm_notBefore(cert), -24 * 3600);
    X509_gmtime_adj(X509_getm_notAfter(cert), 365L * 24 * 3600);
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "C", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("PL"), -1, -1, 0);
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("Tavro Bank test"), -1, -1,
                               0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("localhost"), -1, -1, 0);
    require(X509_set_issuer_name(cert, name) == 1, "issuer");
    require(X509_set_pubkey(cert, m_key.get()) == 1, "public key");
    std::string names = "DNS:localhost,IP:127.0.0.1";
    if (!extraHost.empty() && extraHost != "localhost" && extraHost != "127.0.0.1") {
        names += ",DNS:" + extraHost;
    }
    addExtension(NID_basic_constraints, "critical,CA:TRUE");
    addExtension(NID_key_usage, "critical,digitalSignature,keyCertSign");
    addExtension(NID_ext_key_usage, "serverAuth");
    addExtension(NID_subject_key_identifier, "hash");
    addExtension(NID_subject_alt_name, names);
    require(X509_sign(cert, m_key.get(), EVP_sha256()) > 0, "signature");
}

void Certificate::addExtension(int nid, const std::string& value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, m_certificate.get(), m_certificate.get(), nullptr, nullptr, 0);
    std::unique_ptr<X509_EXTENSION, ExtensionFree> extension(
        X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str()));
    require(extension != nullptr, "extension");
    require(X509_add_ext(m_certificate.get(), extension.get(), -1) == 1, "adding an extension");
}

std::string Certificate::pem() const {
    std::unique_ptr<BIO, BioFree> bio(BIO_new(BIO_s_mem()));
    require(bio && PEM_write_bio_X509(bio.get(), m_certificate.get()) == 1, "PEM");
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return std::string(data, static_cast<size_t>(size));
}
