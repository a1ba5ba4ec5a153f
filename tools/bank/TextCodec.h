// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Character-set conversion through iconv. Characters that the target set lacks become '?', so a
// page is always served whole.

#include <iconv.h>

#include <memory>
#include <string>

class TextCodec {
public:
    TextCodec(const char* to, const char* from);
    std::string convert(const std::string& text) const;

    static std::string Utf8ToLatin2(const std::string& text);
    static std::string Utf8ToCp1250(const std::string& text);

private:
    struct Closer {
        void operator()(void* handle) const;
    };
    std::unique_ptr<void, Closer> m_handle;
};
