// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsCipher.h"

#include <openssl/evp.h>

#include <array>
#include <memory>
#include <stdexcept>

namespace {

// Fixed for the program's life: files written with another key cannot be deciphered.
constexpr std::array<uint8_t, 32> kKey = {
    0x5a, 0x45, 0x4c, 0x32, 0x8e, 0x13, 0xc7, 0x21, 0x94, 0x6b, 0x0f, 0xd2, 0x3a, 0x71, 0xe8, 0x55,
    0x2c, 0xb9, 0x46, 0x07, 0xf3, 0x88, 0x1d, 0x6e, 0xa4, 0x39, 0xc2, 0x5f, 0x90, 0x0b, 0x7d, 0xe6};

constexpr int kBlock = 16;

struct CipherContextFree {
    void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree>;

CipherContext newContext() {
    CipherContext ctx(EVP_CIPHER_CTX_new());
    if (!ctx) {
        throw std::bad_alloc();
    }
    return ctx;
}

}  // namespace

std::vector<uint8_t> SettingsCipher::encipher(const std::vector<uint8_t>& plain) {
    CipherContext ctx = newContext();
    std::vector<uint8_t> out(plain.size() + kBlock);
    int written = 0;
    int last = 0;
    // Padding stays on (the EVP default), which is PKCS#7 for a 16-byte block.
    if (EVP_EncryptInit_ex(ctx.get(), EVP_aes_256_ecb(), nullptr, kKey.data(), nullptr) != 1 ||
        EVP_EncryptUpdate(ctx.get(), out.data(), &written, plain.data(),
                          static_cast<int>(plain.size())) != 1 ||
        EVP_EncryptFinal_ex(ctx.get(), out.data() + written, &last) != 1) {
        throw std::runtime_error("AES encipher failed");
    }
    out.resize(static_cast<size_t>(written + last));
    return out;
}

std::optional<std::vector<uint8_t>> SettingsCipher::decipher(const std::vector<uint8_t>& stored) {
    if (stored.empty() || stored.size() % kBlock != 0) {
        return std::nullopt;
    }
    CipherContext ctx = newContext();
    std::vector<uint8_t> out(stored.size() + kBlock);
    int written = 0;
    int last = 0;
    if (EVP_DecryptInit_ex(ctx.get(), EVP_aes_256_ecb(), nullptr, kKey.data(), nullptr) != 1 ||
        EVP_DecryptUpdate(ctx.get(), out.data(), &written, stored.data(),
                          static_cast<int>(stored.size())) != 1 ||
        EVP_DecryptFinal_ex(ctx.get(), out.data() + written, &last) != 1) {
        return std::nullopt;
    }
    out.resize(static_cast<size_t>(written + last));
    return out;
}
