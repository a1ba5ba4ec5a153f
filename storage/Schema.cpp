#include "Schema.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "sqlite3x.h"

namespace Schema {
namespace {

// The file holds bank passwords: only its owner may read it.
void createPrivateFile(const std::u16string& path) {
    const int fd =
        ::open(std::filesystem::path(path).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
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
