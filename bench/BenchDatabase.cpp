#include "BenchDatabase.h"

#include <QString>

#include "Schema.h"
#include "sqlite3x.h"

namespace BenchDatabase {

void Fill(const std::filesystem::path& file, const std::vector<Account>& accounts,
          int64_t operations, const std::function<Row(int64_t)>& row) {
    sqlite3x::connection con;
    Schema::OpenDatabase(con, file.u16string(), [](const std::u16string&) {});
    sqlite3x::transaction tx(con);
    {
        sqlite3x::command insert(con, Schema::kInsertAccount);
        for (const Account& account : accounts) {
            insert.bind_text(1, account.number);
            insert.bind_text(2, u"user");
            insert.bind_text(3, account.name);
            insert.bind_text(4, u"secret");
            insert.bind_int(5, 0);
            insert.execute();
        }
    }
    sqlite3x::command insert(con, Schema::kInsertOperation);
    for (int64_t i = 0; i < operations; ++i) {
        const Row r = row(i);
        insert.bind_text(1, r.counterpartyAccount);
        insert.bind_text(2, r.counterpartyName);
        insert.bind_text(3, r.title);
        insert.bind_double(4, r.amount);
        insert.bind_int(5, r.tid);
        insert.bind_int(6, r.direction);
        insert.bind_int64(7, r.operationDate);
        insert.bind_int64(8, r.bookingDate);
        insert.bind_text(9, r.ownAccount);
        insert.bind_text(10, u"");
        insert.bind_int(11, r.kind);
        insert.execute();
    }
    tx.commit();
}

std::u16string U16(const std::string& utf8) {
    return QString::fromStdString(utf8).toStdU16String();
}

}  // namespace BenchDatabase
