#include "Schema.h"

#include <fcntl.h>
#include <unistd.h>

#include "sqlite3x.h"

namespace Schema {
namespace {

std::string toUtf8(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The file holds bank passwords: only its owner may read it.
void createPrivateFile(const std::u16string& path) {
    const int fd = ::open(toUtf8(path).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
    }
}

}  // namespace

void OpenDatabase(sqlite3x::connection& con, const std::u16string& path,
                  const ConsoleLine& console) {
    console(u"Wchodzę w sekcję krytyczną");
    createPrivateFile(path);
    con.open(path);
    if (con.execute_int(kAccountsExist) == 0) {
        con.execute(kCreateAccounts);
        con.execute(kCreateTransactions);
    }
    try {
        con.execute(kCreateOperationIndex);
    } catch (const sqlite3x::database_error&) {
        // A file whose transactions table is missing or foreign works as before, only slower.
    }
    console(u"Opuszczam sekcję krytyczną");
}

}  // namespace Schema
