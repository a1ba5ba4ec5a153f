// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportDatabase.h"

#include <QString>
#include <QTemporaryDir>

#include <sqlite3.h>

#include "AppPaths.h"
#include "ImportError.h"
#include "Schema.h"
#include "StorageFailure.h"

namespace {

QString pathText(const std::filesystem::path& path) {
    return QString::fromLocal8Bit(path.native());
}

// One Polish sentence for a failure of SQLite, with the file it concerns.
ImportError failureOf(const sqlite3x::database_error& error) {
    const QString file = pathText(AppPaths::databaseFile());
    if (StorageFailure::IsBusy(error.code())) {
        return ImportError(QStringLiteral("Plik bazy danych %1 jest zajęty przez inny program "
                                          "dłużej niż %2 s; niczego nie zapisano. Spróbuj "
                                          "ponownie później.")
                               .arg(file)
                               .arg(ImportDatabase::kHeldMilliseconds / 1000)
                               .toStdString());
    }
    const QString reason = QString::fromStdU16String(StorageFailure::Reason(error.code()));
    if (StorageFailure::IsDamage(error.code())) {
        return ImportError(QStringLiteral("%1 Plik %2 zostawiono bez zmian: zachowaj jego kopię, "
                                          "aby odzyskać zapisaną historię.")
                               .arg(reason, file)
                               .toStdString());
    }
    return ImportError(QStringLiteral("%1 Plik: %2 (%3); niczego nie zapisano.")
                           .arg(reason, file, QString::fromUtf8(error.what()))
                           .toStdString());
}

// Another program (the sqlite3 shell, a backup tool) may hold the file; it is given
// kHeldMilliseconds to let go of it, readers included, before anything is opened for writing.
void waitUntilFree(const std::u16string& path) {
    sqlite3x::connection probe;
    probe.open(path);
    sqlite3_busy_timeout(probe.handle(), ImportDatabase::kHeldMilliseconds);
    probe.execute("BEGIN EXCLUSIVE");
    probe.execute("ROLLBACK");
}

}  // namespace

ImportDatabase::ImportDatabase() = default;

ImportDatabase::~ImportDatabase() {
    try {
        m_con.close();
    } catch (const std::exception&) {
        // A statement still open: SQLite closes the handle once it is finalised.
    }
    if (!m_keep) {
        removeCreated();
    }
}

void ImportDatabase::open(bool dryRun) {
    std::error_code error;
    const bool existed = std::filesystem::exists(AppPaths::databaseFile(), error);
    std::u16string path = AppPaths::databaseFileU16();
    if (!existed && dryRun) {
        m_scratch = std::make_unique<QTemporaryDir>();
        if (!m_scratch->isValid()) {
            throw ImportError("Nie można utworzyć folderu tymczasowego na próbny import.");
        }
        path = (m_scratch->path() + QStringLiteral("/masterDatabase.sq3")).toStdU16String();
    } else if (!existed) {
        create();
    }
    try {
        if (existed) {
            waitUntilFree(path);
        }
        Schema::OpenDatabase(m_con, path, [](const std::u16string&) {});
        sqlite3_busy_timeout(m_con.handle(), kHeldMilliseconds);
    } catch (const sqlite3x::database_error& failure) {
        throw failureOf(failure);
    }
}

// As at a first start: the data folder, private, then the database file beside nothing else.
void ImportDatabase::create() {
    std::error_code error;
    for (std::filesystem::path folder = AppPaths::dataFolder();
         !folder.empty() && !std::filesystem::exists(folder, error);
         folder = folder.parent_path()) {
        m_createdFolders.push_back(folder);
        if (folder == folder.parent_path()) {
            break;
        }
    }
    m_createdDatabase = true;
    if (!AppPaths::ensureDataFolder()) {
        throw ImportError(QStringLiteral("Nie można utworzyć folderu danych %1; niczego nie "
                                         "zapisano.")
                              .arg(pathText(AppPaths::dataFolder()))
                              .toStdString());
    }
}

void ImportDatabase::removeCreated() {
    std::error_code error;
    if (m_createdDatabase) {
        const std::filesystem::path database = AppPaths::databaseFile();
        std::filesystem::remove(database, error);
        std::filesystem::remove(database.string() + "-journal", error);
    }
    // Only folders left empty go; anything else put there meanwhile keeps its folder.
    for (const std::filesystem::path& folder : m_createdFolders) {
        std::filesystem::remove(folder, error);
    }
}
