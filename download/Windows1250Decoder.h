#pragma once

#include <iconv.h>

#include <string>

// Converts the Windows-1250 texts of the module records to UTF-16. Not thread-safe: one
// decoder per thread.
class Windows1250Decoder {
public:
    Windows1250Decoder();
    ~Windows1250Decoder();
    Windows1250Decoder(const Windows1250Decoder&) = delete;
    Windows1250Decoder& operator=(const Windows1250Decoder&) = delete;

    // A null text is empty; a byte without a character becomes U+FFFD.
    std::u16string decode(const char* text);

private:
    iconv_t m_handle;
};
