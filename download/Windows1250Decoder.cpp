#include "Windows1250Decoder.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace {
const char* utf16Native() {
    return std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
}
}  // namespace

Windows1250Decoder::Windows1250Decoder() : m_handle(iconv_open(utf16Native(), "WINDOWS-1250")) {
    if (m_handle == reinterpret_cast<iconv_t>(-1)) {
        throw std::runtime_error("iconv: WINDOWS-1250 is not available");
    }
}

Windows1250Decoder::~Windows1250Decoder() {
    iconv_close(m_handle);
}

std::u16string Windows1250Decoder::decode(const char* text) {
    if (!text) {
        return {};
    }
    size_t inLeft = std::strlen(text);
    char* in = const_cast<char*>(text);
    // Every byte of a single-byte code page is one UTF-16 unit at most.
    std::u16string out(inLeft, u'\0');
    char* outStart = reinterpret_cast<char*>(out.data());
    char* outPtr = outStart;
    size_t outLeft = out.size() * sizeof(char16_t);
    iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        if (iconv(m_handle, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) {
            break;
        }
        if (errno != EILSEQ && errno != EINVAL) {
            break;
        }
        // The few unassigned bytes of the code page.
        const char16_t replacement = u'\uFFFD';
        std::memcpy(outPtr, &replacement, sizeof replacement);
        outPtr += sizeof replacement;
        outLeft -= sizeof replacement;
        ++in;
        --inLeft;
    }
    out.resize(static_cast<size_t>(outPtr - outStart) / sizeof(char16_t));
    return out;
}
