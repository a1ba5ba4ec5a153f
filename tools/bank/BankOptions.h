// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line of tavro-bank.

#include <string>
#include <vector>

#include "DataGenerator.h"
#include "FaultPlan.h"

struct BankOptions {
    int port = 0;
    std::string host = "localhost";  // the name printed and put into the certificate
    std::string certOut;
    std::string logFile;
    std::string dumpFile;
    std::string dataFile;
    bool redirectLogon = false;
    bool rootedAccountLinks = false;
    bool help = false;
    GeneratorSettings generator;
    std::vector<FaultRule> faults;

    // Throws std::invalid_argument with a message for the user.
    static BankOptions Parse(const std::vector<std::string>& arguments);
    static const char* Usage();
};
