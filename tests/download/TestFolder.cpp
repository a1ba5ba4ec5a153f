// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestFolder.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

TestFolder::TestFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavro-dl-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    m_path = mkdtemp(buffer.data());
    std::filesystem::create_directories(banki());
}

TestFolder::~TestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void TestFolder::addModule(const std::string& module, const std::string& as) const {
    const std::string target = (as.empty() ? module : as) + ".module";
    std::filesystem::copy_file(std::filesystem::path(DL_TEST_MODULE_DIR) / (module + ".module"),
                               banki() / target, std::filesystem::copy_options::overwrite_existing);
}

void TestFolder::write(const std::filesystem::path& relative, const std::string& content) const {
    std::filesystem::create_directories((m_path / relative).parent_path());
    std::ofstream(m_path / relative, std::ios::binary) << content;
}

std::string TestFolder::read(const std::filesystem::path& relative) const {
    std::ifstream in(m_path / relative, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}
