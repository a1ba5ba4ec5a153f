// SPDX-License-Identifier: GPL-3.0-or-later
#include "BankServer.h"

#include "FormBody.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace {
std::filesystem::path buildDir() {
    const char* fromEnvironment = std::getenv("TAVRO_BUILD_DIR");
    return fromEnvironment != nullptr ? fromEnvironment : TAVRO_BUILD_DIR;
}

std::vector<std::string> split(const std::string& line, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream(line);
    while (std::getline(stream, part, separator)) {
        parts.push_back(part);
    }
    if (!line.empty() && line.back() == separator) {
        parts.emplace_back();
    }
    return parts;
}

std::string afterPrefix(const std::string& line, const std::string& prefix) {
    return line.rfind(prefix, 0) == 0 ? line.substr(prefix.size()) : std::string();
}

// Closes the descriptor on every way out.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};
}  // namespace

std::string BankRequest::field(const std::string& name) const {
    return FormBody(body).value(name);
}

std::vector<std::string> BankRequest::fieldNames() const {
    return FormBody(body).names();
}

BankServer::BankServer(const std::vector<std::string>& arguments) {
    std::vector<std::string> argv = {(buildDir() / "tavro-bank").string(),
                                     "--port",
                                     "0",
                                     "--cert-out",
                                     certificateFile().string(),
                                     "--log",
                                     (folder() / "bank.log").string(),
                                     "--dump",
                                     (folder() / "bank.dump").string()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& argument : argv) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);

    int fds[2];
    if (::pipe(fds) != 0) {
        throw std::runtime_error("pipe");
    }
    Descriptor readEnd{fds[0]};
    Descriptor writeEnd{fds[1]};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    const int failed =
        posix_spawn(&m_pid, pointers[0], &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        m_pid = -1;
        throw std::runtime_error("cannot start " + argv[0]);
    }
    ::close(writeEnd.fd);
    writeEnd.fd = -1;
    try {
        readBanner(readEnd.fd);
    } catch (...) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        throw;
    }
}

// Reads the accounts and the address that the bank prints before it serves.
void BankServer::readBanner(int pipe) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    std::string pending;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd poller{pipe, POLLIN, 0};
        if (::poll(&poller, 1, 200) <= 0) {
            continue;
        }
        char buffer[4096];
        const ssize_t got = ::read(pipe, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        pending.append(buffer, static_cast<size_t>(got));
        for (size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (const std::string value = afterPrefix(line, "user: "); !value.empty()) {
                m_user = value;
            } else if (const std::string pass = afterPrefix(line, "password: "); !pass.empty()) {
                m_password = pass;
            } else if (const std::string account = afterPrefix(line, "account: ");
                       !account.empty()) {
                m_accounts.push_back(account.substr(0, 26));
            } else if (line.rfind("listening on https://", 0) == 0) {
                m_port = std::stoi(line.substr(line.rfind(':') + 1));
                return;
            }
        }
    }
    throw std::runtime_error("tavro-bank did not report its address");
}

BankServer::~BankServer() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
}

std::filesystem::path BankServer::certificateFile() const {
    return folder() / "bank.pem";
}

std::filesystem::path BankServer::installModule(const std::vector<std::string>& extraConf) const {
    const std::filesystem::path banki = folder() / "banki";
    std::filesystem::create_directories(banki);
    const std::filesystem::path module = banki / "ib_tavro.module";
    std::filesystem::copy_file(buildDir() / "banki" / "ib_tavro.module", module,
                               std::filesystem::copy_options::overwrite_existing);
    std::ofstream conf(banki / "ib_tavro.conf", std::ios::trunc);
    conf << "host=localhost\nport=" << m_port << "\ncafile=" << certificateFile().string()
         << "\nconnect_timeout=5\nlow_speed_time=5\n";
    for (const std::string& line : extraConf) {
        conf << line << "\n";
    }
    return module;
}

std::vector<std::string> BankServer::logLines() const {
    std::ifstream file(folder() / "bank.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<BankRequest> BankServer::requests() const {
    std::vector<BankRequest> requests;
    for (const std::string& line : logLines()) {
        const std::vector<std::string> parts = split(line, '\t');
        if (parts.size() < 4 || parts[0] == "!") {
            continue;
        }
        BankRequest request;
        request.number = std::stoi(parts[0]);
        request.method = parts[1];
        request.path = parts[2];
        for (size_t i = 3; i < parts.size(); ++i) {
            const size_t equals = parts[i].find('=');
            const std::string key = parts[i].substr(0, equals);
            const std::string value = parts[i].substr(equals + 1);
            if (key == "body") {
                request.body = value;
            } else {
                request.headers[key] = value;
            }
        }
        requests.push_back(std::move(request));
    }
    return requests;
}

std::vector<BankRequest> BankServer::requests(const std::string& method,
                                              const std::string& path) const {
    std::vector<BankRequest> matching;
    for (BankRequest& request : requests()) {
        if (request.method == method && request.path == path) {
            matching.push_back(std::move(request));
        }
    }
    return matching;
}

std::vector<std::string> BankServer::violations() const {
    std::vector<std::string> found;
    for (const std::string& line : logLines()) {
        if (line.rfind("!\t", 0) == 0) {
            found.push_back(line.substr(2));
        }
    }
    return found;
}

std::vector<DumpedOperation> BankServer::dump() const {
    std::ifstream file(folder() / "bank.dump");
    std::vector<DumpedOperation> operations;
    for (std::string line; std::getline(file, line);) {
        const std::vector<std::string> f = split(line, '\t');
        if (f.size() < 19 || f[0] != "op") {
            continue;
        }
        DumpedOperation op;
        op.account = f[1];
        op.tid = std::stoi(f[2]);
        op.operationDate = f[3];
        op.postingDate = f[4];
        op.servedAmount = f[5];
        op.servedKindText = f[6];
        op.delivered = f[12] == "1";
        op.kind = std::stoi(f[13]);
        op.direction = std::stoi(f[14]);
        op.amountText = f[15];
        op.counterpartyAccount = f[16];
        op.counterpartyName = f[17];
        op.title = f[18];
        operations.push_back(std::move(op));
    }
    return operations;
}
