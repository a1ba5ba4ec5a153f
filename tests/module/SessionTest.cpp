// SPDX-License-Identifier: GPL-3.0-or-later
// The module copied into a folder of its own with a configuration file beside it, run against
// local sockets that refuse or never answer: failures must come back quickly with their codes.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "ModuleConfig.h"
#include "ModuleLibrary.h"

namespace fs = std::filesystem;

namespace {
TEST(ModuleConfig, ParsesKeysAndIgnoresTheRest) {
    const ModuleConfig config = ParseModuleConfig(
        "# test bank\n host = localhost \nport=8443\r\ncafile=/tmp/ca.pem\nconnect_timeout=2\n"
        "low_speed_time=3\nunknown=1\nnoequals\n");
    EXPECT_EQ(config.host, "localhost");
    EXPECT_EQ(config.port, 8443);
    EXPECT_EQ(config.cafile, "/tmp/ca.pem");
    EXPECT_EQ(config.connectTimeout, 2);
    EXPECT_EQ(config.lowSpeedTime, 3);
}

TEST(ModuleConfig, BadNumbersKeepTheDefaults) {
    const ModuleConfig config = ParseModuleConfig("port=0\nconnect_timeout=x\nlow_speed_time=-1\n");
    EXPECT_EQ(config.host, ModuleConfig::kDefaultHost);
    EXPECT_EQ(config.port, 443);
    EXPECT_EQ(config.connectTimeout, ModuleConfig::kDefaultConnectTimeout);
    EXPECT_EQ(config.lowSpeedTime, ModuleConfig::kDefaultLowSpeedTime);
}

// A listening socket that never accepts: connections are made but nothing is ever answered.
class SilentServer {
public:
    SilentServer() : m_fd(socket(AF_INET, SOCK_STREAM, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        listen(m_fd, 8);
        socklen_t length = sizeof(address);
        getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~SilentServer() { close(); }
    void close() {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    int port() const { return m_port; }

private:
    int m_fd;
    int m_port = 0;
};

std::vector<int32_t> gProgress;
void recordProgress(HostContext*, int32_t percent, const char16_t*) {
    gProgress.push_back(percent);
}

class ModuleSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/ib_tavro_test_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_folder = pattern;
        fs::copy_file(IB_TAVRO_MODULE_PATH, m_folder / "ib_tavro.module");
        gProgress.clear();
        query.size = sizeof(HistoryQuery);
        query.user = u"user";
        query.password = u"secret";
        query.accounts = m_accounts;
        query.accountCount = 1;
        query.onProgress = &recordProgress;
        query.days = 30;
    }
    void TearDown() override { fs::remove_all(m_folder); }

    void writeConfig(const std::string& text) { std::ofstream(m_folder / "ib_tavro.conf") << text; }
    std::string localConfig(int port) {
        return "host=127.0.0.1\nport=" + std::to_string(port) +
               "\nconnect_timeout=1\nlow_speed_time=1\n";
    }

    fs::path m_folder;
    const char16_t* m_accounts[1] = {u"73111111111111111111111111"};
    HistoryQuery query{};
};

TEST_F(ModuleSessionTest, SilentServerTimesOutAsFailedLogOn) {
    SilentServer server;
    writeConfig(localConfig(server.port()));
    ModuleLibrary module((m_folder / "ib_tavro.module").string());
    ASSERT_TRUE(module.loaded());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(module.queryHistory(&query, 0), -7);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(gProgress, (std::vector<int32_t>{2, 3, 5, 100}));
}

TEST_F(ModuleSessionTest, RefusedConnectionFailsTheLogOn) {
    SilentServer server;
    const int port = server.port();
    server.close();
    writeConfig(localConfig(port));
    ModuleLibrary module((m_folder / "ib_tavro.module").string());
    EXPECT_EQ(module.queryHistory(&query, 0), -7);
}

TEST_F(ModuleSessionTest, UnusableHostGivesNoConnection) {
    writeConfig("host=bad host\n");
    ModuleLibrary module((m_folder / "ib_tavro.module").string());
    EXPECT_EQ(module.queryHistory(&query, 0), -1);
    EXPECT_EQ(gProgress, (std::vector<int32_t>{2, 3, 5}));
}

TEST_F(ModuleSessionTest, FlagSetBeforeTheCallCancelsItOnce) {
    SilentServer server;
    writeConfig(localConfig(server.port()));
    ModuleLibrary module((m_folder / "ib_tavro.module").string());
    EXPECT_NE(module.setAbortFlag(), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(module.queryHistory(&query, 0), -8);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    EXPECT_EQ(gProgress.back(), 100);
    EXPECT_EQ(module.queryHistory(&query, 0), -7);  // the flag was cleared at the end
}
}  // namespace
