// The signals through a socket pair: the handler only writes the signal's
// number into it (the self-pipe technique: nothing else is safe in a
// handler); the event loop reads it there and emits received().
#include "ui/TerminationSignals.h"

#include <QSocketNotifier>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>

namespace tarnik {
namespace {

constexpr std::array kSignals{SIGTERM, SIGHUP, SIGINT};

// [0] is written by the handler, [1] read by the event loop.
int g_socketPair[2] = {-1, -1};

extern "C" void writeSignalNumber(int signalNumber)
{
    const int interruptedErrno = errno;  // of the code the signal interrupted
    const auto byte = static_cast<unsigned char>(signalNumber);
    // Nothing can be done about a failed write here; the signal is lost.
    [[maybe_unused]] const ssize_t written = ::write(g_socketPair[0], &byte, 1);
    errno = interruptedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    // A file-size limit (ulimit -f) then fails a write like a full disk,
    // which the IDE reports, instead of killing it.
    std::signal(SIGXFSZ, SIG_IGN);
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_socketPair) != 0) return;
    auto notifier = std::make_unique<QSocketNotifier>(g_socketPair[1], QSocketNotifier::Read);
    connect(notifier.get(), &QSocketNotifier::activated, this, [this] {
        unsigned char byte = 0;
        if (::read(g_socketPair[1], &byte, 1) == 1) emit received(byte);
    });
    m_listener = std::move(notifier);
    struct sigaction action = {};
    action.sa_handler = writeSignalNumber;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signalNumber : kSignals) sigaction(signalNumber, &action, nullptr);
}

// The default actions come back, so that a signal arriving after this still
// ends the process.
TerminationSignals::~TerminationSignals()
{
    for (int signalNumber : kSignals) std::signal(signalNumber, SIG_DFL);
    m_listener.reset();
    for (int& end : g_socketPair) {
        if (end >= 0) ::close(end);
        end = -1;
    }
}

}  // namespace tarnik
