#include "ExportFiles.h"

#include "CsvExportWriter.h"
#include "OfxExportWriter.h"
#include "WriteAll.h"
#include "XmlExportWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fstream>
#include <map>
#include <set>

namespace {

struct Statement {
    std::u16string account;
    std::vector<StoredOperation> ops;
};

// Per account, in the order the accounts first appear.
std::vector<Statement> byAccount(const std::vector<StoredOperation>& ops) {
    std::vector<Statement> statements;
    std::map<std::u16string, size_t> index;
    for (const StoredOperation& op : ops) {
        const auto [it, added] = index.emplace(op.ownAccount, statements.size());
        if (added) {
            statements.push_back({op.ownAccount, {}});
        }
        statements[it->second].ops.push_back(op);
    }
    return statements;
}

std::string nameSafe(const std::u16string& account) {
    std::string out;
    for (const char16_t c : account) {
        if (c < 0x80 && std::isalnum(static_cast<unsigned char>(c))) {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// The last four characters of each account number; the whole number where those are shared,
// and a running number where even that is not enough.
std::vector<std::string> fileTags(const std::vector<Statement>& statements) {
    std::vector<std::string> tags;
    std::map<std::string, int> uses;
    for (const Statement& s : statements) {
        const std::string safe = nameSafe(s.account);
        tags.push_back(safe.substr(safe.size() - std::min<size_t>(4, safe.size())));
        ++uses[tags.back()];
    }
    std::set<std::string> taken;
    for (size_t i = 0; i < tags.size(); ++i) {
        if (uses[tags[i]] > 1 || tags[i].empty()) {
            tags[i] = nameSafe(statements[i].account);
        }
        const std::string base = tags[i];
        for (int n = 2; tags[i].empty() || !taken.insert(tags[i]).second; ++n) {
            tags[i] = (base.empty() ? std::string("konto") : base + "-") + std::to_string(n);
        }
    }
    return tags;
}

std::filesystem::path tagged(const std::filesystem::path& target, const std::string& tag) {
    std::filesystem::path out = target;
    out.replace_filename(target.stem().string() + "-" + tag + target.extension().string());
    return out;
}

// What a newly created file would get: 0666 less the process's umask, read without changing
// it (changing it would race with other threads creating files).
mode_t newFileMode() {
    mode_t mask = 022;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) {
            mask = static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
            break;
        }
    }
    return 0666 & ~mask;
}

// A written temporary file; removed unless it was renamed over its target.
class PendingFile {
public:
    PendingFile() = default;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    ~PendingFile() {
        if (!m_temp.empty()) {
            ::unlink(m_temp.c_str());
        }
    }

    ExportFiles::Failure write(const ExportFile& file, mode_t newMode) {
        std::error_code error;
        if (std::filesystem::is_directory(file.path, error)) {
            return ExportFiles::Failure::Open;
        }
        struct stat existing {};
        const mode_t mode =
            ::stat(file.path.c_str(), &existing) == 0 ? existing.st_mode & 07777 : newMode;
        const std::filesystem::path folder =
            file.path.has_parent_path() ? file.path.parent_path() : std::filesystem::path(".");
        std::string name = ".";
        name += file.path.filename().string();
        name += ".XXXXXX";
        std::string temp = (folder / name).string();
        const int fd = ::mkstemp(temp.data());
        if (fd < 0) {
            return ExportFiles::Failure::Open;
        }
        m_temp = temp;
        const bool ok = ::fchmod(fd, mode) == 0 &&
                        WriteAll(fd, file.bytes.data(), file.bytes.size()) && ::fsync(fd) == 0;
        return ::close(fd) == 0 && ok ? ExportFiles::Failure::None : ExportFiles::Failure::Write;
    }

    bool commit(const std::filesystem::path& target) {
        if (::rename(m_temp.c_str(), target.c_str()) != 0) {
            return false;
        }
        m_temp.clear();
        return true;
    }

private:
    std::string m_temp;
};

}  // namespace

const char* ExportFiles::Suffix(ExportFormat format) {
    switch (format) {
        case ExportFormat::Ofx:
            return "ofx";
        case ExportFormat::Csv:
            return "csv";
        case ExportFormat::Xml:
            break;
    }
    return "xml";
}

const char* ExportFiles::Name(ExportFormat format) {
    switch (format) {
        case ExportFormat::Ofx:
            return "OFX";
        case ExportFormat::Csv:
            return "CSV";
        case ExportFormat::Xml:
            break;
    }
    return "XML";
}

std::optional<ExportFormat> ExportFiles::FormatOf(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const ExportFormat format : {ExportFormat::Xml, ExportFormat::Ofx, ExportFormat::Csv}) {
        if (extension == std::string(".") + Suffix(format)) {
            return format;
        }
    }
    return std::nullopt;
}

std::vector<ExportFile> ExportFiles::Build(ExportFormat format, const std::filesystem::path& target,
                                           const std::vector<StoredOperation>& ops, int64_t now,
                                           const std::u16string& emptyAccount) {
    if (format == ExportFormat::Xml) {
        return {{target, XmlExportWriter::Document(ops)}};
    }
    if (format == ExportFormat::Csv) {
        return {{target, CsvExportWriter::Document(ops)}};
    }
    std::vector<Statement> statements = byAccount(ops);
    if (statements.empty() && !emptyAccount.empty()) {
        statements.push_back({emptyAccount, {}});
    }
    if (statements.size() == 1) {
        const Statement& only = statements.front();
        return {{target, OfxExportWriter::Document(only.account, only.ops, now)}};
    }
    const std::vector<std::string> tags = fileTags(statements);
    std::vector<ExportFile> files;
    for (size_t i = 0; i < statements.size(); ++i) {
        files.push_back({tagged(target, tags[i]),
                         OfxExportWriter::Document(statements[i].account, statements[i].ops, now)});
    }
    return files;
}

ExportFiles::Outcome ExportFiles::Write(const std::vector<ExportFile>& files) {
    const mode_t mode = newFileMode();
    std::vector<PendingFile> pending(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        const Failure failure = pending[i].write(files[i], mode);
        if (failure != Failure::None) {
            return {failure, files[i].path};
        }
    }
    // Renames within one folder fail only when the folder itself went away meanwhile.
    for (size_t i = 0; i < files.size(); ++i) {
        if (!pending[i].commit(files[i].path)) {
            return {Failure::Write, files[i].path};
        }
    }
    return {};
}
