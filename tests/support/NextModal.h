// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QTimer>

#include <functional>

// Answers the next modal window of type T: when it shows up, `act` runs with it (and should
// accept or reject it). Gives up after timeoutMs.
template <class T>
class NextModal {
public:
    explicit NextModal(std::function<void(T*)> act, int timeoutMs = 20000)
        : m_act(std::move(act)), m_left(timeoutMs / kStepMs) {
        m_timer.setInterval(kStepMs);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }
    bool seen() const { return m_seen; }

private:
    static constexpr int kStepMs = 20;
    void poll() {
        if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
            m_timer.stop();
            m_seen = true;
            m_act(window);
        } else if (--m_left <= 0) {
            m_timer.stop();
        }
    }
    std::function<void(T*)> m_act;
    QTimer m_timer;
    int m_left;
    bool m_seen = false;
};
