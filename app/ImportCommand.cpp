// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportCommand.h"

#include <QDateTime>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>
#include <ostream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "CommandLine.h"
#include "CsvProfiles.h"
#include "ImportDatabase.h"
#include "ImportError.h"
#include "Schema.h"
#include "SingleInstance.h"
#include "StatementChecks.h"
#include "StatementImport.h"
#include "StatementReader.h"
#include "sqlite3x.h"

namespace {

struct Options {
    std::string file;
    std::optional<std::u16string> account;
    std::optional<StatementFormat> format;
    std::optional<TextEncoding> encoding;
    QString profile;  // a CSV profile's name
    bool dryRun = false;
    bool ignoreBalance = false;
};

QString fileText(const std::string& name) {
    return QFile::decodeName(QByteArray::fromStdString(name));
}

ImportError failure(const QString& message) {
    return ImportError(message.toStdString());
}

Options optionsOf(const CommandLine& line) {
    Options options;
    options.file = line.file();
    options.dryRun = line.dryRun();
    options.ignoreBalance = line.ignoreBalance();
    options.profile = QString::fromLocal8Bit(line.profile());
    if (!line.account().empty()) {
        options.account = QString::fromLocal8Bit(line.account()).toStdU16String();
    }
    if (!line.format().empty()) {
        options.format = StatementReader::FormatFromName(line.format());
        if (!options.format) {
            throw failure(QStringLiteral("Nieznany format wyciągu: \"%1\" (znane: mt940, camt, "
                                         "ofx, csv, xml).")
                              .arg(QString::fromLocal8Bit(line.format())));
        }
    }
    if (!line.encoding().empty()) {
        options.encoding = TextDecoding::FromName(QString::fromLocal8Bit(line.encoding()));
        if (!options.encoding) {
            throw failure(QStringLiteral("Nieznane kodowanie: \"%1\" (znane: UTF-8, "
                                         "windows-1250, ISO-8859-2, CP852).")
                              .arg(QString::fromLocal8Bit(line.encoding())));
        }
    }
    return options;
}

class FileHandle {
public:
    explicit FileHandle(const std::string& name)
        : m_fd(::open(name.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~FileHandle() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

ImportError unreadable(const std::string& name, int error) {
    const QString file = fileText(name);
    switch (error) {
        case ENOENT:
            return failure(QStringLiteral("Nie ma pliku %1.").arg(file));
        case EACCES:
        case EPERM:
            return failure(QStringLiteral("Brak dostępu do pliku %1.").arg(file));
        case EISDIR:
            return failure(QStringLiteral("%1 to folder, a nie plik wyciągu.").arg(file));
        default:
            return failure(QStringLiteral("Nie można odczytać pliku %1 (%2).")
                               .arg(file, QString::fromLocal8Bit(std::strerror(error))));
    }
}

ImportError tooLarge(const std::string& name) {
    return failure(QStringLiteral("Plik %1 jest większy niż 256 MiB; Tavro takiego wyciągu nie "
                                  "wczytuje.")
                       .arg(fileText(name)));
}

// The whole file; its size is checked before it is read, and again while reading (a pipe or a
// file that grows has no size to check).
std::string readFile(const std::string& name) {
    const FileHandle file(name);
    struct stat info {};
    if (file.fd() < 0 || ::fstat(file.fd(), &info) != 0) {
        throw unreadable(name, errno);
    }
    if (S_ISDIR(info.st_mode)) {
        throw unreadable(name, EISDIR);
    }
    if (S_ISREG(info.st_mode) && size_t(info.st_size) > StatementReader::kLargestFile) {
        throw tooLarge(name);
    }
    std::string bytes;
    bytes.reserve(S_ISREG(info.st_mode) ? size_t(info.st_size) : 0);
    constexpr size_t kChunk = 1 << 20;
    for (;;) {
        const size_t at = bytes.size();
        bytes.resize(at + kChunk);
        const ssize_t got = ::read(file.fd(), bytes.data() + at, kChunk);
        if (got < 0 && errno == EINTR) {
            bytes.resize(at);
            continue;
        }
        if (got < 0) {
            throw unreadable(name, errno);
        }
        bytes.resize(at + size_t(got));
        if (got == 0) {
            return bytes;
        }
        if (bytes.size() > StatementReader::kLargestFile) {
            throw tooLarge(name);
        }
    }
}

struct ReadFile {
    StatementFile file;
    std::string profileLine;  // names the CSV profile the file was read with
};

QString profileNames(const CsvProfiles& profiles) {
    return profiles.names().join(QStringLiteral(", "));
}

ReadFile readWithProfile(const std::string& bytes, const Options& options,
                         const CsvProfile& profile) {
    ReadFile read;
    read.file = StatementReader::Read(bytes, StatementFormat::BankCsv, options.encoding, &profile);
    QString line = QStringLiteral("Plik CSV czytany z profilem „%1”").arg(profile.name);
    if (profile.fromPublicDescriptions) {
        line += QStringLiteral(" (%1)").arg(CsvProfile::UncheckedNote());
    }
    read.profileLine = (line + QLatin1Char('.')).toStdString();
    return read;
}

// A bank's CSV file needs a profile: the one named, else the one whose header line the file
// holds. Every other format is told from the content (or given).
ReadFile readStatements(const std::string& bytes, const Options& options) {
    const bool csvAsked = options.format == StatementFormat::OwnCsv;
    if (options.profile.isEmpty() && options.format && !csvAsked) {
        return {StatementReader::Read(bytes, options.format, options.encoding), {}};
    }
    const CsvProfiles profiles;
    if (!options.profile.isEmpty()) {
        const CsvProfile* named = profiles.find(options.profile);
        if (named == nullptr) {
            throw failure(QStringLiteral("Nie ma profilu CSV „%1” (są: %2).")
                              .arg(options.profile, profileNames(profiles)));
        }
        return readWithProfile(bytes, options, *named);
    }
    const std::optional<StatementFormat> detected = StatementReader::DetectFormat(bytes);
    if (detected && (!csvAsked || *detected == StatementFormat::OwnCsv)) {
        return {StatementReader::Read(bytes, options.format, options.encoding), {}};
    }
    if (const CsvProfile* matching = profiles.match(bytes)) {
        return readWithProfile(bytes, options, *matching);
    }
    throw failure(QStringLiteral("Nieznany format pliku: to nie jest MT940, camt.053, OFX, "
                                 "eksport Tavro ani plik CSV, którego nagłówek zna któryś profil "
                                 "CSV (%1). Profil wskaż opcją --profile NAZWA.")
                      .arg(profileNames(profiles)));
}

std::u16string storedFileName(const std::string& name) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(name, error);
    return fileText(error ? name : absolute.string()).toStdU16String();
}

// When the file was imported before: the time of that import (0 when unknown).
std::optional<int64_t> earlierImport(sqlite3x::connection& con, const std::string& sha256) {
    if (con.execute_int(Schema::kImportBatchesExist) == 0) {
        return std::nullopt;
    }
    sqlite3x::command first(con, Schema::kSelectFirstImportOfFile);
    first.bind_text(1, QString::fromStdString(sha256).toStdU16String());
    sqlite3x::reader row = first.execute_reader();
    if (!row.read()) {
        return std::nullopt;
    }
    return row.get_int64(0);
}

bool nothingNew(const ImportSummary& summary) {
    return std::all_of(summary.accounts.begin(), summary.accounts.end(),
                       [](const AccountCounts& c) { return c.stored == 0 && c.probable == 0; });
}

// A file imported before is only counted again: the earlier import's rows are its rows, and a
// second batch that stored nothing would only stand in the way of undoing the first.
ImportSummary importInto(sqlite3x::connection& con, const StatementFile& file,
                         const ImportRequest& request, bool importedBefore) {
    StatementImport import(con);
    if (importedBefore && !request.dryRun) {
        ImportRequest count = request;
        count.dryRun = true;
        ImportSummary summary = import.run(file, count);
        if (nothingNew(summary)) {
            return summary;
        }
    }
    return import.run(file, request);
}

void printSummary(const ImportSummary& summary, std::ostream& out) {
    for (const AccountCounts& c : summary.accounts) {
        out << QString::fromStdU16String(c.account).toStdString() << ": nowe " << c.stored
            << ", już zapisane " << c.known << ", prawdopodobnie zapisane " << c.probable
            << ", pominięte " << c.skipped << '\n';
    }
}

std::string importedBeforeLine(std::optional<int64_t> when) {
    if (!when || *when <= 0) {
        return "Ten plik był już zaimportowany.";
    }
    return QStringLiteral("Ten plik był już zaimportowany %1.")
        .arg(QDateTime::fromSecsSinceEpoch(*when).toString(QStringLiteral("yyyy-MM-dd 'o' HH:mm")))
        .toStdString();
}

int importFile(const Options& options, std::ostream& out, std::ostream& err) {
    ImportRequest request;
    request.account = options.account;
    request.dryRun = options.dryRun;
    request.ignoreBalance = options.ignoreBalance;
    request.fileName = storedFileName(options.file);
    ReadFile read;
    {
        const std::string bytes = readFile(options.file);
        request.sha256 = StatementImport::Sha256Hex(bytes);
        read = readStatements(bytes, options);
    }
    const StatementFile& file = read.file;
    StatementChecks::CheckFile(file, options.account, options.ignoreBalance);

    SingleInstance instance;
    if (!instance.acquire()) {
        throw failure(QStringLiteral("Tavro jest uruchomione: zamknij je i spróbuj ponownie."));
    }
    ImportDatabase database;
    database.open(options.dryRun);
    const std::optional<int64_t> before = earlierImport(database.connection(), request.sha256);
    request.time = int64_t(std::time(nullptr));
    const ImportSummary summary =
        importInto(database.connection(), file, request, before.has_value());
    if (!options.dryRun) {
        database.keep();
    }
    printSummary(summary, out);
    out.flush();
    if (!read.profileLine.empty()) {
        err << "tavro: " << read.profileLine << '\n';
    }
    if (before) {
        err << "tavro: " << importedBeforeLine(before) << '\n';
    }
    return 0;
}

}  // namespace

int ImportCommand::Run(const CommandLine& line, std::ostream& out, std::ostream& err) {
    try {
        return importFile(optionsOf(line), out, err);
    } catch (const ImportError& failure) {
        err << "tavro: " << failure.what() << '\n';
    } catch (const sqlite3x::database_error& failure) {
        err << "tavro: Błąd bazy danych: " << failure.what() << "; niczego nie zapisano.\n";
    } catch (const std::exception& failure) {
        err << "tavro: Błąd: " << failure.what() << '\n';
    }
    return 1;
}
