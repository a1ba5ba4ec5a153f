#pragma once
// The module's optional configuration file "ib_tavro.conf" beside the module file, read at the
// start of every download (the module keeps no state between calls).

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

// The configuration file beside the file that holds this code (the module, or a test program).
std::string ModuleConfigPath();

// The file's settings, or the built-in ones when there is no file.
ModuleConfig LoadModuleConfig();
