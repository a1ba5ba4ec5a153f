// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Faults the bank can be told to show for a path, for the tests of failure handling.
// A rule is written PATH:KIND[=VALUE][@AFTER]; it applies from request AFTER+1 to that path on
// ("*" matches every path). Kinds:
//   status=N     answer with HTTP status N and an error page
//   reset=N      send N bytes of the page, then close the connection
//   delay=N      accept and say nothing for N seconds, then answer normally
//   oversize=N   pad the page to N megabytes (default 12) before its content
//   nomarkers    serve the page with its markers (form name, links, labels) changed
//   nonumber=N   leave the operation number row out of N pages (0 or none: every page)
//   endless      every operation-list page offers older operations, for ever

#include <map>
#include <mutex>
#include <string>
#include <vector>

enum class FaultKind { Status, Reset, Delay, Oversize, NoMarkers, NoNumber, Endless };

struct FaultRule {
    std::string path;
    FaultKind kind = FaultKind::Status;
    long value = 0;
    int after = 0;
};

class FaultPlan {
public:
    // Throws std::invalid_argument for a malformed rule.
    static FaultRule Parse(const std::string& ruleText);
    void add(const FaultRule& rule);
    bool empty() const { return m_rules.empty(); }
    // Counts one request to the path and returns the rules that apply to it.
    std::vector<FaultRule> onRequest(const std::string& path);

    static std::string StripMarkers(std::string page);
    static std::string StripNumber(std::string page);
    static std::string Oversize(const std::string& page, long megabytes);

private:
    std::vector<FaultRule> m_rules;
    std::map<std::string, int> m_counts;
    std::mutex m_mutex;
};
