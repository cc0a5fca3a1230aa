#include "ui/TerminationSignals.h"

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
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_socketPair) != 0) return;
    m_notifier = std::make_unique<QSocketNotifier>(g_socketPair[1], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
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
    m_notifier.reset();
    for (int& end : g_socketPair) {
        if (end >= 0) ::close(end);
        end = -1;
    }
}

void TerminationSignals::readSignal()
{
    unsigned char byte = 0;
    if (::read(g_socketPair[1], &byte, 1) == 1) emit received(byte);
}

}  // namespace tarnik
