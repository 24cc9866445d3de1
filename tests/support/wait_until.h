// SPDX-License-Identifier: Apache-2.0
// Runs the real event loop until done() or the time is up: no sleeps, which would pace a save or
// hold back the station. True when done.
#pragma once

#include <QEventLoop>
#include <QTimer>
#include <functional>

namespace qn470 {

inline bool waitUntil(const std::function<bool()>& done, int timeoutMs = 30000) {
    if (done()) {
        return true;
    }
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    poll.start(5);
    loop.exec();
    return done();
}

}  // namespace qn470
