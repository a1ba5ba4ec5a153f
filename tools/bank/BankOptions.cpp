// SPDX-License-Identifier: GPL-3.0-or-later
#include "BankOptions.h"

#include <stdexcept>

namespace {
int integer(const std::string& option, const std::string& text, long low, long high) {
    size_t used = 0;
    long value = 0;
    try {
        value = std::stol(text, &used);
    } catch (const std::logic_error&) {
        used = 0;
    }
    if (used != text.size() || text.empty() || value < low || value > high) {
        throw std::invalid_argument(option + ": not a number in " + std::to_string(low) + ".." +
                                    std::to_string(high) + ": " + text);
    }
    return static_cast<int>(value);
}

// The short form of a status fault: --fail-path P --fail-status N [--fail-after K].
struct PendingFailure {
    std::string path;
    int status = 0;
    int after = 0;
};
}  // namespace

const char* BankOptions::Usage() {
    return "Usage: tavro-bank [options]\n"
           "A simulated bank web site over HTTPS on 127.0.0.1 for the ib_tavro module.\n"
           "\n"
           "  --port N             port to listen on; 0 picks a free one (default 0)\n"
           "  --host NAME          host name printed and put into the certificate (localhost)\n"
           "  --cert-out FILE      write the certificate (PEM) there, for the module's cafile\n"
           "  --log FILE           log every request, one line each, and failed checks ('!')\n"
           "  --dump FILE          write the operations served and what the module should deliver\n"
           "  --data FILE          read accounts and operations from FILE instead of generating\n"
           "  --seed N             seed of the generated history (1)\n"
           "  --accounts N         generated accounts (2)\n"
           "  --operations N       generated operations per account (150)\n"
           "  --days N             every generated operation lies within the last N days (365)\n"
           "  --routing N          8-digit routing number of the account numbers (19900003)\n"
           "  --user TEXT          customer identifier that logs on (demo)\n"
           "  --password TEXT      password (demo1234)\n"
           "  --redirect-logon     answer a good log-on with a redirect (302) to the start page\n"
           "  --rooted-account-links  write the accounts' link target as /account_details.aspx\n"
           "  --fault PATH:KIND[=N][@K]  fault for PATH (or *) from its request K+1 on; kinds:\n"
           "                       status=N, reset=BYTES, delay=SECONDS, oversize=MB, nomarkers,\n"
           "                       nonumber[=PAGES], endless\n"
           "  --fail-path P --fail-status N [--fail-after K]   the same as --fault P:status=N@K\n"
           "  --help               this text\n"
           "\n"
           "Prints the accounts, then \"listening on https://HOST:PORT\" once it accepts "
           "requests.\n";
}

BankOptions BankOptions::Parse(const std::vector<std::string>& arguments) {
    BankOptions options;
    PendingFailure failure;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--help" || option == "-h") {
            options.help = true;
            continue;
        }
        if (option == "--redirect-logon") {
            options.redirectLogon = true;
            continue;
        }
        if (option == "--rooted-account-links") {
            options.rootedAccountLinks = true;
            continue;
        }
        if (i + 1 >= arguments.size()) {
            throw std::invalid_argument(option + ": unknown option or missing value");
        }
        const std::string& value = arguments[++i];
        if (option == "--port") {
            options.port = integer(option, value, 0, 65535);
        } else if (option == "--host") {
            options.host = value;
        } else if (option == "--cert-out") {
            options.certOut = value;
        } else if (option == "--log") {
            options.logFile = value;
        } else if (option == "--dump") {
            options.dumpFile = value;
        } else if (option == "--data") {
            options.dataFile = value;
        } else if (option == "--seed") {
            options.generator.seed = static_cast<uint32_t>(integer(option, value, 0, 2147483647));
        } else if (option == "--accounts") {
            options.generator.accounts = integer(option, value, 0, 50);
        } else if (option == "--operations") {
            options.generator.operations = integer(option, value, 0, 1000000);
        } else if (option == "--days") {
            options.generator.days = integer(option, value, 1, 36500);
        } else if (option == "--routing") {
            options.generator.routing = integer(option, value, 10000000, 99999999);
        } else if (option == "--user") {
            options.generator.user = value;
        } else if (option == "--password") {
            options.generator.password = value;
        } else if (option == "--fault") {
            options.faults.push_back(FaultPlan::Parse(value));
        } else if (option == "--fail-path") {
            failure.path = value;
        } else if (option == "--fail-status") {
            failure.status = integer(option, value, 100, 599);
        } else if (option == "--fail-after") {
            failure.after = integer(option, value, 0, 1000000);
        } else {
            throw std::invalid_argument(option + ": unknown option");
        }
    }
    if (!failure.path.empty() || failure.status != 0) {
        if (failure.path.empty() || failure.status == 0) {
            throw std::invalid_argument("--fail-path and --fail-status go together");
        }
        options.faults.push_back(
            FaultRule{failure.path, FaultKind::Status, failure.status, failure.after});
    }
    return options;
}
