// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEventLoop>
#include <QMetaObject>
#include <optional>
#include <thread>
#include <type_traits>

// Runs a keyring call on a thread of its own while the calling (window) thread keeps painting
// and serving the worker; user input waits, so nothing is clicked twice meanwhile. A keyring
// may take long: it can ask the user to unlock it.
namespace BackgroundCall {

template <typename Function>
std::invoke_result_t<Function> run(Function&& function) {
    using Result = std::invoke_result_t<Function>;
    QEventLoop loop;
    std::optional<Result> result;
    std::thread thread([&] {
        result.emplace(function());
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    thread.join();
    return std::move(*result);
}

}  // namespace BackgroundCall
