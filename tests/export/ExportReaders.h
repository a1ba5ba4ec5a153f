#pragma once
// Exported files read back by real readers found on the PATH: libofx's ofxdump for OFX, Python's
// csv module (strict RFC 4180) for CSV.

#include <map>
#include <string>
#include <vector>

struct OfxDump {
    using Block = std::map<std::string, std::string>;  // "Total money amount" -> "-12.50"
    bool ran = false;
    Block statement;
    std::vector<Block> transactions;
    // ERROR lines, and WARNING lines other than the fixed one about UTF-8 files.
    std::vector<std::string> problems;
};
OfxDump RunOfxDump(const std::string& file);

// Every record as its fields; empty, with the reader's complaint in `error`, on failure.
std::vector<std::vector<std::string>> ReadCsv(const std::string& file, std::string& error);
