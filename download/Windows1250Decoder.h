#pragma once

#include <string>

#include "IconvConverter.h"

// Converts the Windows-1250 texts of the module records to UTF-16. Not thread-safe: one
// decoder per thread.
class Windows1250Decoder {
public:
    Windows1250Decoder();

    // A null text is empty; a byte without a character becomes U+FFFD.
    std::u16string decode(const char* text) const;

private:
    IconvConverter m_converter;
};
