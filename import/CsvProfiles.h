// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The CSV profiles a user can choose from: the user's own, kept in one JSON file in the data
// folder, then the shipped ones. A user profile may carry a shipped profile's name; it then
// stands in for it (that is how a shipped profile is corrected).

#include "CsvProfile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class CsvProfiles {
public:
    // <data folder>/CsvProfiles.json
    static std::filesystem::path DefaultFile();

    // Reads the user's profiles from `file` (none when it does not exist yet). A file that
    // cannot be read leaves only the shipped profiles, loadError() says why, and every change
    // is refused so that the file is never overwritten.
    explicit CsvProfiles(std::filesystem::path file = DefaultFile());

    const std::optional<QString>& loadError() const { return m_loadError; }

    const std::vector<CsvProfile>& userProfiles() const { return m_user; }
    // The user's profiles, then the shipped ones not standing in for them.
    std::vector<CsvProfile> all() const;
    // By name, the user's first; nullptr when there is none.
    const CsvProfile* find(const QString& name) const;
    bool isShipped(const QString& name) const;

    // Each change is written to the file at once (atomically) or not made at all: they throw
    // ImportError with a Polish message for an unusable profile, a name already taken by a user
    // profile, a profile that is not there or a file that cannot be written.
    void add(const CsvProfile& profile);
    void edit(const QString& name, const CsvProfile& changed);  // may rename it
    void rename(const QString& name, const QString& newName);
    void remove(const QString& name);

    // The profile whose header line is among the file's first lines, the user's first; nullptr
    // for a file in a format read without a profile (Tavro's own CSV above all) or when none
    // matches. Pointers from find() and match() hold until the next change.
    const CsvProfile* match(const std::string& bytes) const;

    // The names of all profiles, for a message that lists them.
    QStringList names() const;

private:
    void save(const std::vector<CsvProfile>& profiles);
    size_t indexOf(const QString& name) const;

    std::filesystem::path m_file;
    std::vector<CsvProfile> m_user;
    std::optional<QString> m_loadError;
};
