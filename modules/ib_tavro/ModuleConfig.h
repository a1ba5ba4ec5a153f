// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The module's optional configuration file, read at the start of every download (the module keeps
// no state between calls): "ib_tavro.conf" beside the module file, and nothing else. No variable
// of the environment may send a user's log-on to another host; the demo and the tests give the
// program a module folder of their own with the module linked there and the file beside it.

#include <string>

struct ModuleConfig {
    static constexpr const char* kDefaultHost = "bank.tavro.example";
    static constexpr long kDefaultConnectTimeout = 15;  // seconds
    static constexpr long kDefaultLowSpeedTime = 20;    // seconds below 1 byte/s

    std::string host = kDefaultHost;
    long port = 443;
    std::string cafile;  // extra CA certificate (PEM); empty: the system's store only
    long connectTimeout = kDefaultConnectTimeout;
    long lowSpeedTime = kDefaultLowSpeedTime;
};

// Parses `key=value` lines; unknown keys, comments and malformed numbers are ignored.
ModuleConfig ParseModuleConfig(const std::string& text);

// The file beside the file that holds this code (the module, or a test program), as the path
// it was loaded by: a module linked into another folder reads the configuration there.
std::string ModuleConfigPath();

// The file's settings, or the built-in ones when there is no file.
ModuleConfig LoadModuleConfig();
