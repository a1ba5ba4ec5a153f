// SPDX-License-Identifier: GPL-3.0-or-later
#include "CsvProfiles.h"

#include "AppPaths.h"
#include "AtomicFileWriter.h"
#include "CsvReader.h"
#include "ImportError.h"
#include "ShippedCsvProfiles.h"
#include "StatementReader.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

constexpr int kFileVersion = 1;

QString pathText(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

[[noreturn]] void refuse(const QString& what) {
    throw ImportError(what.toStdString());
}

std::vector<CsvProfile> readFile(const std::filesystem::path& path) {
    QFile file(pathText(path));
    if (!file.exists()) {
        return {};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        refuse(QStringLiteral("Nie można odczytać pliku profili CSV %1.").arg(pathText(path)));
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (document.isNull() || !document.isObject() ||
        document.object().value(QLatin1String("version")).toInt() != kFileVersion) {
        refuse(QStringLiteral("Plik profili CSV %1 jest uszkodzony (%2).")
                   .arg(pathText(path), document.isNull() ? error.errorString()
                                                          : QStringLiteral("nieznana wersja")));
    }
    std::vector<CsvProfile> profiles;
    for (const QJsonValue value : document.object().value(QLatin1String("profiles")).toArray()) {
        try {
            profiles.push_back(CsvProfile::FromJson(value.toObject()));
        } catch (const ImportError& e) {
            refuse(QStringLiteral("Plik profili CSV %1: %2")
                       .arg(pathText(path), QString::fromUtf8(e.what())));
        }
    }
    return profiles;
}

void checkUsable(const CsvProfile& profile) {
    if (const auto why = profile.problem()) {
        refuse(*why);
    }
}

}  // namespace

std::filesystem::path CsvProfiles::DefaultFile() {
    return AppPaths::dataFolder() / "CsvProfiles.json";
}

CsvProfiles::CsvProfiles(std::filesystem::path file) : m_file(std::move(file)) {
    try {
        m_user = readFile(m_file);
    } catch (const ImportError& e) {
        m_loadError = QString::fromUtf8(e.what());
    }
}

std::vector<CsvProfile> CsvProfiles::all() const {
    std::vector<CsvProfile> profiles = m_user;
    for (const CsvProfile& shipped : ShippedCsvProfiles::All()) {
        if (indexOf(shipped.name) == m_user.size()) {
            profiles.push_back(shipped);
        }
    }
    return profiles;
}

size_t CsvProfiles::indexOf(const QString& name) const {
    for (size_t i = 0; i < m_user.size(); ++i) {
        if (m_user[i].name == name) {
            return i;
        }
    }
    return m_user.size();
}

const CsvProfile* CsvProfiles::find(const QString& name) const {
    if (const size_t i = indexOf(name); i < m_user.size()) {
        return &m_user[i];
    }
    for (const CsvProfile& shipped : ShippedCsvProfiles::All()) {
        if (shipped.name == name) {
            return &shipped;
        }
    }
    return nullptr;
}

bool CsvProfiles::isShipped(const QString& name) const {
    for (const CsvProfile& shipped : ShippedCsvProfiles::All()) {
        if (shipped.name == name) {
            return true;
        }
    }
    return false;
}

void CsvProfiles::add(const CsvProfile& profile) {
    checkUsable(profile);
    if (indexOf(profile.name) < m_user.size()) {
        refuse(QStringLiteral("Profil CSV „%1” już istnieje.").arg(profile.name));
    }
    std::vector<CsvProfile> changed = m_user;
    changed.push_back(profile);
    save(changed);
}

void CsvProfiles::edit(const QString& name, const CsvProfile& profile) {
    checkUsable(profile);
    const size_t i = indexOf(name);
    if (i == m_user.size()) {
        refuse(QStringLiteral("Nie ma własnego profilu CSV „%1”.").arg(name));
    }
    if (profile.name != name && indexOf(profile.name) < m_user.size()) {
        refuse(QStringLiteral("Profil CSV „%1” już istnieje.").arg(profile.name));
    }
    std::vector<CsvProfile> changed = m_user;
    changed[i] = profile;
    save(changed);
}

void CsvProfiles::rename(const QString& name, const QString& newName) {
    const size_t i = indexOf(name);
    if (i == m_user.size()) {
        refuse(QStringLiteral("Nie ma własnego profilu CSV „%1”.").arg(name));
    }
    CsvProfile renamed = m_user[i];
    renamed.name = newName;
    edit(name, renamed);
}

void CsvProfiles::remove(const QString& name) {
    const size_t i = indexOf(name);
    if (i == m_user.size()) {
        refuse(
            isShipped(name)
                ? QStringLiteral("Profil CSV „%1” jest wbudowany; nie można go usunąć.").arg(name)
                : QStringLiteral("Nie ma własnego profilu CSV „%1”.").arg(name));
    }
    std::vector<CsvProfile> changed = m_user;
    changed.erase(changed.begin() + std::ptrdiff_t(i));
    save(changed);
}

void CsvProfiles::save(const std::vector<CsvProfile>& profiles) {
    if (m_loadError) {
        refuse(*m_loadError + QStringLiteral(" Zmian nie zapisano, by go nie nadpisać."));
    }
    QJsonArray array;
    for (const CsvProfile& profile : profiles) {
        array.append(profile.toJson());
    }
    const QByteArray json = QJsonDocument(QJsonObject{{QStringLiteral("version"), kFileVersion},
                                                      {QStringLiteral("profiles"), array}})
                                .toJson(QJsonDocument::Indented);
    if (m_file.parent_path() == AppPaths::dataFolder()) {
        AppPaths::ensureDataFolder();
    }
    if (!AtomicFileWriter::write(m_file, std::vector<uint8_t>(json.begin(), json.end()))) {
        refuse(QStringLiteral("Nie można zapisać pliku profili CSV %1.").arg(pathText(m_file)));
    }
    m_user = profiles;
}

const CsvProfile* CsvProfiles::match(const std::string& bytes) const {
    if (StatementReader::DetectFormat(bytes)) {
        return nullptr;
    }
    for (const CsvProfile& profile : m_user) {
        if (CsvReader::HasHeader(bytes, profile)) {
            return &profile;
        }
    }
    for (const CsvProfile& shipped : ShippedCsvProfiles::All()) {
        if (indexOf(shipped.name) == m_user.size() && CsvReader::HasHeader(bytes, shipped)) {
            return &shipped;
        }
    }
    return nullptr;
}

QStringList CsvProfiles::names() const {
    QStringList out;
    for (const CsvProfile& profile : all()) {
        out += profile.name;
    }
    return out;
}
