// SPDX-License-Identifier: GPL-3.0-or-later
// tavro-bank: the simulated bank web site (see BankOptions::Usage).

#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>

#include "BankOptions.h"
#include "BankSite.h"
#include "Certificate.h"
#include "DataFile.h"
#include "DataGenerator.h"
#include "HttpsFrontEnd.h"
#include "OperationMarkup.h"
#include "RequestLog.h"

namespace {
BankData loadData(const BankOptions& options) {
    if (!options.dataFile.empty()) {
        return DataFile::Read(options.dataFile, options.generator.user, options.generator.password);
    }
    return DataGenerator(options.generator).generate();
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::trunc);
    file << text;
    if (!file.flush()) {
        throw std::runtime_error("cannot write " + path);
    }
}

int run(const BankOptions& options) {
    BankData data = loadData(options);
    if (!options.dumpFile.empty()) {
        DataFile::WriteDump(options.dumpFile, data);
    }
    const Certificate certificate(options.host);
    if (!options.certOut.empty()) {
        writeFile(options.certOut, certificate.pem());
    }
    std::cout << "user: " << data.user << "\npassword: " << data.password << "\n";
    for (const BankAccount& account : data.accounts) {
        std::cout << "account: " << account.nrb << " (" << OperationMarkup::DisplayNrb(account.nrb)
                  << ", " << account.operations.size() << " operations)\n";
    }
    RequestLog log(options.logFile);
    BankSite site(std::move(data), log,
                  SiteStyle{options.redirectLogon, options.rootedAccountLinks});
    FaultPlan faults;
    for (const FaultRule& rule : options.faults) {
        faults.add(rule);
    }
    HttpsFrontEnd frontEnd(site, faults, certificate);
    const int port = frontEnd.bind(options.port);
    if (port <= 0) {
        std::cerr << "tavro-bank: cannot listen on 127.0.0.1:" << options.port << "\n";
        return 1;
    }
    std::cout << "listening on https://" << options.host << ":" << port << std::endl;
    return frontEnd.serve() ? 0 : 1;
}
}  // namespace

int main(int argc, char** argv) {
    try {
        const BankOptions options = BankOptions::Parse({argv + 1, argv + argc});
        if (options.help) {
            std::cout << BankOptions::Usage();
            return 0;
        }
        return run(options);
    } catch (const std::exception& error) {
        std::cerr << "tavro-bank: " << error.what() << "\n";
        return 2;
    }
}
