// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file dialogs behind a seam: tests install a handler that answers in its place.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

class CWndFileDialog {
public:
    struct Request {
        QString filter;         // for example "XML (*.xml)"
        QString defaultSuffix;  // without the dot
    };
    using Handler = std::function<std::optional<QString>(const Request&)>;

    // Asks for a file to save into; a new name is accepted, an existing file only after the
    // user agreed to overwrite it. Empty when the user cancelled.
    static std::optional<QString> getSaveFileName(QWidget* parent, const Request& request);

    // An empty handler restores the real dialog.
    static void setHandler(Handler handler);

    // Asks for one or more existing files to open; empty when the user cancelled.
    using OpenHandler = std::function<QStringList(const QString& filter)>;
    static QStringList getOpenFileNames(QWidget* parent, const QString& filter);
    static void setOpenHandler(OpenHandler handler);
};
