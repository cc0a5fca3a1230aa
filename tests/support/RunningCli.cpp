#include "support/RunningCli.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <stdexcept>

namespace tarnik::test {
namespace {

// No test waits this long unless the thing it waits for never comes.
constexpr int kPatienceMilliseconds = 60'000;

void closeIfOpen(int& descriptor)
{
    if (descriptor >= 0) ::close(descriptor);
    descriptor = -1;
}

// A terminal's two sides: the master we read, the raw slave the child writes.
void openTerminal(int& master, int& slave)
{
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) throw std::runtime_error("no pseudo-terminal");
    slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios mode{};
    if (slave < 0 || ::tcgetattr(slave, &mode) != 0) throw std::runtime_error("cannot open the terminal's slave");
    ::cfmakeraw(&mode);
    ::tcsetattr(slave, TCSANOW, &mode);
}

void openPipe(int& reading, int& writing)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) throw std::runtime_error("cannot make a pipe");
    reading = ends[0];
    writing = ends[1];
}

// Appends what `descriptor` has within the patience; false at its end (a
// terminal whose slave has closed reports an error instead) or when nothing came.
bool readMore(int descriptor, std::string& into)
{
    pollfd ready{descriptor, POLLIN, 0};
    if (::poll(&ready, 1, kPatienceMilliseconds) <= 0) return false;
    char buffer[4096];
    const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
    if (count <= 0) return false;
    into.append(buffer, static_cast<std::size_t>(count));
    return true;
}

bool readUntil(int descriptor, std::string& text, std::string_view wanted)
{
    while (text.find(wanted) == std::string::npos) {
        if (!readMore(descriptor, text)) return false;
    }
    return true;
}

}  // namespace

RunningCli::RunningCli(const std::vector<std::string>& arguments, Output output)
{
    int childIn = -1;
    int childOut = -1;
    int childErr = -1;
    openPipe(childIn, m_in);
    if (output == Output::Terminal) {
        openTerminal(m_out, childOut);
    } else {
        openPipe(m_out, childOut);
    }
    openPipe(m_err, childErr);
    m_pid = startCli(arguments, childIn, childOut, childErr);
    for (int* descriptor : {&childIn, &childOut, &childErr}) closeIfOpen(*descriptor);
}

RunningCli::~RunningCli()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        waitForCli(m_pid);
    }
    for (int* descriptor : {&m_in, &m_out, &m_err}) closeIfOpen(*descriptor);
}

bool RunningCli::waitForOutput(std::string_view text) { return readUntil(m_out, m_outText, text); }

bool RunningCli::waitForError(std::string_view text) { return readUntil(m_err, m_errText, text); }

bool RunningCli::waitUntilOutputIsFull()
{
    const int capacity = ::fcntl(m_out, F_GETPIPE_SZ);
    const timespec pause{0, 1'000'000};
    for (int waited = 0; waited < kPatienceMilliseconds; ++waited) {
        int held = 0;
        if (::ioctl(m_out, FIONREAD, &held) != 0) return false;
        if (held >= capacity) return true;
        ::nanosleep(&pause, nullptr);
    }
    return false;
}

void RunningCli::sendSignal(int number) { ::kill(m_pid, number); }

CliResult RunningCli::finish()
{
    closeIfOpen(m_in);
    while (readMore(m_out, m_outText)) {
    }
    while (readMore(m_err, m_errText)) {
    }
    CliResult result = waitForCli(m_pid);
    m_pid = -1;
    result.out = m_outText;
    result.err = m_errText;
    return result;
}

}  // namespace tarnik::test
