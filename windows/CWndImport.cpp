// SPDX-License-Identifier: GPL-3.0-or-later
#include "CWndImport.h"

#include "CWndImportPage.h"
#include "DialogTemplate.h"
#include "ImportError.h"
#include "ImportSet.h"
#include "MessageBox.h"
#include "StatementReader.h"

#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTabWidget>

namespace {

const ControlSpec kTemplate[] = {
    {CWndImport::kTabs, ControlKind::TabControl, {}, {4, 4, 460, 266}},
    {CWndImport::kImport,
     ControlKind::DefPushButton,
     QStringLiteral("&Importuj"),
     {360, 274, 50, 14}},
    {CWndImport::kCancel, ControlKind::PushButton, QStringLiteral("&Anuluj"), {414, 274, 50, 14}},
};

const QString kCaption = QStringLiteral("Import wyciągu");

// The bytes of a file, or why they cannot be had.
std::string readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw ImportError(
            QStringLiteral("Nie można otworzyć pliku (%1).").arg(file.errorString()).toStdString());
    }
    if (file.size() > qint64(StatementReader::kLargestFile)) {
        throw ImportError("Plik jest większy niż 256 MiB; Tavro takiego wyciągu nie wczytuje.");
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw ImportError(
            QStringLiteral("Nie można odczytać pliku (%1).").arg(file.errorString()).toStdString());
    }
    return bytes.toStdString();
}

}  // namespace

CWndImport::CWndImport(sqlite3x::connection& database, QWidget* parent)
    : CWndImport(database, CsvProfiles::DefaultFile(), parent) {}

CWndImport::CWndImport(sqlite3x::connection& database, std::filesystem::path profilesFile,
                       QWidget* parent)
    : QDialog(parent), m_database(database), m_profiles(std::move(profilesFile)) {
    setWindowTitle(QStringLiteral("Importuj wyciąg"));
    DialogTemplate tpl(this);
    tpl.setClientSize(468, 292);
    tpl.add(kTemplate);
    m_tabs = tpl.control<QTabWidget>(kTabs);
    connect(tpl.control<QPushButton>(kImport), &QPushButton::clicked, this, &CWndImport::importAll);
    connect(tpl.control<QPushButton>(kCancel), &QPushButton::clicked, this, &QDialog::reject);
}

int CWndImport::addFiles(const QStringList& paths) {
    QStringList problems;
    for (const QString& path : paths) {
        try {
            auto* page = new CWndImportPage(m_database, m_profiles, path, readBytes(path), m_tabs);
            m_tabs->addTab(page, page->fileName());
            // A profile made or changed in one tab is offered in the others at once.
            connect(page, &CWndImportPage::profilesChanged, this, [this, page] {
                for (int i = 0; i < pageCount(); ++i) {
                    if (this->page(i) != page) {
                        this->page(i)->refreshProfiles();
                    }
                }
            });
            if (page->isBankCsv()) {
                warnOfUnreadProfiles();
            }
        } catch (const ImportError& error) {
            problems << QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(),
                                                     QString::fromUtf8(error.what()));
        }
    }
    if (!problems.isEmpty()) {
        MessageBox::show(this,
                         QStringLiteral("Tych plików nie można zaimportować:\n\n") +
                             problems.join(QStringLiteral("\n")),
                         kCaption, MessageBox::Buttons::Ok, MessageBox::Icon::Warning);
    }
    return m_tabs->count();
}

// Once: the user's profiles could not be read, so only the shipped ones are offered and no change
// is stored (the file is kept as it is).
void CWndImport::warnOfUnreadProfiles() {
    if (m_profilesWarned || !m_profiles.loadError()) {
        return;
    }
    m_profilesWarned = true;
    MessageBox::show(this,
                     QStringLiteral("Nie można odczytać zapisanych profili CSV: %1\n\nDostępne są "
                                    "tylko profile dostarczone z programem; zmian profili nie "
                                    "można zapisać.")
                         .arg(*m_profiles.loadError()),
                     kCaption, MessageBox::Buttons::Ok, MessageBox::Icon::Warning);
}

CWndImportPage* CWndImport::page(int index) const {
    return qobject_cast<CWndImportPage*>(m_tabs->widget(index));
}

int CWndImport::pageCount() const {
    return m_tabs->count();
}

QStringList CWndImport::fileNames() const {
    QStringList names;
    for (int i = 0; i < pageCount(); ++i) {
        names << page(i)->fileName();
    }
    return names;
}

// Every tab must be importable as it now reads, and a disagreeing balance needs the tick.
bool CWndImport::readyToImport() {
    for (int i = 0; i < pageCount(); ++i) {
        CWndImportPage* one = page(i);
        QString problem;
        if (!one->problem().isEmpty()) {
            problem = QStringLiteral("Pliku „%1” nie można zaimportować: %2")
                          .arg(one->fileName(), one->problem());
        } else if (one->balanceHeld()) {
            problem = QStringLiteral(
                          "Saldo pliku „%1” nie zgadza się z jego operacjami. Zaznacz "
                          "„Importuj mimo niezgodności salda”, aby go mimo to zaimportować.")
                          .arg(one->fileName());
        }
        if (!problem.isEmpty()) {
            m_tabs->setCurrentIndex(i);
            MessageBox::show(this, problem, kCaption, MessageBox::Buttons::Ok,
                             MessageBox::Icon::Warning);
            return false;
        }
    }
    return true;
}

void CWndImport::importAll() {
    if (!readyToImport()) {
        return;
    }
    std::vector<ImportFile> files;
    for (int i = 0; i < pageCount(); ++i) {
        files.push_back(page(i)->importFile());
    }
    try {
        m_summaries = ImportSet::Run(m_database, files);
    } catch (const ImportError& error) {
        MessageBox::show(this, QString::fromUtf8(error.what()), kCaption, MessageBox::Buttons::Ok,
                         MessageBox::Icon::Error);
        return;
    }
    accept();
}
