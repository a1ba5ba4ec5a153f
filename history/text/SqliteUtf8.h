#pragma once

#include <cstddef>
#include <string_view>

// Turns a text that SQLite holds as UTF-8 into UTF-16 the way SQLite itself does when asked
// for UTF-16 (bad sequences, surrogates and non-characters become U+FFFD, continuation bytes
// without a lead byte stay as they are), so that reading the UTF-8 directly shows exactly
// what reading UTF-16 showed, without SQLite's temporary copy of every text.
namespace SqliteUtf8 {

// Writes the UTF-16 form of utf8 to out, which has room for utf8.size() characters (the
// UTF-16 form is never longer); returns the number of characters written.
size_t toUtf16(std::string_view utf8, char16_t* out);

}  // namespace SqliteUtf8
