#pragma once
// Reads exported files back with real readers: libofx's ofxdump for OFX, Python's csv module
// (strict RFC 4180) for CSV. Both programs are found on the PATH.

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

// Every record as its fields; `error` gets what the reader complained of.
std::vector<std::vector<std::string>> ReadCsv(const std::string& file, std::string& error);

// How ofxdump prints a time: "Mon Jul  1 12:00:00 2024 CEST".
std::string OfxDumpTime(long long seconds);
