#pragma once
// The system asking the program to end (SIGTERM at a shutdown or a `kill`, SIGHUP when its
// terminal goes, SIGINT for Ctrl+C in it) arrives as a Qt signal on the window's thread, so the
// program ends as File > Exit does and writes what was typed first. A signal handler may do
// almost nothing itself: it writes one byte into a socket pair the event loop watches.
#include <QObject>
#include <memory>

class QSocketNotifier;

class QuitSignals final : public QObject {
    Q_OBJECT

public:
    // Takes over the three signals for as long as it lives; the handlers in force before come
    // back when it goes. One at a time in a process.
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

signals:
    void quitRequested();

private:
    void drain();

    int fds_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
};
