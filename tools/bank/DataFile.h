// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bank's data as a text file: read with --data, written with --dump (then with what the
// module is expected to deliver for each operation). UTF-8, tab-separated, '#' starts a comment.
//
//   account <TAB> nrb <TAB> name
//   op <TAB> nrb <TAB> tid <TAB> operation date <TAB> posting date <TAB> amount <TAB> kind text
//      <TAB> counterparty account <TAB> counterparty name <TAB> title <TAB> card <TAB> place
//
// Dates are dd-mm-yyyy or -N (N days before today); the amount is "-1234,56" for money out.
// The dump adds, after the op fields: delivered (0/1), kind, direction, amount text, counterparty
// account, counterparty name and title as the module should deliver them.

#include <string>

#include "BankData.h"

class DataFile {
public:
    // Throws std::runtime_error naming the line on a malformed file.
    static BankData Read(const std::string& path, const std::string& user,
                         const std::string& password);
    static void WriteDump(const std::string& path, const BankData& data);
};
