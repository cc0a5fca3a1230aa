#include "support/CliRunner.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

extern char** environ;

namespace tarnik::test {
namespace {

void writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written <= 0) throw std::runtime_error("cannot write a temporary file");
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

// An open temporary file with a name ending in `suffix`; the name goes when
// `keepName` is false, the file with its last descriptor.
int openTempFile(std::string_view suffix, bool keepName, std::string* name = nullptr)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tarnik-XXXXXX").string();
    pattern += suffix;
    int fd = ::mkstemps(pattern.data(), static_cast<int>(suffix.size()));
    if (fd < 0) throw std::runtime_error("cannot create a temporary file");
    if (!keepName) ::unlink(pattern.c_str());
    if (name != nullptr) *name = pattern;
    return fd;
}

std::string readFromStart(int fd)
{
    std::string bytes;
    ::lseek(fd, 0, SEEK_SET);
    char buffer[4096];
    while (true) {
        ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count <= 0) return bytes;
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

struct StandardStreams {
    int in;
    int out;
    int err;
};

pid_t spawnWith(const std::string& program, const std::vector<std::string>& arguments,
                const posix_spawn_file_actions_t& actions)
{
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
        throw std::runtime_error("cannot start " + program);
    }
    return pid;
}

pid_t spawn(const std::string& program, const std::vector<std::string>& arguments, StandardStreams streams)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, streams.in, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, streams.out, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, streams.err, STDERR_FILENO);
    const pid_t pid = spawnWith(program, arguments, actions);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

const std::string& cliPath()
{
#ifndef TARNIK_CLI_PATH
    throw std::runtime_error("tarnik-cli is not part of this build");
#else
    static const std::string path = TARNIK_CLI_PATH;
    return path;
#endif
}

pid_t spawnCli(const std::vector<std::string>& arguments, StandardStreams streams)
{
    return spawn(cliPath(), arguments, streams);
}

// The exit status and memory use of a child; -1 when a signal ended it.
CliResult waitFor(pid_t pid)
{
    CliResult result;
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) == pid) {
        if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
        if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
        result.peakResidentKilobytes = usage.ru_maxrss;
    }
    return result;
}

// tarnik-cli with no input and its standard output on `out`.
CliResult runCliWritingToDescriptor(const std::vector<std::string>& arguments, int out)
{
    int in = ::open("/dev/null", O_RDONLY);
    int err = openTempFile("", false);
    if (in < 0) throw std::runtime_error("cannot open /dev/null");
    CliResult result = waitFor(spawnCli(arguments, {in, out, err}));
    result.err = readFromStart(err);
    ::close(in);
    ::close(err);
    return result;
}

}  // namespace

std::string CliResult::lastErrorLine() const
{
    std::string_view text(err);
    if (text.ends_with('\n')) text.remove_suffix(1);
    std::size_t start = text.rfind('\n');
    return std::string(start == std::string_view::npos ? text : text.substr(start + 1));
}

CliResult runCli(const std::vector<std::string>& arguments, std::string_view input)
{
    return runProgram(cliPath(), arguments, input);
}

CliResult runCliOnSource(const std::string& command, std::string_view source, std::string_view input,
                         std::vector<std::string> options)
{
    TempFile file(source);
    options.insert(options.begin(), command);
    options.push_back(file.path());
    return runCli(options, input);
}

CliResult runProgram(const std::string& program, const std::vector<std::string>& arguments, std::string_view input)
{
    int in = openTempFile("", false);
    writeAll(in, input);
    ::lseek(in, 0, SEEK_SET);
    int out = openTempFile("", false);
    int err = openTempFile("", false);
    CliResult result = waitFor(spawn(program, arguments, {in, out, err}));
    result.out = readFromStart(out);
    result.err = readFromStart(err);
    ::close(in);
    ::close(out);
    ::close(err);
    return result;
}

CliResult runCliWritingTo(const std::vector<std::string>& arguments, const std::string& outputPath)
{
    int out = ::open(outputPath.c_str(), O_WRONLY);
    if (out < 0) throw std::runtime_error("cannot open " + outputPath);
    CliResult result = runCliWritingToDescriptor(arguments, out);
    ::close(out);
    return result;
}

CliResult runCliIntoClosingPipe(const std::vector<std::string>& arguments, bool brokenPipeIgnored)
{
    int in = ::open("/dev/null", O_RDONLY);
    int pipeEnds[2];
    if (in < 0 || ::pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("cannot make a pipe");
    int err = openTempFile("", false);
    // The child inherits an ignored signal; a default one it gets back.
    struct sigaction previous{};
    struct sigaction wanted{};
    wanted.sa_handler = brokenPipeIgnored ? SIG_IGN : SIG_DFL;
    ::sigaction(SIGPIPE, &wanted, &previous);
    const pid_t pid = spawnCli(arguments, {in, pipeEnds[1], err});
    ::sigaction(SIGPIPE, &previous, nullptr);
    ::close(pipeEnds[1]);

    CliResult result;
    char c = 0;
    while (::read(pipeEnds[0], &c, 1) == 1 && c != '\n') result.out += c;
    ::close(pipeEnds[0]);
    CliResult waited = waitFor(pid);
    waited.out = result.out;
    waited.err = readFromStart(err);
    ::close(in);
    ::close(err);
    return waited;
}

CliResult runCliIntoClosedPipe(const std::vector<std::string>& arguments)
{
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("cannot make a pipe");
    ::close(pipeEnds[0]);
    CliResult result = runCliWritingToDescriptor(arguments, pipeEnds[1]);
    ::close(pipeEnds[1]);
    return result;
}

CliResult runCliWithoutOutput(const std::vector<std::string>& arguments)
{
    int in = ::open("/dev/null", O_RDONLY);
    int err = openTempFile("", false);
    if (in < 0) throw std::runtime_error("cannot open /dev/null");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in, STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    const pid_t pid = spawnWith(cliPath(), arguments, actions);
    posix_spawn_file_actions_destroy(&actions);
    CliResult result = waitFor(pid);
    result.err = readFromStart(err);
    ::close(in);
    ::close(err);
    return result;
}

int startCli(const std::vector<std::string>& arguments, int in, int out, int err)
{
    return spawnCli(arguments, {in, out, err});
}

CliResult waitForCli(int pid) { return waitFor(pid); }

std::string readFileBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::filesystem::path> examplePrograms()
{
    std::vector<std::filesystem::path> programs;
    for (const auto& entry : std::filesystem::directory_iterator(TARNIK_EXAMPLES_DIR)) {
        if (entry.path().extension() == ".bas") programs.push_back(entry.path());
    }
    std::sort(programs.begin(), programs.end());
    return programs;
}

TempFile::TempFile(std::string_view bytes, std::string_view suffix)
{
    int fd = openTempFile(suffix, true, &m_path);
    writeAll(fd, bytes);
    ::close(fd);
}

TempFile::~TempFile()
{
    std::remove(m_path.c_str());
}

}  // namespace tarnik::test
