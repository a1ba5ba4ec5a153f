#include "CAboutDlg.h"

#include "CBanner.h"
#include "DialogTemplate.h"
#include "IconvConverter.h"
#include "MessageBox.h"

#include <QDesktopServices>
#include <QPlainTextEdit>
#include <QPushButton>
#include <memory>
#include <mutex>
#include <string>

namespace {

constexpr int kBanner = 1026;
constexpr int kText = 1033;
constexpr int kWww = 1042;

const ControlSpec kTemplate[] = {
    {kText, ControlKind::ReadOnlyMultiLineEdit, {}, {7, 44, 222, 126}},
    {1, ControlKind::DefPushButton, QStringLiteral("OK"), {7, 177, 50, 14}},
    {kWww, ControlKind::PushButton, QStringLiteral("WWW"), {179, 177, 50, 14}},
};

// The about text as the program carries it: Windows-1250, like its other resources.
constexpr char kAboutText[] =
    "Cz\352\234\346 ikon programu pochodzi z og\363lnodost\352pnej kolekcji ikon "
    "i jest rozpowszechniana na licencji Creative Commons Uznanie autorstwa - Na "
    "tych samych warunkach (CC BY-SA).\r\n"
    "\r\n"
    "Tavro History powsta\263 jako stanowisko testowe dla parser\363w historii operacji "
    "bankowych i z czasem ur\363s\263 do samodzielnego programu.\r\n"
    "\r\n"
    "Program jest ca\263kowicie bezp\263atny.\r\n"
    "\r\n"
    "Podzi\352kowania dla testera, kt\363ry zg\263asza\263 b\263\352dy i u\277yczy\263 "
    "swoich kont do test\363w.";

std::mutex g_openerLock;
CAboutDlg::UrlOpener g_opener;

CAboutDlg::UrlOpener currentOpener() {
    std::lock_guard<std::mutex> guard(g_openerLock);
    return g_opener;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : CUIDialog(parent) {
    setWindowTitle(QStringLiteral("O Programie ..."));
    DialogTemplate tpl(this);
    tpl.setClientSize(235, 198);
    tpl.place(new CBanner(this), kBanner, {0, 0, 236, 39});
    tpl.add(kTemplate);

    const std::optional<QString> text = FromWindows1250(AboutTextResource());
    if (text) {
        QString shown = *text;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        tpl.control<QPlainTextEdit>(kText)->setPlainText(shown);
    } else {
        MessageBox::show(this, QStringLiteral("Failed to load Resource info"));
    }
    connect(tpl.control<QPushButton>(1), &QPushButton::clicked, this, &QDialog::accept);
    connect(tpl.control<QPushButton>(kWww), &QPushButton::clicked, this, &CAboutDlg::openHomePage);
}

QUrl CAboutDlg::HomePage() {
    return QUrl(QStringLiteral("https://tavro-history.example.org/"));
}

std::string_view CAboutDlg::AboutTextResource() {
    return std::string_view(kAboutText, sizeof kAboutText - 1);
}

std::optional<QString> CAboutDlg::FromWindows1250(std::string_view bytes) {
    const IconvConverter converter("UTF-8", "WINDOWS-1250");
    if (!converter.valid()) {
        return std::nullopt;
    }
    // The few bytes the code page leaves unassigned become U+FFFD.
    const std::string out = converter.convert(bytes.data(), bytes.size(), "\xEF\xBF\xBD", 1);
    return QString::fromUtf8(out.data(), qsizetype(out.size()));
}

void CAboutDlg::setUrlOpener(UrlOpener opener) {
    std::lock_guard<std::mutex> guard(g_openerLock);
    g_opener = std::move(opener);
}

void CAboutDlg::openHomePage() {
    if (const UrlOpener opener = currentOpener()) {
        opener(HomePage());
        return;
    }
    QDesktopServices::openUrl(HomePage());
}
