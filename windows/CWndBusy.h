// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QWidget;

// Work that may take long (reading a large statement file, comparing it with the history) runs
// off the window's thread while a modal window with the text and a moving bar shows that the
// program works; the windows stay painted and input waits. Small work runs at once, here, with
// no window: it would only flash.
//   CWndBusy::Run(this, text, bytes.size() > kLarge, [&] { file = read(bytes); });
class CWndBusy {
public:
    // The work must not touch widgets. What it throws is thrown again here.
    static void Run(QWidget* parent, const QString& text, bool large,
                    const std::function<void()>& work);
};
