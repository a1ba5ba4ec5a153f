// SPDX-License-Identifier: GPL-3.0-or-later
#include "AtomicFileWriter.h"

#include "WriteAll.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return m_fd; }
    bool close() {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

// Makes the rename itself durable; a folder that cannot be synced is no reason to fail.
void syncFolder(const std::filesystem::path& folder) {
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) {
        ::fsync(dir.get());
    }
}

// A save killed half-way leaves its temporary file behind; the next save clears them away.
// Only one copy of the program runs, so no other save can be using one.
void removeLeftovers(const std::filesystem::path& folder, const std::string& pattern) {
    const std::string prefix = pattern.substr(0, pattern.size() - 6);
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == pattern.size() && name.compare(0, prefix.size(), prefix) == 0 &&
            entry.is_regular_file(error)) {
            std::filesystem::remove(entry.path(), error);
        }
    }
}

}  // namespace

bool AtomicFileWriter::write(const std::filesystem::path& target,
                             const std::vector<uint8_t>& bytes) {
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::string name(1, '.');
    name += target.filename().string();
    name += ".XXXXXX";
    std::string temp = (folder / name).string();
    // mkstemp creates the file with mode 0600.
    FileDescriptor fd(::mkstemp(temp.data()));
    if (fd.get() < 0) {
        return false;
    }
    const bool written = ::fchmod(fd.get(), 0600) == 0 &&
                         WriteAll(fd.get(), bytes.data(), bytes.size()) && ::fsync(fd.get()) == 0 &&
                         fd.close() && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!written) {
        ::unlink(temp.c_str());
        return false;
    }
    removeLeftovers(folder, name);
    syncFolder(folder);
    return true;
}
