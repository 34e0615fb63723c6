#pragma once
// Waiting for work the event loop does (an idle step, a thread's answer posted back): each turn
// sleeps until the next event arrives, so the wait lasts as long as the work and no longer, on
// an idle machine and a loaded one alike. The limit only turns a hang into a failure.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <functional>

namespace quiltest {

// True once done() holds; false if the limit passed first.
inline bool runEventsUntil(const std::function<bool()>& done,
                           std::chrono::milliseconds limit = std::chrono::minutes(2))
{
    const QDeadlineTimer deadline(limit);
    // Wakes a turn that would otherwise wait for an event that never comes.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(limit);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace quiltest
