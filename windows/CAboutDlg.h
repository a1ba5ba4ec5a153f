// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CUIDialog.h"

#include <QString>
#include <QUrl>
#include <functional>
#include <optional>
#include <string_view>

// "O Programie ...": the banner, the about text and a button that opens the home page.
// Run modally: CAboutDlg dlg(mainWindow); dlg.exec();
class CAboutDlg : public CUIDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    static QUrl HomePage();
    // The about text resource as stored: Windows-1250, no terminating zero.
    static std::string_view AboutTextResource();
    // Windows-1250 bytes as text; empty when the bytes cannot be converted.
    static std::optional<QString> FromWindows1250(std::string_view bytes);

    // Opens a web address in the user's browser; tests install their own.
    using UrlOpener = std::function<bool(const QUrl&)>;
    // An empty opener restores QDesktopServices::openUrl.
    static void setUrlOpener(UrlOpener opener);

private:
    void openHomePage();
};
