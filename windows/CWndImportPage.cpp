// SPDX-License-Identifier: GPL-3.0-or-later
#include "CWndImportPage.h"

#include "CImportPreviewModel.h"
#include "CWndBusy.h"
#include "CWndCsvProfile.h"
#include "CsvProfiles.h"
#include "CsvReader.h"
#include "DialogTemplate.h"
#include "ImportError.h"
#include "MessageBox.h"
#include "StatementChecks.h"
#include "StatementReader.h"
#include "StatementValues.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>

#include <algorithm>

namespace {

using Page = CWndImportPage;

const ControlSpec kTemplate[] = {
    {1120, ControlKind::Label, QStringLiteral("Format:"), {4, 6, 52, 8}},
    {Page::kFormat, ControlKind::Label, {}, {58, 6, 150, 8}},
    {1121, ControlKind::Label, QStringLiteral("&Strona kodowa:"), {4, 20, 52, 8}},
    {Page::kCodePage, ControlKind::DropDownList, {}, {58, 18, 90, 80}},
    {1124, ControlKind::Label, QStringLiteral("&Profil CSV:"), {152, 20, 42, 8}},
    {Page::kProfile, ControlKind::DropDownList, {}, {196, 18, 146, 120}},
    {Page::kNewProfile, ControlKind::PushButton, QStringLiteral("&Nowy..."), {344, 17, 34, 14}},
    {Page::kEditProfile, ControlKind::PushButton, QStringLiteral("&Zmień..."), {380, 17, 36, 14}},
    {Page::kDeleteProfile, ControlKind::PushButton, QStringLiteral("&Usuń"), {418, 17, 30, 14}},
    {1122, ControlKind::Label, QStringLiteral("Rachunek:"), {4, 34, 52, 8}},
    {Page::kAccounts, ControlKind::Label, {}, {58, 34, 390, 8}},
    {Page::kAccountInput, ControlKind::Edit, {}, {58, 32, 130, 12}},
    {1123, ControlKind::Label, QStringLiteral("Okres:"), {4, 46, 52, 8}},
    {Page::kPeriod, ControlKind::Label, {}, {58, 46, 200, 8}},
    {Page::kBalance, ControlKind::Label, {}, {4, 60, 300, 18}},
    {Page::kIgnoreBalance,
     ControlKind::CheckBox,
     QStringLiteral("Importuj mimo niezgodności salda"),
     {310, 60, 140, 10}},
    {Page::kImportedBefore, ControlKind::Label, {}, {4, 80, 444, 8}},
    {Page::kTable, ControlKind::ListView, {}, {4, 92, 444, 140}},
    {Page::kCounts, ControlKind::Label, {}, {4, 236, 444, 8}},
};

// The order of the code page list.
const TextEncoding kEncodings[] = {TextEncoding::Utf8, TextEncoding::Windows1250,
                                   TextEncoding::Iso88592, TextEncoding::Cp852};
const char* const kEncodingNames[] = {"UTF-8", "Windows-1250", "ISO-8859-2", "CP852"};

const char* formatName(StatementFormat format) {
    switch (format) {
        case StatementFormat::Mt940:
            return "MT940";
        case StatementFormat::Camt053:
            return "camt.053 (ISO 20022)";
        case StatementFormat::Ofx:
            return "OFX";
        case StatementFormat::OwnCsv:
            return "CSV (eksport Tavro)";
        case StatementFormat::OwnXml:
            return "XML (eksport Tavro)";
        case StatementFormat::BankCsv:
            return "CSV banku";
    }
    return "";
}

// The statements' own periods; for a statement without one, its posting dates.
std::pair<std::optional<int64_t>, std::optional<int64_t>> period(const StatementFile& file) {
    std::optional<int64_t> from, to;
    const auto widen = [&from, &to](int64_t first, int64_t last) {
        from = from ? std::min(*from, first) : first;
        to = to ? std::max(*to, last) : last;
    };
    for (const Statement& statement : file.statements) {
        if (statement.periodFrom && statement.periodTo) {
            widen(*statement.periodFrom, *statement.periodTo);
            continue;
        }
        for (const StatementOperation& op : statement.operations) {
            widen(op.bookingDate, op.bookingDate);
        }
    }
    return {from, to};
}

const QString kProfileCaption = QStringLiteral("Profil CSV");

// From this size on a file is read and compared with the history beside a progress window.
constexpr size_t kLargeFile = size_t(1) << 20;

// A file in none of the formats read without a profile, but cut into a table by some separator.
bool looksLikeBankCsv(const std::string& bytes) {
    return !StatementReader::DetectFormat(bytes) && CsvReader::GuessSeparator(bytes);
}

// What a new profile starts from: the file's separator and its first line as the header.
CsvProfile newProfileFor(const std::string& bytes) {
    CsvProfile start;
    start.separator = CsvReader::GuessSeparator(bytes).value_or(u';');
    const QString head = TextDecoding::DecodeDetected(bytes.substr(0, 4096));
    start.header = head.section(u'\n', 0, 0).remove(u'\r').remove(QChar(0xFEFF));
    return start;
}

}  // namespace

CWndImportPage::CWndImportPage(sqlite3x::connection& database, CsvProfiles& profiles,
                               const QString& path, std::string bytes, QWidget* parent)
    : QWidget(parent),
      m_database(database),
      m_profiles(profiles),
      m_path(path),
      m_bytes(std::move(bytes)),
      m_sha256(StatementImport::Sha256Hex(m_bytes)),
      m_encoding(TextDecoding::Detect(m_bytes)),
      m_csv(looksLikeBankCsv(m_bytes)) {
    if (m_csv) {
        if (const CsvProfile* matching = m_profiles.match(m_bytes)) {
            m_profile = *matching;
            m_encoding = CsvReader::EncodingOf(m_bytes, *matching);
        }
    } else {
        // The reader's own choice first: a file may name its code page.
        CWndBusy::Run(parent, QStringLiteral("Wczytywanie pliku „%1”...").arg(fileName()), large(),
                      [this] { m_file = StatementReader::Read(m_bytes); });
    }

    DialogTemplate tpl(this);
    tpl.add(kTemplate);
    m_format = tpl.control<QLabel>(kFormat);
    m_codePage = tpl.control<QComboBox>(kCodePage);
    m_accounts = tpl.control<QLabel>(kAccounts);
    m_accountInput = tpl.control<QLineEdit>(kAccountInput);
    m_accountInput->setPlaceholderText(QStringLiteral("26 cyfr numeru rachunku"));
    m_period = tpl.control<QLabel>(kPeriod);
    m_balance = tpl.control<QLabel>(kBalance);
    m_ignoreBalance = tpl.control<QCheckBox>(kIgnoreBalance);
    m_importedBefore = tpl.control<QLabel>(kImportedBefore);
    m_table = tpl.control<QTableView>(kTable);
    m_counts = tpl.control<QLabel>(kCounts);
    m_profileBox = tpl.control<QComboBox>(kProfile);
    m_editProfile = tpl.control<QPushButton>(kEditProfile);
    m_deleteProfile = tpl.control<QPushButton>(kDeleteProfile);
    for (const int id :
         {1124, int(kProfile), int(kNewProfile), int(kEditProfile), int(kDeleteProfile)}) {
        tpl.control<QWidget>(id)->setVisible(m_csv);
    }
    m_model = new CImportPreviewModel(this);
    m_table->setModel(m_model);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->horizontalHeader()->setStretchLastSection(true);
    for (const char* name : kEncodingNames) {
        m_codePage->addItem(QString::fromLatin1(name));
    }
    m_codePage->setCurrentIndex(
        int(std::find(std::begin(kEncodings), std::end(kEncodings), m_encoding) -
            std::begin(kEncodings)));
    connect(m_codePage, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && size_t(index) < std::size(kEncodings)) {
            setEncoding(kEncodings[index]);
        }
    });
    connect(m_model, &CImportPreviewModel::ticksChanged, this, [this] { showCounts(); });
    connect(m_accountInput, &QLineEdit::textChanged, this, [this] {
        preview();
        fillTable();
    });
    m_format->setText(
        QString::fromLatin1(formatName(m_csv ? StatementFormat::BankCsv : m_file.format)));
    if (m_csv) {
        m_profileBox->setPlaceholderText(QStringLiteral("(wybierz profil)"));
        fillProfiles();
        connect(m_profileBox, &QComboBox::activated, this,
                [this] { chooseProfile(m_profileBox->currentData().toString()); });
        connect(tpl.control<QPushButton>(kNewProfile), &QPushButton::clicked, this,
                &CWndImportPage::newProfile);
        connect(m_editProfile, &QPushButton::clicked, this, &CWndImportPage::editProfile);
        connect(m_deleteProfile, &QPushButton::clicked, this, &CWndImportPage::deleteProfile);
        read();
    } else {
        preview();
    }
    fillTable();
}

QString CWndImportPage::fileName() const {
    return QFileInfo(m_path).fileName();
}

void CWndImportPage::setEncoding(TextEncoding encoding) {
    m_encoding = encoding;
    if (m_codePage->currentIndex() != int(encoding)) {
        m_codePage->setCurrentIndex(int(encoding));  // comes back here through the signal
        return;
    }
    read();
    fillTable();
}

void CWndImportPage::read() {
    if (m_csv && !m_profile) {
        m_file = StatementFile{};
        m_preview = PreviewResult{};
        m_problem = QStringLiteral(
            "Żaden profil CSV nie zna nagłówka tego pliku: wybierz profil albo utwórz nowy "
            "(„Nowy...”).");
        return;
    }
    // The table shows operations of the file read before: it lets go of them first.
    m_model->reset();
    try {
        StatementFile file;
        CWndBusy::Run(this, QStringLiteral("Wczytywanie pliku „%1”...").arg(fileName()), large(),
                      [this, &file, encoding = m_encoding, profile = m_profile] {
                          file = profile ? StatementReader::Read(m_bytes, StatementFormat::BankCsv,
                                                                 encoding, &*profile)
                                         : StatementReader::Read(m_bytes, std::nullopt, encoding);
                      });
        m_file = std::move(file);
    } catch (const ImportError& error) {
        m_file = StatementFile{};
        m_preview = PreviewResult{};
        m_problem = QString::fromUtf8(error.what());
        return;
    }
    preview();
}

void CWndImportPage::showEncoding() {
    const QSignalBlocker quiet(m_codePage);
    m_codePage->setCurrentIndex(int(m_encoding));
}

bool CWndImportPage::isUserProfile(const QString& name) const {
    const std::vector<CsvProfile>& user = m_profiles.userProfiles();
    return std::any_of(user.begin(), user.end(),
                       [&name](const CsvProfile& p) { return p.name == name; });
}

// Every profile, those made from public descriptions marked as such; the current one chosen.
void CWndImportPage::fillProfiles() {
    const QSignalBlocker quiet(m_profileBox);
    m_profileBox->clear();
    for (const CsvProfile& p : m_profiles.all()) {
        m_profileBox->addItem(p.fromPublicDescriptions ? QStringLiteral("%1 (%2)").arg(
                                                             p.name, CsvProfile::UncheckedNote())
                                                       : p.name,
                              p.name);
    }
    m_profileBox->setCurrentIndex(m_profile ? m_profileBox->findData(m_profile->name) : -1);
    m_profileBox->setToolTip(m_profileBox->currentText());  // a long name does not fit
    m_editProfile->setEnabled(m_profile.has_value());
    m_deleteProfile->setEnabled(m_profile && isUserProfile(m_profile->name));
}

void CWndImportPage::useProfile(const CsvProfile* profile) {
    m_profile.reset();
    if (profile != nullptr) {
        m_profile = *profile;
        m_encoding = CsvReader::EncodingOf(m_bytes, *profile);
        showEncoding();
    }
    fillProfiles();
    read();
    fillTable();
}

void CWndImportPage::chooseProfile(const QString& name) {
    useProfile(m_profiles.find(name));
}

void CWndImportPage::refreshProfiles() {
    const CsvProfile* now = m_profile ? m_profiles.find(m_profile->name) : nullptr;
    if (m_profile && (now == nullptr || *now != *m_profile)) {
        useProfile(now);
    } else {
        fillProfiles();
    }
}

bool CWndImportPage::runProfileWindow(const CsvProfile& start,
                                      const std::optional<QString>& replaces) {
    const auto store = [this, &replaces](const CsvProfile& made) -> std::optional<QString> {
        try {
            if (replaces && isUserProfile(*replaces)) {
                m_profiles.edit(*replaces, made);
            } else {
                // A shipped profile changed becomes the user's, standing in for it.
                m_profiles.add(made);
            }
        } catch (const ImportError& error) {
            return QString::fromUtf8(error.what());
        }
        return std::nullopt;
    };
    CWndCsvProfile window(start, m_bytes, store, this);
    if (window.exec() != QDialog::Accepted) {
        return false;
    }
    useProfile(m_profiles.find(window.profile().name));
    emit profilesChanged();
    return true;
}

void CWndImportPage::newProfile() {
    runProfileWindow(newProfileFor(m_bytes), std::nullopt);
}

void CWndImportPage::editProfile() {
    if (m_profile) {
        runProfileWindow(*m_profile, m_profile->name);
    }
}

void CWndImportPage::deleteProfile() {
    if (!m_profile || !isUserProfile(m_profile->name)) {
        return;
    }
    const QString name = m_profile->name;
    QString question = QStringLiteral("Usunąć profil CSV „%1”?").arg(name);
    if (m_profiles.isShipped(name)) {
        question += QStringLiteral(" Wróci profil o tej nazwie dostarczony z programem.");
    }
    if (MessageBox::show(this, question, kProfileCaption, MessageBox::Buttons::YesNo,
                         MessageBox::Icon::Question) != MessageBox::Answer::Yes) {
        return;
    }
    try {
        m_profiles.remove(name);
    } catch (const ImportError& error) {
        MessageBox::show(this, QString::fromUtf8(error.what()), kProfileCaption,
                         MessageBox::Buttons::Ok, MessageBox::Icon::Error);
        return;
    }
    const CsvProfile* shipped = m_profiles.find(name);
    useProfile(shipped != nullptr ? shipped : m_profiles.match(m_bytes));
    emit profilesChanged();
}

bool CWndImportPage::large() const {
    return m_bytes.size() >= kLargeFile;
}

bool CWndImportPage::needsAccount() const {
    return std::any_of(m_file.statements.begin(), m_file.statements.end(),
                       [](const Statement& statement) {
                           return !StatementValues::OwnAccountNrb(statement.account);
                       });
}

// The states of the file's operations; without the account the file lacks, none.
void CWndImportPage::preview() {
    m_problem.clear();
    m_preview = PreviewResult{};
    if (needsAccount() &&
        !StatementValues::OwnAccountNrb(m_accountInput->text().toStdU16String())) {
        m_problem =
            m_accountInput->text().trimmed().isEmpty()
                ? QStringLiteral("Plik nie podaje numeru NRB rachunku: wpisz go w polu Rachunek.")
                : QStringLiteral("Wpisany rachunek nie jest poprawnym numerem NRB.");
        return;
    }
    try {
        PreviewResult preview;
        CWndBusy::Run(this, QStringLiteral("Porównywanie pliku „%1” z historią...").arg(fileName()),
                      large(), [this, &preview, request = previewRequest()] {
                          preview = ImportPreview::Run(m_database, m_file, request);
                      });
        m_preview = std::move(preview);
    } catch (const ImportError& error) {
        m_problem = QString::fromUtf8(error.what());
    }
}

void CWndImportPage::fillTable() {
    m_model->reset(ImportPreview::Operations(m_file), m_preview.states);
    m_table->resizeColumnsToContents();
    QStringList accounts;
    for (const AccountCounts& counts : m_preview.summary.accounts) {
        accounts << QString::fromStdU16String(counts.account);
    }
    // The account field stands in the place of the account label when the file names none.
    m_accountInput->setVisible(needsAccount());
    m_accounts->setVisible(!m_accountInput->isVisibleTo(this));
    const auto [from, to] = period(m_file);
    m_accounts->setText(accounts.join(QStringLiteral(", ")));
    m_period->setText(from && to
                          ? QStringLiteral("%1 – %2").arg(CImportPreviewModel::DayText(*from),
                                                          CImportPreviewModel::DayText(*to))
                          : QString());
    m_importedBefore->setText(m_preview.importedAt
                                  ? QStringLiteral("Ten plik zaimportowano już %1.")
                                        .arg(QDateTime::fromSecsSinceEpoch(*m_preview.importedAt)
                                                 .toString(QStringLiteral("dd-MM-yyyy HH:mm")))
                                  : QString());
    showBalance();
    showCounts();
}

void CWndImportPage::showBalance() {
    QStringList mismatches;
    int checked = 0;
    for (const Statement& statement : m_file.statements) {
        if (const auto mismatch = StatementChecks::BalanceMismatch(statement)) {
            mismatches << QString::fromStdString(*mismatch);
        } else if (statement.openingBalance && statement.closingBalance) {
            ++checked;
        }
    }
    m_balanceDisagrees = !mismatches.isEmpty();
    QString text;
    if (!m_problem.isEmpty()) {
        text = m_problem;
    } else if (m_balanceDisagrees) {
        text = mismatches.join(QStringLiteral("\n"));
    } else if (checked > 0) {
        text = QStringLiteral("Saldo zgadza się z operacjami (wyciągi: %1).").arg(checked);
    } else {
        text = QStringLiteral("Plik nie podaje sald: nie ma czego sprawdzić.");
    }
    m_balance->setText(text);
    const bool red = m_balanceDisagrees || !m_problem.isEmpty();
    m_balance->setStyleSheet(red ? QStringLiteral("color: #c00000;") : QString());
    m_ignoreBalance->setEnabled(m_balanceDisagrees);
    if (!m_balanceDisagrees) {
        m_ignoreBalance->setChecked(false);
    }
}

void CWndImportPage::showCounts() {
    AccountCounts total;
    for (const AccountCounts& counts : m_preview.summary.accounts) {
        total.stored += counts.stored;
        total.known += counts.known;
        total.probable += counts.probable;
        total.skipped += counts.skipped;
    }
    m_counts->setText(QStringLiteral("Operacje: nowe %1, już zapisane %2, prawdopodobnie zapisane "
                                     "%3, pominięte %4. Zaznaczone do importu: %5.")
                          .arg(total.stored)
                          .arg(total.known)
                          .arg(total.probable)
                          .arg(total.skipped)
                          .arg(m_model->tickedCount()));
}

bool CWndImportPage::balanceHeld() const {
    return m_balanceDisagrees && !m_ignoreBalance->isChecked();
}

ImportRequest CWndImportPage::previewRequest() const {
    ImportRequest request;
    request.fileName = fileName().toStdU16String();
    request.sha256 = m_sha256;
    request.time = QDateTime::currentSecsSinceEpoch();
    // The window shows a disagreeing balance and asks; the preview is made all the same.
    request.ignoreBalance = true;
    if (needsAccount()) {
        request.account = m_accountInput->text().toStdU16String();
    }
    return request;
}

ImportFile CWndImportPage::importFile() const {
    ImportFile file;
    file.file = m_file;
    file.request = previewRequest();
    file.request.ignoreBalance = m_ignoreBalance->isChecked();
    file.chosen = m_model->ticked();
    return file;
}
