// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The history table as one line: "<t_tid>:<t_desc>" of every row by number, space-separated.

#include <QString>
#include <string>

#include "sqlite3x.h"

inline std::string StoredNumbersAndTitles(sqlite3x::connection& db) {
    sqlite3x::command select(db,
                             "SELECT group_concat(t_tid || ':' || t_desc, ' ') FROM (SELECT * "
                             "FROM transactions ORDER BY t_tid)");
    sqlite3x::reader r = select.execute_reader();
    return r.read() ? QString::fromStdU16String(r.get_string(0)).toStdString() : "";
}
