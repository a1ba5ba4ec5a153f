#include "CWndExport.h"

#include "CWndFileDialog.h"
#include "DialogTemplate.h"
#include "MessageBox.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <ctime>

namespace {

constexpr int kFileName = 1036;
constexpr int kBrowse = 1037;
constexpr int kFormat = 1038;
constexpr int kRange = 1002;
constexpr int kShortestName = 5;

const ControlSpec kTemplate[] = {
    {1057, ControlKind::GroupBox, QStringLiteral("Plik"), {4, 4, 279, 36}},
    {kFileName, ControlKind::ReadOnlyEdit, {}, {10, 18, 210, 13}},
    {kBrowse, ControlKind::PushButton, QStringLiteral("&Przeglądaj"), {227, 18, 48, 13}},
    {1058, ControlKind::GroupBox, QStringLiteral("Opcje"), {4, 45, 279, 77}},
    {1045, ControlKind::Label, QStringLiteral("Format:"), {10, 60, 27, 8}},
    {kFormat, ControlKind::DropDownList, {}, {10, 70, 210, 239}},
    {1046, ControlKind::Label, QStringLiteral("Zakres eksportu:"), {10, 90, 58, 8}},
    {kRange, ControlKind::DropDownList, {}, {10, 100, 210, 268}},
    {1, ControlKind::DefPushButton, QStringLiteral("OK"), {4, 125, 50, 14}},
    {2, ControlKind::PushButton, QStringLiteral("&Anuluj"), {56, 125, 50, 14}},
};

const QString kCaption = QStringLiteral("Eksport");
// The order of the "Format:" items.
const ExportFormat kFormats[] = {ExportFormat::Xml, ExportFormat::Ofx, ExportFormat::Csv};

void tell(QWidget* parent, const QString& text, MessageBox::Icon icon) {
    MessageBox::show(parent, text, kCaption, MessageBox::Buttons::Ok, icon);
}

}  // namespace

CWndExport::CWndExport(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Eksportuj ..."));
    DialogTemplate tpl(this);
    tpl.setClientSize(287, 143);
    tpl.add(kTemplate);
    m_fileName = tpl.control<QLineEdit>(kFileName);
    m_format = tpl.control<QComboBox>(kFormat);
    m_range = tpl.control<QComboBox>(kRange);
    for (const ExportFormat format : kFormats) {
        m_format->addItem(QString::fromLatin1(ExportFiles::Name(format)));
    }
    m_range->addItem(QStringLiteral("Całość"));
    m_range->addItem(QStringLiteral("Operacje wyświetlone na liście"));
    m_format->setCurrentIndex(0);
    m_range->setCurrentIndex(Whole);

    connect(tpl.control<QPushButton>(kBrowse), &QPushButton::clicked, this, &CWndExport::browse);
    connect(tpl.control<QPushButton>(1), &QPushButton::clicked, this, &CWndExport::exportFile);
    connect(tpl.control<QPushButton>(2), &QPushButton::clicked, this, &QDialog::reject);
}

void CWndExport::setOperations(std::vector<StoredOperation> all, std::vector<int> listed) {
    m_all = std::move(all);
    m_listed = std::move(listed);
}

ExportFormat CWndExport::format() const {
    const int index = m_format->currentIndex();
    return index >= 0 && size_t(index) < std::size(kFormats) ? kFormats[index] : ExportFormat::Xml;
}

void CWndExport::browse() {
    const QString name = QString::fromLatin1(ExportFiles::Name(format()));
    const QString suffix = QString::fromLatin1(ExportFiles::Suffix(format()));
    std::optional<QString> path = CWndFileDialog::getSaveFileName(
        this, {QStringLiteral("%1 (*.%2)").arg(name, suffix), suffix});
    if (!path) {
        return;
    }
    if (QFileInfo(*path).suffix().isEmpty()) {
        *path += QStringLiteral(".") + suffix;
    }
    m_fileName->setText(*path);
}

void CWndExport::exportFile() {
    const QString path = m_fileName->text();
    if (path.size() < kShortestName) {
        tell(this, QStringLiteral("Nieprawidłowa nazwa pliku!"), MessageBox::Icon::Warning);
    } else {
        writeFiles(path);
    }
    accept();
}

std::vector<StoredOperation> CWndExport::listedOperations() const {
    std::vector<StoredOperation> listed;
    for (const int index : m_listed) {
        if (index >= 0 && size_t(index) < m_all.size()) {
            listed.push_back(m_all[size_t(index)]);
        }
    }
    return listed;
}

void CWndExport::writeFiles(const QString& path) {
    // The whole collection is not copied: it may hold a million operations.
    const bool whole = m_range->currentIndex() != Listed;
    const std::vector<StoredOperation> listed =
        whole ? std::vector<StoredOperation>{} : listedOperations();
    const std::vector<ExportFile> files =
        ExportFiles::Build(format(), QFile::encodeName(path).toStdString(), whole ? m_all : listed,
                           int64_t(std::time(nullptr)));
    if (files.empty()) {
        // An OFX statement belongs to an account, and without operations there is none.
        tell(this, QStringLiteral("Brak operacji do zapisania w pliku OFX."),
             MessageBox::Icon::Warning);
        return;
    }
    switch (ExportFiles::Write(files).failure) {
        case ExportFiles::Failure::Open:
            tell(this, QStringLiteral("Nie można było otworzyć pliku!"), MessageBox::Icon::Warning);
            return;
        case ExportFiles::Failure::Write:
            // A full disk must not look like a finished export.
            tell(this, QStringLiteral("Nie można było zapisać pliku!"), MessageBox::Icon::Warning);
            return;
        case ExportFiles::Failure::None:
            break;
    }
    QString done = QStringLiteral("Eksport ukończony.");
    if (files.size() > 1) {
        done += QStringLiteral("\n\nZapisane pliki:");
        for (const ExportFile& file : files) {
            done += QStringLiteral("\n") + QFile::decodeName(file.path.c_str());
        }
    }
    tell(this, done, MessageBox::Icon::Information);
}
