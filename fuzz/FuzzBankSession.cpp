// SPDX-License-Identifier: GPL-3.0-or-later
// The bank session of the fuzz build: no network, the pages of the fuzz input instead.
#include <utility>

#include "BankSession.h"
#include "FuzzPageFeed.h"

namespace {

std::vector<std::string> g_pages;
size_t g_requests = 0;

}  // namespace

namespace FuzzPageFeed {

void serve(std::vector<std::string> pages) {
    g_pages = std::move(pages);
    g_requests = 0;
}

size_t requests() {
    return g_requests;
}

}  // namespace FuzzPageFeed

BankSession::BankSession() = default;

BankSession::~BankSession() = default;

bool BankSession::openSession() {
    m_globalInit = false;  // no libcurl to set up
    return true;
}

bool BankSession::connect(const ModuleConfig& config) {
    m_connected = true;
    m_baseUrl = "https://" + config.host + "/";
    return true;
}

void BankSession::close() {
    m_connected = false;
}

bool BankSession::SendRequest(const std::string&, const std::string&, const std::string&,
                              const std::string&, const std::string&, std::string& response) {
    if (g_pages.empty() || g_requests >= FuzzPageFeed::kMaxRequests) {
        return false;
    }
    response = g_pages[g_requests % g_pages.size()];
    ++g_requests;
    return true;
}
