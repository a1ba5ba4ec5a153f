// SPDX-License-Identifier: GPL-3.0-or-later
#include "DemoFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <vector>

#include "AtomicFileWriter.h"

namespace fs = std::filesystem;

namespace {

bool present(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

}  // namespace

DemoFolder::Verdict DemoFolder::examine(const fs::path& folder) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(folder, error);
    if (!fs::exists(status)) {
        return Verdict::Missing;
    }
    if (!fs::is_directory(status)) {
        return Verdict::Refused;
    }
    if (present(folder / kMarker)) {
        return Verdict::Marked;
    }
    if (present(folder / "bank.pem") && present(folder / "ib_tavro.conf")) {
        return Verdict::Earlier;
    }
    if (folder.filename() == "demo-data" && present(folder.parent_path() / "CMakeCache.txt")) {
        return Verdict::BuildTree;
    }
    if (fs::is_empty(folder, error) && !error) {
        return Verdict::Empty;
    }
    return Verdict::Refused;
}

bool DemoFolder::claim(const fs::path& folder) {
    std::error_code error;
    if (!folder.parent_path().empty()) {
        fs::create_directories(folder.parent_path(), error);
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    return ::chmod(folder.c_str(), 0700) == 0 &&
           writePrivate(folder / kMarker, QByteArrayLiteral("Tavro demo folder\n"));
}

bool DemoFolder::writePrivate(const fs::path& file, const QByteArray& bytes) {
    return AtomicFileWriter::write(file, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

bool DemoFolder::createPrivate(const fs::path& file) {
    const int fd =
        ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return false;
    }
    const bool narrowed = ::fchmod(fd, 0600) == 0;
    ::close(fd);
    return narrowed;
}

QString DemoFolder::refusalText(const fs::path& folder) {
    return QStringLiteral(
               "Folder '%1' nie jest folderem danych demonstracyjnych, więc tryb demonstracyjny "
               "go nie użyje i niczego w nim nie zmieni. Wskaż w zmiennej TAVRO_DEMO_DATA folder "
               "nieistniejący, pusty albo utworzony wcześniej przez tryb demonstracyjny.")
        .arg(QString::fromStdString(folder.string()));
}
