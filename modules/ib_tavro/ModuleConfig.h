#pragma once
// The module's optional configuration file, read at the start of every download (the module keeps
// no state between calls): the file that the variable IB_TAVRO_CONF names when it is set (an
// installed module's folder belongs to root, so the demo points the module at its bank this way),
// else "ib_tavro.conf" beside the module file.

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

inline constexpr const char* kModuleConfigVariable = "IB_TAVRO_CONF";

// The file that IB_TAVRO_CONF names, else the one beside the file that holds this code (the
// module, or a test program).
std::string ModuleConfigPath();

// The file's settings, or the built-in ones when there is no file.
ModuleConfig LoadModuleConfig();
