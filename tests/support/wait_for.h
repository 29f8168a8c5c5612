#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

namespace kx::test {

// Waits for a condition that real timers bring about; the deadline is only
// there so that a broken timer fails the test instead of hanging it.
inline bool WaitFor(const std::function<bool()>& condition, int deadlineMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > deadlineMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

}  // namespace kx::test
