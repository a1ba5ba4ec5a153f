#include "CWndExport.h"

#include "CWndFileDialog.h"
#include "DialogTemplate.h"
#include "MessageBox.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <sstream>

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
    m_format->addItem(QStringLiteral("XML"));
    m_range->addItem(QStringLiteral("Całość"));
    m_range->addItem(QStringLiteral("Operacje wyświetlone na liście"));
    m_format->setCurrentIndex(0);
    m_range->setCurrentIndex(Whole);

    connect(tpl.control<QPushButton>(kBrowse), &QPushButton::clicked, this, &CWndExport::browse);
    connect(tpl.control<QPushButton>(1), &QPushButton::clicked, this, &CWndExport::exportFile);
    connect(tpl.control<QPushButton>(2), &QPushButton::clicked, this, &QDialog::reject);
}

void CWndExport::setOperations(std::vector<ExportOperation> all, std::vector<int> listed) {
    m_all = std::move(all);
    m_listed = std::move(listed);
}

void CWndExport::browse() {
    const std::optional<QString> path = CWndFileDialog::getSaveFileName(
        this, {QStringLiteral("XML (*.xml)"), QStringLiteral("xml")});
    if (path) {
        m_fileName->setText(*path);
    }
}

void CWndExport::exportFile() {
    const QString path = m_fileName->text();
    if (path.size() < kShortestName) {
        tell(this, QStringLiteral("Nieprawidłowa nazwa pliku!"), MessageBox::Icon::Warning);
    } else if (writeFile(path, m_range->currentIndex())) {
        tell(this, QStringLiteral("Eksport ukończony."), MessageBox::Icon::Information);
    }
    accept();
}

bool CWndExport::writeFile(const QString& path, int range) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Truncate)) {
        tell(this, QStringLiteral("Nie można było otworzyć pliku!"), MessageBox::Icon::Warning);
        return false;
    }
    std::ostringstream out;
    CWndExportWriter writer(out);
    writer.begin();
    if (range == Listed) {
        for (const int index : m_listed) {
            if (index >= 0 && size_t(index) < m_all.size()) {
                writer.write(m_all[size_t(index)]);
            }
        }
    } else {
        for (const ExportOperation& op : m_all) {
            writer.write(op);
        }
    }
    writer.end();
    const std::string bytes = out.str();
    // A full disk must not look like a finished export.
    if (file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !file.flush()) {
        tell(this, QStringLiteral("Nie można było zapisać pliku!"), MessageBox::Icon::Warning);
        return false;
    }
    return true;
}
