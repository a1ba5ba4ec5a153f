#pragma once

#include <QStringView>
#include <cstddef>
#include <cstdint>

// Substring search over one long UTF-16 buffer. The filter runs it on every keystroke over the
// lower-cased texts of all operations, so it tests the needle's first and last characters
// eight positions at a time before comparing the rest.
namespace TextSearch {

// Position of the first occurrence of needle in text at or after from, or -1.
// An empty needle is found at from.
qsizetype find(QStringView text, qsizetype from, QStringView needle);
// The same over one-byte codes.
qsizetype find(const uint8_t* text, qsizetype size, qsizetype from, const uint8_t* needle,
               qsizetype length);

}  // namespace TextSearch
