// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every statement reader must hold for any input: it returns statements or throws
// ImportError, never anything else; each operation's sign agrees with its direction; the import
// keys of an account are all different.

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <set>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "ImportError.h"
#include "ImportKeys.h"
#include "StatementChecks.h"

template <typename Reader>
void FuzzStatementReader(const uint8_t* data, size_t size, Reader read, bool ownExport) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<Statement> statements;
    try {
        statements = read(bytes);
    } catch (const ImportError&) {
        return;
    }
    for (const Statement& statement : statements) {
        std::vector<const StatementOperation*> ops;
        for (const StatementOperation& op : statement.operations) {
            FUZZ_CHECK(op.direction == 0 || op.direction == 1, "direction is 0 or 1");
            if (!ownExport) {
                FUZZ_CHECK(op.amount == 0 || (op.amount < 0) == (op.direction == 0),
                           "sign agrees with direction");
            }
            ops.push_back(&op);
        }
        const auto keys = ImportKeys::ForAccount(ops);
        FUZZ_CHECK(std::set<std::u16string>(keys.begin(), keys.end()).size() == keys.size(),
                   "keys of one statement are all different");
        StatementChecks::BalanceMismatch(statement);
        try {
            StatementChecks::OwnAccount(statement);
        } catch (const ImportError&) {
        }
    }
}

inline void FuzzInitialize() {
    setenv("TZ", "Europe/Warsaw", 0);
    tzset();
}
