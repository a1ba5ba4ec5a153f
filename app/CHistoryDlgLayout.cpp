// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's geometry: the layout on resize, the column widths and the placement,
// restored at start and stored at close.
#include <QComboBox>
#include <QHeaderView>
#include <QMenuBar>
#include <QTableView>
#include <utility>

#include "AppSettings.h"
#include "CHistoryDlg.h"
#include "CHistoryListModel.h"
#include "CSatGraph.h"
#include "CUIInfoLabel.h"
#include "WindowFrame.h"

namespace {

constexpr int kMinimisedSize = 300;  // a stored size at most this came from a minimised window

std::u16string columnKey(int column) {
    return u"COL/" + std::u16string(1, u'0' + column);
}

}  // namespace

void CHistoryDlg::layoutControls() {
    if (m_list == nullptr || m_view == nullptr) {
        return;
    }
    const QRect view = m_view->geometry();
    const int top = view.y() + view.height() + 10;
    const int width = m_client->width() - 15;
    const int bottom = m_client->height() - 40;
    const QRect area(5, top, width, bottom - top);
    m_list->setGeometry(area);
    m_graph->setGeometry(area);
    m_status->setGeometry(5, bottom + 5, width, 28);
    m_list->update();
    m_graph->update();
    m_status->update();
}

void CHistoryDlg::restoreColumnWidths() {
    QHeaderView* header = m_list->horizontalHeader();
    for (int column = 0; column < CHistoryListModel::kColumnCount; ++column) {
        const int width = AppSettings::GetInt(columnKey(column), -1);
        if (width > 0) {
            header->resizeSection(column, width);
        }
    }
}

void CHistoryDlg::storeColumnWidths() {
    // Without the columns (the database could not be opened) every width is 0, which the
    // next start reads as "no stored width".
    const QHeaderView* header = m_model != nullptr ? m_list->horizontalHeader() : nullptr;
    for (int column = 0; column < CHistoryListModel::kColumnCount; ++column) {
        AppSettings::SetInt(columnKey(column), header != nullptr ? header->sectionSize(column) : 0);
    }
}

void CHistoryDlg::restorePlacement() {
    const int x = AppSettings::GetInt(u"POS/X", 10);
    const int y = AppSettings::GetInt(u"POS/Y", 10);
    const int width = AppSettings::GetInt(u"POS/W", 450);
    const int height = AppSettings::GetInt(u"POS/H", 350);
    const int maximised = AppSettings::GetInt(u"POS/Z", 0);
    if (width > kMinimisedSize && height > kMinimisedSize) {
        move(x, y);
        resize(std::max(width, kMinimumWidth), std::max(height, kMinimumHeight));
    }
    if (maximised != 0) {
        if (width > kMinimisedSize && height > kMinimisedSize) {
            m_normalAfterMaximised = geometry();
        }
        setWindowState(windowState() | Qt::WindowMaximized);
    }
}

// A window shown maximised from the start was never on the screen at its normal size, and a
// window manager then un-maximises it to the size it knows: the full screen. The first time it
// leaves the maximised state it is given the stored normal placement.
void CHistoryDlg::followWindowState(Qt::WindowStates old) {
    const Qt::WindowStates now = windowState();
    if (!m_normalAfterMaximised.isValid() || !(old & Qt::WindowMaximized) ||
        (now & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))) {
        return;
    }
    const QRect normal = std::exchange(m_normalAfterMaximised, QRect());
    move(normal.topLeft());
    resize(normal.size());
}

// Taken while the window is on the screen (minimised too: an X window keeps its place then):
// once it is hidden, a window manager may already have taken its frame away, and the position
// read then is no longer the frame's.
void CHistoryDlg::capturePlacement() {
    if (!isVisible()) {
        return;
    }
    m_placement.maximised = isMaximized();
    if (!m_placement.maximised) {
        m_placement.normal = QRect(WindowFrame::topLeft(this), size());
    }
    m_placement.taken = true;
}

void CHistoryDlg::storePlacement() {
    capturePlacement();
    // A window that was never shown has no placement of its own (the database could not be
    // opened): the stored one stays for the next start.
    if (!m_placement.taken) {
        return;
    }
    if (!m_placement.maximised && m_placement.normal.isValid()) {
        // Under Wayland the stored position (from an X11 session) stays as it was.
        if (WindowFrame::positionKnown()) {
            AppSettings::SetInt(u"POS/X", m_placement.normal.x());
            AppSettings::SetInt(u"POS/Y", m_placement.normal.y());
        }
        AppSettings::SetInt(u"POS/W", m_placement.normal.width());
        AppSettings::SetInt(u"POS/H", m_placement.normal.height());
    }
    AppSettings::SetInt(u"POS/Z", m_placement.maximised ? 1 : 0);
}

void CHistoryDlg::done(int result) {
    capturePlacement();
    CUIDialog::done(result);
}
