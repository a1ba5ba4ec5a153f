// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The site's pages and forms in the bank's code pages. Characters that the target set lacks
// become '?', so a page is always served whole.

#include <string>

namespace TextCodec {

std::string Utf8ToLatin2(const std::string& text);
std::string Utf8ToCp1250(const std::string& text);

}  // namespace TextCodec
