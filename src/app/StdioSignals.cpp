#include "app/StdioSignals.h"

#include <csignal>
#include <cstdlib>
#include <initializer_list>

namespace tarnik::cli {
namespace {

volatile std::sig_atomic_t g_received = 0;

void markReceived(int signal)
{
    g_received = signal;
#ifdef _WIN32
    std::signal(signal, SIG_DFL);  // what SA_RESETHAND does elsewhere
#endif
}

}  // namespace

void InterruptSignals::install()
{
    for (int signal : {SIGINT, SIGTERM}) {
#ifdef _WIN32
        std::signal(signal, markReceived);
#else
        // Without SA_RESTART: a read waiting for an answer returns, so the
        // run can stop there too.
        struct sigaction action {};
        action.sa_handler = markReceived;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
#endif
    }
}

int InterruptSignals::received() { return g_received; }

const char* InterruptSignals::describe(int signal)
{
    return signal == SIGINT ? "中断信号 SIGINT（Ctrl+C）" : "终止信号 SIGTERM";
}

void InterruptSignals::endProcess(int signal)
{
#ifdef _WIN32
    std::_Exit(128 + signal);  // no signal ends a process there; the status tells the same
#else
    std::signal(signal, SIG_DFL);
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, signal);
    sigprocmask(SIG_UNBLOCK, &blocked, nullptr);
    std::raise(signal);
    std::_Exit(128 + signal);  // only if the signal did not end the process
#endif
}

}  // namespace tarnik::cli
