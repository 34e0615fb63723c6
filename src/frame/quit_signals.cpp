#include "frame/quit_signals.h"

#include <QSocketNotifier>
#include <array>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::array kSignals{SIGTERM, SIGHUP, SIGINT};

// The write end, for the handler; -1 while no QuitSignals lives.
volatile std::sig_atomic_t writeEnd = -1;

struct sigaction previous[kSignals.size()];

extern "C" void onQuitSignal(int)
{
    const int fd = writeEnd;
    if (fd < 0)
        return;
    const char byte = 1;
    // A full pipe already holds a request; errno is the interrupted code's, so it is kept.
    const int saved = errno;
    [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
    errno = saved;
}

} // namespace

QuitSignals::QuitSignals(QObject* parent) : QObject(parent)
{
    if (writeEnd >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds_) != 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(fds_[1], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &QuitSignals::drain);
    writeEnd = fds_[0];
    struct sigaction action = {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        sigaction(kSignals[i], &action, &previous[i]);
}

QuitSignals::~QuitSignals()
{
    if (!notifier_)
        return;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        sigaction(kSignals[i], &previous[i], nullptr);
    writeEnd = -1;
    notifier_.reset();
    ::close(fds_[0]);
    ::close(fds_[1]);
}

void QuitSignals::drain()
{
    char bytes[16];
    bool asked = false;
    while (::read(fds_[1], bytes, sizeof bytes) > 0)
        asked = true;
    if (asked)
        emit quitRequested();
}
