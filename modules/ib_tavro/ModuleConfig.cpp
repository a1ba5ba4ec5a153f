// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModuleConfig.h"

#include <dlfcn.h>

#include <charconv>
#include <fstream>
#include <sstream>

namespace {
std::string trim(const std::string& text) {
    const char* blanks = " \t\r\n";
    const size_t begin = text.find_first_not_of(blanks);
    if (begin == std::string::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(blanks) - begin + 1);
}

void readNumber(const std::string& text, long& target, long min, long max) {
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc() && end == text.data() + text.size() && value >= min && value <= max) {
        target = value;
    }
}

void apply(ModuleConfig& config, const std::string& key, const std::string& value) {
    if (key == "host") {
        config.host = value;
    } else if (key == "port") {
        readNumber(value, config.port, 1, 65535);
    } else if (key == "cafile") {
        config.cafile = value;
    } else if (key == "connect_timeout") {
        readNumber(value, config.connectTimeout, 1, 3600);
    } else if (key == "low_speed_time") {
        readNumber(value, config.lowSpeedTime, 1, 3600);
    }
}
}  // namespace

ModuleConfig ParseModuleConfig(const std::string& text) {
    ModuleConfig config;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const std::string trimmed = trim(line);
        const size_t equals = trimmed.find('=');
        if (trimmed.empty() || trimmed[0] == '#' || equals == std::string::npos) {
            continue;
        }
        apply(config, trim(trimmed.substr(0, equals)), trim(trimmed.substr(equals + 1)));
    }
    return config;
}

std::string ModuleConfigPath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ModuleConfigPath), &info) == 0 ||
        info.dli_fname == nullptr) {
        return {};
    }
    const std::string self = info.dli_fname;
    const size_t slash = self.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string(".") : self.substr(0, slash);
    return folder + "/ib_tavro.conf";
}

ModuleConfig LoadModuleConfig() {
    const std::string path = ModuleConfigPath();
    std::ifstream file(path, std::ios::binary);
    if (path.empty() || !file) {
        return ModuleConfig{};
    }
    std::ostringstream text;
    text << file.rdbuf();
    return ParseModuleConfig(text.str());
}
