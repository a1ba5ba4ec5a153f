// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

// A private temporary folder, removed with everything in it when the object goes.
class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path banki() const { return m_path / "banki"; }

    // Copies a test module (file name without ".module") into banki/ under the given name.
    void addModule(const std::string& module, const std::string& as = {}) const;
    void write(const std::filesystem::path& relative, const std::string& content) const;
    std::string read(const std::filesystem::path& relative) const;

private:
    std::filesystem::path m_path;
};
