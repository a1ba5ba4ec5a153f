// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// RAII wrapper around one iconv conversion descriptor.

#include <iconv.h>

#include <string>

class IconvConverter {
public:
    IconvConverter(const char* to, const char* from);
    ~IconvConverter();
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts the bytes; an input unit that the target cannot hold becomes `replacement`
    // (skipping `unitSize` input bytes), an incomplete unit at the end is dropped.
    std::string convert(const char* data, size_t size, const std::string& replacement,
                        size_t unitSize) const;

private:
    iconv_t m_cd;
};

// Windows-1250 is the module's narrow text; characters it lacks become "?".
std::string Utf16ToCp1250(const std::u16string& text);
std::u16string Cp1250ToUtf16(const std::string& text);
// Any single-byte code page iconv knows (by its iconv name) to UTF-16; an unknown byte becomes
// U+FFFD. Empty when iconv does not know the code page.
std::u16string CodePageToUtf16(const std::string& text, const char* codePage);
