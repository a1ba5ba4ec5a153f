// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>

class CPluginLoader;
class QLabel;
class QProgressBar;
class QPushButton;

// Modeless window of a running download: two bars, a status line and "&Anuluj", which asks the
// running module to stop and then disables itself until the window is shown again or the next
// job starts. Created once by the main window (its owner) and driven through CWndDownloadUi.
class CWndProgress : public QDialog {
    Q_OBJECT
public:
    explicit CWndProgress(QWidget* parent = nullptr);

    // Cancel calls loader->AbortRunningModule(); null: Cancel only disables itself.
    void setLoader(CPluginLoader* loader);
    // The same through any function (tests).
    void setAbort(std::function<void()> abort) { m_abort = std::move(abort); }

    void setUpperBar(int percent);  // the current module call, 1011
    void setLowerBar(int percent);  // the whole download, 1012
    void setText(const QString& text);
    void enableCancel();

    void reject() override;  // Escape means Cancel; the window has no close box

protected:
    void showEvent(QShowEvent* event) override;

private:
    void cancel();

    QProgressBar* m_upper = nullptr;
    QProgressBar* m_lower = nullptr;
    QLabel* m_text = nullptr;
    QPushButton* m_cancel = nullptr;
    std::function<void()> m_abort;
};
