// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <filesystem>

// The folder the demo may write in. The demo marks a folder it creates; it also takes a folder
// of an earlier version (the bank's certificate and the module configuration in it) and the
// build tree's demo-data. Any other folder is refused untouched: a variable pointing the demo
// at a real data folder must not let it rewrite the account list there.
class DemoFolder {
public:
    enum class Verdict { Missing, Empty, Marked, Earlier, BuildTree, Refused };

    static constexpr const char* kMarker = ".tavro-demo";

    static Verdict examine(const std::filesystem::path& folder);
    // Creates the folder (mode 0700, parents as needed), narrows an existing one to 0700 and
    // writes the marker. False when it cannot.
    static bool claim(const std::filesystem::path& folder);
    // The file replaced as a whole, mode 0600.
    static bool writePrivate(const std::filesystem::path& file, const QByteArray& bytes);
    // An empty file of mode 0600 that a child process then writes (the bank's log and
    // certificate); an existing one is truncated and narrowed.
    static bool createPrivate(const std::filesystem::path& file);

    // "Folder '<folder>' nie jest folderem danych demonstracyjnych ..."
    static QString refusalText(const std::filesystem::path& folder);
};
