// SPDX-License-Identifier: GPL-3.0-or-later
#include "CWndCsvProfile.h"

#include "CImportPreviewModel.h"
#include "CsvReader.h"
#include "CsvRecords.h"
#include "DialogTemplate.h"
#include "ImportError.h"
#include "MessageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>

#include <algorithm>

namespace {

using Dlg = CWndCsvProfile;

const ControlSpec kTemplate[] = {
    {1230, ControlKind::Label, QStringLiteral("&Nazwa profilu:"), {4, 8, 60, 8}},
    {Dlg::kName, ControlKind::Edit, {}, {66, 6, 180, 12}},
    {1231, ControlKind::Label, QStringLiteral("&Separator:"), {4, 24, 60, 8}},
    {Dlg::kSeparator, ControlKind::DropDownList, {}, {66, 22, 80, 80}},
    {1232, ControlKind::Label, QStringLiteral("&Cudzysłów:"), {152, 24, 44, 8}},
    {Dlg::kQuote, ControlKind::DropDownList, {}, {198, 22, 70, 60}},
    {1233, ControlKind::Label, QStringLiteral("Strona &kodowa:"), {274, 24, 56, 8}},
    {Dlg::kCodePage, ControlKind::DropDownList, {}, {332, 22, 90, 80}},
};

// The lines skipped: each spin box is placed right after its label, which it is the buddy of.
const ControlSpec kSkipStartLabel = {
    1234, ControlKind::Label, QStringLiteral("&Pomiń na początku:"), {4, 40, 70, 8}};
const ControlSpec kSkipEndLabel = {
    1235, ControlKind::Label, QStringLiteral("na &końcu:"), {112, 40, 34, 8}};

const ControlSpec kTemplateRest[] = {
    {Dlg::kHasHeader,
     ControlKind::CheckBox,
     QStringLiteral("Wiersz &nagłówka:"),
     {184, 39, 70, 10}},
    {Dlg::kHeader, ControlKind::ReadOnlyEdit, {}, {256, 38, 210, 12}},
    {1236, ControlKind::Label, QStringLiteral("&Format daty:"), {4, 56, 60, 8}},
    {Dlg::kDateFormat, ControlKind::DropDownCombo, {}, {66, 54, 80, 80}},
    {1237, ControlKind::Label, QStringLiteral("Znak &dziesiętny:"), {152, 56, 60, 8}},
    {Dlg::kDecimalSign, ControlKind::DropDownList, {}, {214, 54, 60, 60}},
    {1238, ControlKind::Label, QStringLiteral("Separator &tysięcy:"), {280, 56, 64, 8}},
    {Dlg::kThousands, ControlKind::DropDownList, {}, {346, 54, 76, 60}},
    {1239,
     ControlKind::Label,
     QStringLiteral("Kolumna statusu: &oczekująca, gdy to:"),
     {4, 72, 130, 8}},
    {Dlg::kPendingValues, ControlKind::Edit, {}, {136, 70, 130, 12}},
    {1240,
     ControlKind::Label,
     QStringLiteral("Etykiety nad i pod tabelą: &rachunek:"),
     {4, 88, 130, 8}},
    {Dlg::kOwnAccountLabel, ControlKind::Edit, {}, {136, 86, 70, 12}},
    {1241, ControlKind::Label, QStringLiteral("saldo &początkowe:"), {212, 88, 62, 8}},
    {Dlg::kOpeningLabel, ControlKind::Edit, {}, {276, 86, 70, 12}},
    {1242, ControlKind::Label, QStringLiteral("saldo końco&we:"), {352, 88, 50, 8}},
    {Dlg::kClosingLabel, ControlKind::Edit, {}, {404, 86, 62, 12}},
    {1243, ControlKind::Label, QStringLiteral("Kolumny pliku i ich &role:"), {4, 104, 200, 8}},
};

// After the table of the file's columns.
const ControlSpec kTemplateEnd[] = {
    {Dlg::kResult, ControlKind::Label, {}, {4, 188, 462, 16}},
    {Dlg::kOperations, ControlKind::ListView, {}, {4, 206, 462, 60}},
    {Dlg::kSave, ControlKind::DefPushButton, QStringLiteral("&Zapisz"), {362, 272, 50, 14}},
    {Dlg::kCancel, ControlKind::PushButton, QStringLiteral("&Anuluj"), {416, 272, 50, 14}},
};

const QString kCaption = QStringLiteral("Profil CSV");

constexpr size_t kSampleBytes = 64 * 1024;
constexpr int kPreviewRows = 12;
constexpr int kPreviewOperations = 50;

struct Choice {
    const char16_t* label;
    const char16_t* value;
};

const Choice kSeparators[] = {{u"średnik (;)", u";"},
                              {u"przecinek (,)", u","},
                              {u"tabulator", u"\t"},
                              {u"pionowa kreska (|)", u"|"}};
const Choice kQuotes[] = {{u"cudzysłów (\")", u"\""}, {u"apostrof (')", u"'"}, {u"brak", u""}};
const Choice kCodePages[] = {{u"rozpoznaj z tekstu", u""},
                             {u"UTF-8", u"UTF-8"},
                             {u"Windows-1250", u"windows-1250"},
                             {u"ISO-8859-2", u"ISO-8859-2"},
                             {u"CP852", u"CP852"}};
const Choice kDecimalSigns[] = {{u"przecinek (,)", u","}, {u"kropka (.)", u"."}};
const Choice kThousandSeparators[] = {
    {u"brak", u""}, {u"kropka (.)", u"."}, {u"przecinek (,)", u","}, {u"apostrof (')", u"'"}};
const char* const kDateFormats[] = {"yyyy-MM-dd", "dd-MM-yyyy", "dd.MM.yyyy",
                                    "dd/MM/yyyy", "yyyy.MM.dd", "yyyyMMdd"};

template <size_t N>
void fillChoices(QComboBox* box, const Choice (&choices)[N]) {
    for (const Choice& choice : choices) {
        box->addItem(QString::fromUtf16(choice.label), QString::fromUtf16(choice.value));
    }
}

// Selects the item with the value; a value the list lacks is added, as the profile has it.
void select(QComboBox* box, const QString& value) {
    int index = box->findData(value);
    if (index < 0) {
        box->addItem(QStringLiteral("„%1”").arg(value), value);
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
}

QString chosen(const QComboBox* box) {
    return box->currentData().toString();
}

QChar charOf(const QString& value) {
    return value.isEmpty() ? QChar() : value.front();
}

QString textOf(QChar c) {
    return c.isNull() ? QString() : QString(c);
}

// A field as it stands in a line: quoted when it holds the separator or the quote.
QString written(const QString& field, QChar separator, QChar quote) {
    if (quote.isNull() || (!field.contains(separator) && !field.contains(quote))) {
        return field;
    }
    QString doubled = field;
    doubled.replace(quote, QString(2, quote));
    return quote + doubled + quote;
}

QStringList trimmed(QStringList fields) {
    for (QString& field : fields) {
        field = field.trimmed();
    }
    while (!fields.isEmpty() && fields.back().isEmpty()) {
        fields.removeLast();
    }
    return fields;
}

// The records a preview shows: past the lines skipped, without comment and blank lines.
std::vector<CsvRecord> records(const QString& text, const CsvProfile& profile, size_t most) {
    std::vector<CsvRecord> found;
    CsvRecords::Cursor cursor(text, profile.separator, profile.quote);
    CsvRecord record;
    while (found.size() < most && cursor.next(record)) {
        const bool comment = !profile.commentPrefix.isEmpty() && !record.fields.isEmpty() &&
                             record.fields.front().startsWith(profile.commentPrefix);
        if (record.line > profile.skipStart && !record.blank() && !comment) {
            found.push_back(record);
        }
    }
    return found;
}

QStandardItem* textItem(const QString& text) {
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    return item;
}

QString sampleText(const std::string& sample, const CsvProfile& profile) {
    return TextDecoding::Decode(sample, CsvReader::EncodingOf(sample, profile));
}

}  // namespace

CWndCsvProfile::CWndCsvProfile(const CsvProfile& start, std::string sample, Save save,
                               QWidget* parent)
    : QDialog(parent), m_sample(std::move(sample)), m_save(std::move(save)), m_base(start) {
    if (m_sample.size() > kSampleBytes) {
        m_sample.resize(kSampleBytes);
        m_sample.erase(m_sample.rfind('\n') == std::string::npos ? 0 : m_sample.rfind('\n') + 1);
        m_cut = true;
    }
    setWindowTitle(kCaption);
    DialogTemplate tpl(this);
    // No taller than the import window, so that centred over it, it stays on the screen.
    tpl.setClientSize(470, 290);
    tpl.add(kTemplate);
    tpl.add(kSkipStartLabel);
    m_skipStart = tpl.place(new QSpinBox(this), kSkipStart, {76, 38, 30, 12});
    tpl.add(kSkipEndLabel);
    m_skipEnd = tpl.place(new QSpinBox(this), kSkipEnd, {148, 38, 30, 12});
    tpl.add(kTemplateRest);
    m_columns = tpl.place(new QTableWidget(this), kColumns, {4, 114, 462, 70});
    tpl.add(kTemplateEnd);
    tpl.fitCaption();
    m_name = tpl.control<QLineEdit>(kName);
    m_separator = tpl.control<QComboBox>(kSeparator);
    m_quote = tpl.control<QComboBox>(kQuote);
    m_codePage = tpl.control<QComboBox>(kCodePage);
    m_hasHeader = tpl.control<QCheckBox>(kHasHeader);
    m_header = tpl.control<QLineEdit>(kHeader);
    m_dateFormat = tpl.control<QComboBox>(kDateFormat);
    m_decimalSign = tpl.control<QComboBox>(kDecimalSign);
    m_thousands = tpl.control<QComboBox>(kThousands);
    m_pendingValues = tpl.control<QLineEdit>(kPendingValues);
    m_ownAccountLabel = tpl.control<QLineEdit>(kOwnAccountLabel);
    m_openingLabel = tpl.control<QLineEdit>(kOpeningLabel);
    m_closingLabel = tpl.control<QLineEdit>(kClosingLabel);
    m_result = tpl.control<QLabel>(kResult);
    m_operations = tpl.control<QTableView>(kOperations);
    m_operationModel = new QStandardItemModel(this);
    m_operations->setModel(m_operationModel);
    m_operations->setSelectionMode(QAbstractItemView::NoSelection);
    m_operations->horizontalHeader()->setStretchLastSection(true);
    m_columns->setSelectionMode(QAbstractItemView::NoSelection);
    m_columns->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_columns->verticalHeader()->hide();
    m_columns->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    m_operations->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    m_pendingValues->setPlaceholderText(QStringLiteral("np. oczekująca, blokada"));
    connect(tpl.control<QPushButton>(kSave), &QPushButton::clicked, this, &CWndCsvProfile::trySave);
    connect(tpl.control<QPushButton>(kCancel), &QPushButton::clicked, this, &QDialog::reject);
    fill(start);
    connectChanges();
    refresh();
}

void CWndCsvProfile::fill(const CsvProfile& start) {
    m_filling = true;
    fillChoices(m_separator, kSeparators);
    fillChoices(m_quote, kQuotes);
    fillChoices(m_codePage, kCodePages);
    fillChoices(m_decimalSign, kDecimalSigns);
    fillChoices(m_thousands, kThousandSeparators);
    for (const char* format : kDateFormats) {
        m_dateFormat->addItem(QString::fromLatin1(format));
    }
    m_name->setText(start.name);
    select(m_separator, textOf(start.separator));
    select(m_quote, textOf(start.quote));
    const auto encoding = TextDecoding::FromName(start.encoding);
    m_codePage->setCurrentIndex(encoding ? int(*encoding) + 1 : 0);
    m_skipStart->setRange(0, 1000);
    m_skipEnd->setRange(0, 1000);
    m_skipStart->setValue(start.skipStart);
    m_skipEnd->setValue(start.skipEnd);
    m_hasHeader->setChecked(!start.header.trimmed().isEmpty());
    m_header->setText(start.header);
    m_dateFormat->setCurrentText(start.dateFormat);
    select(m_decimalSign, textOf(start.decimalSign));
    select(m_thousands, textOf(start.thousandsSeparator));
    m_pendingValues->setText(start.pendingValues.join(QStringLiteral(", ")));
    m_ownAccountLabel->setText(start.ownAccountLabel);
    m_openingLabel->setText(start.openingBalanceLabel);
    m_closingLabel->setText(start.closingBalanceLabel);
    m_roles = start.columns;
    m_filling = false;
}

// A change of how lines are cut moves the header with it; every change shows at once.
void CWndCsvProfile::connectChanges() {
    const auto cutChanged = [this] {
        if (!m_filling && m_hasHeader->isChecked()) {
            takeHeader();
        }
        refresh();
    };
    for (QComboBox* box : {m_separator, m_quote, m_codePage}) {
        connect(box, &QComboBox::currentIndexChanged, this, cutChanged);
    }
    connect(m_skipStart, &QSpinBox::valueChanged, this, cutChanged);
    connect(m_hasHeader, &QCheckBox::toggled, this, [this](bool on) {
        on ? takeHeader() : m_header->clear();
        refresh();
    });
    const auto readAgain = [this] { showOperations(); };
    for (QComboBox* box : {m_decimalSign, m_thousands}) {
        connect(box, &QComboBox::currentIndexChanged, this, readAgain);
    }
    connect(m_dateFormat, &QComboBox::currentTextChanged, this, readAgain);
    connect(m_skipEnd, &QSpinBox::valueChanged, this, readAgain);
    for (QLineEdit* edit : {m_pendingValues, m_ownAccountLabel, m_openingLabel, m_closingLabel}) {
        connect(edit, &QLineEdit::textChanged, this, readAgain);
    }
}

// The header is the first line after those skipped, as the file writes it.
void CWndCsvProfile::takeHeader() {
    CsvProfile p = profile();
    p.header.clear();
    const std::vector<CsvRecord> first = records(sampleText(m_sample, p), p, 1);
    QStringList fields;
    for (const QString& field : first.empty() ? QStringList() : first.front().fields) {
        fields << written(field, p.separator, p.quote);
    }
    m_header->setText(fields.join(p.separator));
}

void CWndCsvProfile::refresh() {
    if (m_filling) {
        return;
    }
    showColumns(sampleText(m_sample, profile()));
    showOperations();
}

// The first rows cut into columns, the header (when there is one) as column titles and a role
// list above each column.
void CWndCsvProfile::showColumns(const QString& text) {
    const CsvProfile p = profile();
    std::vector<CsvRecord> rows = records(text, p, kPreviewRows + 1);
    QStringList titles;
    if (!p.header.trimmed().isEmpty()) {
        const CsvRecords header = CsvRecords::Split(p.header, p.separator, p.quote);
        titles = header.records.empty() ? QStringList() : trimmed(header.records.front().fields);
        if (!rows.empty() && trimmed(rows.front().fields) == titles) {
            rows.erase(rows.begin());
        }
    }
    qsizetype width = std::max<qsizetype>(titles.size(), qsizetype(m_roles.size()));
    for (const CsvRecord& row : rows) {
        width = std::max(width, row.fields.size());
    }
    m_columns->clear();
    m_columns->setColumnCount(int(width));
    m_columns->setRowCount(int(rows.size()) + 1);
    for (int column = 0; column < int(width); ++column) {
        m_columns->setHorizontalHeaderItem(
            column, new QTableWidgetItem(column < titles.size() && !titles[column].isEmpty()
                                             ? titles[column]
                                             : QStringLiteral("Kolumna %1").arg(column + 1)));
        auto* role = new QComboBox(m_columns);
        for (const CsvColumnRole r : CsvProfile::AllRoles()) {
            role->addItem(CsvProfile::RoleLabel(r), int(r));
        }
        role->setCurrentIndex(role->findData(int(p.roleOf(column))));
        connect(role, &QComboBox::currentIndexChanged, this, [this, role, column] {
            if (size_t(column) >= m_roles.size()) {
                m_roles.resize(size_t(column) + 1, CsvColumnRole::None);
            }
            m_roles[size_t(column)] = CsvColumnRole(role->currentData().toInt());
            showOperations();
        });
        m_columns->setCellWidget(0, column, role);
    }
    for (int row = 0; row < int(rows.size()); ++row) {
        const QStringList& fields = rows[size_t(row)].fields;
        for (int column = 0; column < fields.size(); ++column) {
            m_columns->setItem(row + 1, column, new QTableWidgetItem(fields[column]));
        }
    }
    m_columns->resizeColumnsToContents();
}

// The operations the profile reads from the sample, or the first thing that stops it.
void CWndCsvProfile::showOperations() {
    if (m_filling) {
        return;
    }
    CsvProfile p = profile();
    if (p.name.isEmpty()) {
        p.name = QStringLiteral("nowy");
    }
    if (m_cut) {
        p.skipEnd = 0;  // the footer is past the sample
    }
    m_operationModel->clear();
    m_operationModel->setHorizontalHeaderLabels(
        {QStringLiteral("Data operacji"), QStringLiteral("Data księgowania"),
         QStringLiteral("Kwota"), QStringLiteral("Kontrahent"), QStringLiteral("Tytuł"),
         QStringLiteral("Stan")});
    StatementFile file;
    try {
        file = CsvReader::Read(m_sample, p);
    } catch (const ImportError& error) {
        m_result->setText(QString::fromUtf8(error.what()));
        m_result->setStyleSheet(QStringLiteral("color: #c00000;"));
        return;
    }
    int count = 0;
    for (const Statement& statement : file.statements) {
        for (const StatementOperation& op : statement.operations) {
            if (++count > kPreviewOperations) {
                continue;
            }
            auto* amount = textItem(CImportPreviewModel::AmountText(op.amount));
            amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_operationModel->appendRow({textItem(CImportPreviewModel::DayText(op.operationDate)),
                                         textItem(CImportPreviewModel::DayText(op.bookingDate)),
                                         amount,
                                         textItem(QString::fromStdU16String(op.counterpartyName)),
                                         textItem(QString::fromStdU16String(op.title)),
                                         textItem(op.booked ? QStringLiteral("zaksięgowana")
                                                            : QStringLiteral("oczekująca"))});
        }
    }
    m_operations->resizeColumnsToContents();
    m_result->setStyleSheet(QString());
    m_result->setText(QStringLiteral("Odczytane operacje: %1%2.")
                          .arg(count)
                          .arg(m_cut ? QStringLiteral(" (z początku pliku)") : QString()));
}

CsvProfile CWndCsvProfile::profile() const {
    CsvProfile p = m_base;
    p.name = m_name->text().trimmed();
    p.separator = charOf(chosen(m_separator));
    p.quote = charOf(chosen(m_quote));
    p.encoding = chosen(m_codePage);
    p.skipStart = m_skipStart->value();
    p.skipEnd = m_skipEnd->value();
    p.header = m_hasHeader->isChecked() ? m_header->text() : QString();
    p.dateFormat = m_dateFormat->currentText().trimmed();
    p.decimalSign = charOf(chosen(m_decimalSign));
    p.thousandsSeparator = charOf(chosen(m_thousands));
    p.pendingValues.clear();
    for (const QString& value : m_pendingValues->text().split(u',')) {
        if (!value.trimmed().isEmpty()) {
            p.pendingValues << value.trimmed();
        }
    }
    p.ownAccountLabel = m_ownAccountLabel->text().trimmed();
    p.openingBalanceLabel = m_openingLabel->text().trimmed();
    p.closingBalanceLabel = m_closingLabel->text().trimmed();
    p.columns = m_roles;
    while (!p.columns.empty() && p.columns.back() == CsvColumnRole::None) {
        p.columns.pop_back();
    }
    // Saved by the user over a file of the bank: no longer only from public descriptions.
    p.fromPublicDescriptions = false;
    return p;
}

QComboBox* CWndCsvProfile::roleBox(int column) const {
    return qobject_cast<QComboBox*>(m_columns->cellWidget(0, column));
}

int CWndCsvProfile::columnCount() const {
    return m_columns->columnCount();
}

void CWndCsvProfile::trySave() {
    const CsvProfile p = profile();
    std::optional<QString> why = p.problem();
    if (!why) {
        why = m_save(p);
    }
    if (why) {
        MessageBox::show(this, *why, kCaption, MessageBox::Buttons::Ok, MessageBox::Icon::Warning);
        return;
    }
    accept();
}
