// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The simulated bank (tavro-bank) as a child process for end-to-end tests, and a private copy of
// the bank module that talks to it.
//
//   BankServer bank({"--accounts", "1", "--operations", "24"});
//   ModuleHandle module(bank.installModule());      // <tmp>/banki/ib_tavro.module + .conf
//   ... run QueryHistory (see ModuleQuery.h) with bank.accounts()[0], bank.user(), ...
//   EXPECT_TRUE(bank.violations().empty());         // the bank's checks of the requests
//   bank.requests("POST", "/account_oper_details.aspx").size();
//   bank.dump();                                    // what it served and what should arrive
//
// Every BankServer has its own temporary folder (certificate, log, dump, module copy), so tests
// may run in parallel. The destructor stops the bank and removes the folder.

#include <sys/types.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "TempDir.h"

// The bank's pages the tests count requests of.
inline constexpr const char* kListPath = "/account_oper_list.aspx";
inline constexpr const char* kDetailsPath = "/account_oper_details.aspx";

// One line of the bank's request log.
struct BankRequest {
    int number = 0;
    std::string method;
    std::string path;
    std::map<std::string, std::string> headers;  // referer, cookie, content-type, ...
    std::string body;                            // as received, URL-encoded
    // Decoded value of a posted field, empty when absent.
    std::string field(const std::string& name) const;
    std::vector<std::string> fieldNames() const;
};

// One operation of the bank's dump: what it serves and what the module should deliver.
// Texts are UTF-8; dates "dd-mm-yyyy"; amounts with a decimal comma.
struct DumpedOperation {
    std::string account;  // 26 digits
    int tid = 0;
    std::string operationDate, postingDate;
    std::string servedAmount;  // "-1234,56" as the list marks it
    std::string servedKindText;
    bool delivered = false;  // false: the module must drop it (zero amount)
    int kind = 0;
    int direction = 0;
    std::string amountText;
    std::string counterpartyAccount, counterpartyName, title;
};

class BankServer {
public:
    // Starts <TAVRO_BUILD_DIR>/tavro-bank --port 0 with its certificate, log and dump in the
    // private folder, followed by `arguments` (tavro-bank --help lists them). Throws
    // std::runtime_error when the bank does not report its address within 30 seconds.
    explicit BankServer(const std::vector<std::string>& arguments = {});
    ~BankServer();
    BankServer(const BankServer&) = delete;
    BankServer& operator=(const BankServer&) = delete;

    int port() const { return m_port; }
    const std::filesystem::path& folder() const { return m_folder.path(); }
    std::filesystem::path certificateFile() const;
    const std::string& user() const { return m_user; }
    const std::string& password() const { return m_password; }
    // The bank's account numbers, 26 digits each, in the order it lists them.
    const std::vector<std::string>& accounts() const { return m_accounts; }

    // Copies <build>/banki/ib_tavro.module into <folder>/banki/ and writes ib_tavro.conf beside
    // it (host localhost, this port, this certificate as cafile, connect_timeout=5,
    // low_speed_time=5), then `extraConf` lines, which override. Returns the copy's path.
    std::filesystem::path installModule(const std::vector<std::string>& extraConf = {}) const;

    std::vector<BankRequest> requests() const;
    std::vector<BankRequest> requests(const std::string& method, const std::string& path) const;
    // Failed checks of what the requests carried; empty when the client behaved.
    std::vector<std::string> violations() const;
    std::vector<DumpedOperation> dump() const;

private:
    void readBanner(int pipe);
    std::vector<std::string> logLines() const;

    TempDir m_folder;
    pid_t m_pid = -1;
    int m_port = 0;
    std::string m_user;
    std::string m_password;
    std::vector<std::string> m_accounts;
};
