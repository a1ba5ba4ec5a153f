// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

// Replaces a file as a whole: the bytes go to a temporary file in the same folder, which is
// flushed to disk and then renamed over the target. A failure at any step leaves the old file
// as it was.
class AtomicFileWriter {
public:
    // The new file gets mode 0600. False on any failure; the temporary file is then removed.
    static bool write(const std::filesystem::path& target, const std::vector<uint8_t>& bytes);
};
